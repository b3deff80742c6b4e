#pragma once
// Which installed printers the program offers: the spooler's printers whose
// driver is the supported model and has an information library registered.
// A printer whose driver supports the special-tape mode is listed twice, the
// second time under its name with the special-tape suffix. Also the
// special-tape suffix functions and the search for a printer by the model
// identifier its driver reports. Free functions without state.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/max_path.h"

// One listed printer.
struct PrinterEntry {
    std::string name;         // spooler name, with the special-tape suffix for the second entry
    std::string port;         // the printer's port
    std::string infoLibrary;  // full path of the driver's information library; empty when none
};

// Request bits of EnumPrinterEntries. Only the low 16 bits of a request word
// decide whether anything is listed.
inline constexpr std::uint32_t ENUM_OTHER_PRINTERS = 1;   // also printers of no maker known here
inline constexpr std::uint32_t ENUM_MODEL_PRINTERS = 2;   // the printers of the supported model
inline constexpr std::uint32_t ENUM_DEFAULT_PRINTER = 4;  // the default printer only
inline constexpr std::uint32_t ENUM_REQUEST_MASK = 0xFFFF;

// The supported model's driver, compared byte for byte.
inline constexpr std::string_view kSupportedDriverName = "Corvane VR-380MX";

// Name prefixes of the maker's other series and products and of two other
// makers' printers, each compared over its whole length, case-sensitive.
inline constexpr std::array<std::string_view, 6> kLabelPrinterPrefixes{
    "Corvane RX-", "Corvane T-", "Corvane NW-", "R-TAL", "HALDEMOORE STYLUS Labe", "Corvane GLYPH",
};

// Counting call: the number of entries a filling call with the same request
// writes.
int EnumPrinterEntries(std::uint32_t request);

// Filling call: writes the entries in spooler order, a special-tape entry
// right after the plain entry of the same printer, and returns how many it
// wrote. It never writes more than entries holds, even when a printer was
// installed after the counting call.
int EnumPrinterEntries(std::uint32_t request, std::span<PrinterEntry> entries);

// Probes one printer: 0 when it is not the maker's or has no registered
// information library, 1 when the library's path was written to infoLibrary
// (260 characters), 2 when besides the driver supports the special-tape mode.
// Printers whose name starts like another maker's are not even opened.
int QueryPrinterInfoLibrary(const std::string& printerName, std::span<char> infoLibrary);

bool HasLabelPrinterPrefix(std::string_view name);

// The special-tape suffix, appended to a printer name without a blank.
std::string GetSpecialTapeSuffix();

// Append the suffix unless the name contains it already. The buffer form
// leaves a name unchanged that would not fit with the suffix, and returns
// whether the name carries the suffix afterwards.
void AppendSpecialTapeSuffix(std::string& name);
bool AppendSpecialTapeSuffix(std::span<char> name);

// Cuts the text at the first place where the suffix occurs.
void StripSpecialTapeSuffix(std::span<char> text);

// True when the suffix occurs anywhere in the text.
bool HasSpecialTapeSuffix(std::string_view text);

// Finds the printer of the supported model whose driver reports modelId,
// and writes its name into name (260 characters): the first printer in list
// order to reach the best match (low byte, low 16 bits, all 32 bits, the
// preferred name) unless a special-tape match or the preferred name ends the
// search first. preferredName may be null. False when nothing matched.
bool FindPrinterByModelId(std::uint32_t modelId, std::span<char> name, const char* preferredName);
