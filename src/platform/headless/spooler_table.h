#pragma once
// The headless stand-in for the print spooler: the installed printers in the
// order they were installed, which is the order the spooler lists them in.
// Printer names are found without regard to letter case, as the spooler does.

#include <string>
#include <vector>

#include "platform/spooler.h"

namespace platform::headless {

// One installed printer. Its driver's answers (document properties, device
// capabilities, information context) are to join the record here.
struct SpoolerPrinter {
    PrinterInfo2 info;
};

// Convenience for tests: a local printer on a port, with its driver.
SpoolerPrinter MakeSpoolerPrinter(std::string name, std::string driverName, std::uint32_t attributes = 0,
                                  std::string port = "USB001");

void InstallPrinter(SpoolerPrinter printer);
bool UninstallPrinter(const std::string& name);

// Names given to Printer::Open, in order, whether they opened or not.
std::vector<std::string> PrinterOpenRequests();

// How many printers are open right now.
int OpenPrinterCount();

// Uninstalls every printer and forgets the open requests.
void ResetSpooler();

}  // namespace platform::headless
