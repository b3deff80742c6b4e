#pragma once
// The headless stand-in for printer drivers: per printer name, what the
// driver answers to document properties, device capabilities and escapes.
// Tests script a driver, and read back what the program handed to it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform::headless {

struct CapabilityAnswer {
    std::int32_t result = -1;
    // Bytes written to the caller's buffer, when it passes one: all of them,
    // whatever the buffer's size, as a real driver writes its answer.
    std::vector<std::uint8_t> output;
};

struct EscapeAnswer {
    int result = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct PrinterDriverScript {
    // The device mode the driver gives out; its size is the answer to the
    // size question.
    std::vector<std::uint8_t> devMode;
    std::map<std::uint16_t, CapabilityAnswer> capabilities;
    // Per paper code (dmPaperSize of the device mode handed to CreateIC):
    // the answers of ESCAPE_PHYSICAL_PAGE_SIZE and ESCAPE_PRINTING_OFFSET.
    std::map<std::int16_t, EscapeAnswer> physicalSize;
    std::map<std::int16_t, EscapeAnswer> printingOffset;
    bool escapesSupported = true;
    bool informationContextFails = false;
    // When true, a device mode handed in is taken over whole, the way a
    // driver merges it into its settings.
    bool acceptInput = true;

    // What the program did, for tests to read.
    int documentPropertiesCalls = 0;
    std::vector<std::vector<std::uint8_t>> devModesHandedIn;
    int informationContexts = 0;
    int openInformationContexts = 0;
};

void SetPrinterDriver(const std::string& printer, PrinterDriverScript script);
PrinterDriverScript* FindPrinterDriver(const std::string& printer);
void ResetPrinterDrivers();

}  // namespace platform::headless
