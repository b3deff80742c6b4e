#include "catalogue/printer_enum.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "catalogue/driver_info.h"
#include "catalogue/info_library.h"
#include "platform/code_page.h"
#include "platform/library.h"
#include "platform/spooler.h"

namespace {

// Match levels of FindPrinterByModelId, weakest first.
enum MatchLevel : int {
    MATCH_NONE = 0,
    MATCH_LOW_BYTE = 1,
    MATCH_LOW_WORD = 2,
    MATCH_ALL_BITS = 3,
    MATCH_PREFERRED = 4,
};

constexpr std::uint32_t kLowByte = 0xFF;
constexpr std::uint32_t kLowWord = 0xFFFF;

// The text held in a buffer: up to its terminator, or the whole buffer when
// it has none.
std::string_view BufferText(std::span<const char> buffer)
{
    const auto* end = static_cast<const char*>(std::memchr(buffer.data(), '\0', buffer.size()));
    return std::string_view(buffer.data(), end == nullptr ? buffer.size() : end - buffer.data());
}

// Writes entries at the next free position while there is room.
class EntryWriter {
public:
    explicit EntryWriter(std::span<PrinterEntry> entries) : m_entries(entries) {}

    void Write(PrinterEntry entry)
    {
        if (m_written < m_entries.size()) {
            m_entries[m_written++] = std::move(entry);
        }
    }

    int Written() const { return static_cast<int>(m_written); }

private:
    std::span<PrinterEntry> m_entries;
    std::size_t m_written = 0;
};

// The listing; writer is null for the counting call. Returns the count.
int ListPrinters(std::uint32_t request, EntryWriter* writer)
{
    // 1.
    if ((request & ENUM_REQUEST_MASK) == 0) {
        return 0;
    }
    // 2.
    const auto printers = platform::EnumLocalPrinters();
    if (!printers || printers->empty()) {
        return 0;
    }
    // 3.
    const bool wantModel = (request & ENUM_MODEL_PRINTERS) != 0;
    const bool wantOther = (request & ENUM_OTHER_PRINTERS) != 0;
    int modelCount = 0;
    int otherCount = 0;
    for (const auto& printer : *printers) {
        if ((printer.attributes & platform::PRINTER_ATTR_HIDDEN) != 0) {
            continue;
        }
        if ((request & ENUM_DEFAULT_PRINTER) != 0) {
            if ((printer.attributes & platform::PRINTER_ATTR_DEFAULT) != 0) {
                if (writer != nullptr) {
                    writer->Write({printer.printerName, printer.portName, {}});
                }
                return 1;
            }
            continue;
        }
        std::array<char, platform::MAX_PATH_CHARS> path{};
        const int kind = QueryPrinterInfoLibrary(printer.printerName, path);
        if (kind != INFO_LIBRARY_NONE && printer.driverName == kSupportedDriverName) {
            // Model printers are written only when asked for, so a request
            // for other printers alone writes no more entries than it counts.
            modelCount += kind == INFO_LIBRARY_SPECIAL_TAPE ? 2 : 1;
            if (writer != nullptr && wantModel) {
                writer->Write({printer.printerName, printer.portName, path.data()});
                if (kind == INFO_LIBRARY_SPECIAL_TAPE) {
                    auto name = printer.printerName;
                    AppendSpecialTapeSuffix(name);
                    writer->Write({std::move(name), printer.portName, path.data()});
                }
            }
        }
        if (kind == INFO_LIBRARY_NONE && wantOther && !HasLabelPrinterPrefix(printer.printerName)) {
            ++otherCount;
            if (writer != nullptr) {
                writer->Write({printer.printerName, printer.portName, {}});
            }
        }
    }
    // 4.
    return (wantModel ? modelCount : 0) + (wantOther ? otherCount : 0);
}

}  // namespace

int EnumPrinterEntries(std::uint32_t request)
{
    return ListPrinters(request, nullptr);
}

int EnumPrinterEntries(std::uint32_t request, std::span<PrinterEntry> entries)
{
    EntryWriter writer(entries);
    ListPrinters(request, &writer);
    return writer.Written();
}

int QueryPrinterInfoLibrary(const std::string& printerName, std::span<char> infoLibrary)
{
    // 1. Other makers' printers are never opened.
    if (HasForeignPrinterPrefix(printerName)) {
        return INFO_LIBRARY_NONE;
    }
    // 2.
    const auto printer = platform::Printer::Open(printerName);
    if (!printer) {
        return INFO_LIBRARY_NONE;
    }
    // 3. and 4.
    const auto info = printer.GetInfo2();
    return info ? LookupDriverInfoLibrary(info->driverName, infoLibrary) : INFO_LIBRARY_NONE;
}

bool HasLabelPrinterPrefix(std::string_view name)
{
    return std::ranges::any_of(kLabelPrinterPrefixes, [&](std::string_view row) { return name.starts_with(row); });
}

// The suffix is string resource 10000 enclosed in "(" and ")", or
// "(Special Tape)" when the string table has no text under 10000. The
// program's string table has none.
std::string GetSpecialTapeSuffix()
{
    return "(Special Tape)";
}

void AppendSpecialTapeSuffix(std::string& name)
{
    const auto suffix = GetSpecialTapeSuffix();
    if (name.find(suffix) == std::string::npos) {
        name += suffix;
    }
}

bool AppendSpecialTapeSuffix(std::span<char> name)
{
    const auto suffix = GetSpecialTapeSuffix();
    const auto text = BufferText(name);
    if (text.find(suffix) != std::string_view::npos) {
        return true;
    }
    if (text.size() + suffix.size() >= name.size()) {
        return false;
    }
    std::memcpy(name.data() + text.size(), suffix.c_str(), suffix.size() + 1);
    return true;
}

void StripSpecialTapeSuffix(std::span<char> text)
{
    const auto position = BufferText(text).find(GetSpecialTapeSuffix());
    if (position != std::string_view::npos) {
        text[position] = '\0';
    }
}

bool HasSpecialTapeSuffix(std::string_view text)
{
    return text.find(GetSpecialTapeSuffix()) != std::string_view::npos;
}

bool FindPrinterByModelId(std::uint32_t modelId, std::span<char> name, const char* preferredName)
{
    // 1.
    if ((modelId & kLowWord) == 0) {
        return false;
    }
    // 2.
    const int count = EnumPrinterEntries(ENUM_MODEL_PRINTERS);
    if (count <= 0) {
        return false;
    }
    std::vector<PrinterEntry> entries(static_cast<std::size_t>(count));
    entries.resize(static_cast<std::size_t>(EnumPrinterEntries(ENUM_MODEL_PRINTERS, entries)));

    // 3.
    int level = MATCH_NONE;
    auto reach = [&](int newLevel, const std::string& entryName) {
        if (level < newLevel) {
            platform::CopyText(name, entryName);
            level = newLevel;
        }
    };
    for (const auto& entry : entries) {
        const auto library = LoadInfoLibrary(entry.infoLibrary);
        const auto query = library.Resolve<MyDeviceCapabilitiesProc>(MY_DEVICE_CAPABILITIES_EXPORT);
        if (query == nullptr) {
            continue;
        }
        const std::int32_t answer = query(entry.name.c_str(), nullptr, MDC_MODELID, nullptr, nullptr);
        if (answer == MDC_NO_ANSWER) {
            continue;
        }
        const auto reported = static_cast<std::uint32_t>(answer);
        if ((reported & kLowByte) != (modelId & kLowByte)) {
            continue;
        }
        reach(MATCH_LOW_BYTE, entry.name);
        if ((reported & kLowWord) != (modelId & kLowWord)) {
            continue;
        }
        reach(MATCH_LOW_WORD, entry.name);
        if ((modelId & MODEL_ID_SPECIAL_TAPE) != 0) {
            std::int32_t flags = query(entry.name.c_str(), "", MDC_FLAGS, nullptr, nullptr);
            if (flags == MDC_NO_ANSWER) {
                flags = 0;
            }
            if ((static_cast<std::uint32_t>(flags) & MDC_FLAG_SPECIAL_TAPE) != 0) {
                platform::CopyText(name, entry.name);
                AppendSpecialTapeSuffix(name);
                break;
            }
        }
        if (reported != modelId) {
            continue;
        }
        reach(MATCH_ALL_BITS, entry.name);
        if (preferredName != nullptr && entry.name == preferredName) {
            reach(MATCH_PREFERRED, entry.name);
            break;
        }
    }
    // 4.
    return level > MATCH_NONE;
}
