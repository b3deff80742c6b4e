#pragma once
// The installed-printer list: one printer description for each installed
// printer of the supported model that the program has looked at so far, and
// the current printer with its model identifier. Descriptions are added when
// a printer is first asked for or when the list is refreshed, and stay until
// the program ends.

#include <cstdint>
#include <list>
#include <memory>
#include <string>

class PrinterDescription;

class CPrinterList {
public:
    CPrinterList() = default;
    virtual ~CPrinterList();
    CPrinterList(const CPrinterList&) = delete;
    CPrinterList& operator=(const CPrinterList&) = delete;

    // The descriptions, in the order they were added; the list owns them.
    std::list<std::unique_ptr<PrinterDescription>> m_printers;
    std::string m_strCurrent;
    std::uint32_t m_nCurrentModelId = 0;

    // Makes the printer with that display name current or, failing that, the
    // first printer of the list after a refresh. False only when there is
    // none; the current printer then stays as it was.
    bool Select(const char* name);
    bool GetCurrentName(std::string& name) const;

    // Adds a description for every installed printer of the model not listed
    // yet; true when at least one enumerated printer has one afterwards.
    bool Refresh();

    PrinterDescription* FindOrAdd(const std::string& name);
    PrinterDescription* Find(const std::string& name) const;
    void SetCurrent(const PrinterDescription& description);
};

// The one list of the process.
CPrinterList& GetPrinterList();

// Empties the list of the process, for tests.
void ResetPrinterList();

// The description's display name; empty when it holds no device data.
std::string GetDescriptionName(const PrinterDescription& description);
