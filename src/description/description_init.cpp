// Building a printer description from a printer name: the spooler's record,
// the device mode and its special-tape mode, then the driver's own answers or
// the platform's standard queries, and finally the limits and the print area.

#include <algorithm>
#include <cstring>

#include "catalogue/driver_info.h"
#include "catalogue/info_library.h"
#include "catalogue/printer_enum.h"
#include "description/driver_flags.h"
#include "description/printer_description.h"
#include "description/private_layout.h"
#include "platform/code_page.h"
#include "platform/devmode_layout.h"
#include "platform/printer_driver.h"
#include "platform/printing_constants.h"
#include "platform/spooler.h"

namespace {

constexpr std::int16_t kCopiesLimit = 5000;
// A device mode is its public part and at most a 16-bit private block; a
// driver that asks for more is not believed.
constexpr std::int32_t kLargestDevMode = static_cast<std::int32_t>(devmode_layout::PUBLIC_SIZE) + 0xFFFF;

// The rest of the buffer stays clear, as the record's other names are.
void CopyName(std::string_view text, NameBuffer& buffer)
{
    buffer.fill('\0');
    platform::CopyText(buffer, text);
}

}  // namespace

bool PrinterDevice::ReadPrinterInfo()
{
    const std::string printerName(m_szPrinter.data());
    {
        const auto printer = platform::Printer::Open(printerName);
        if (!printer) {
            return false;
        }
        const auto info = printer.GetInfo2();
        if (!info) {
            return false;
        }
        CopyName(info->driverName, m_szDriver);
        CopyName(info->portName, m_szPort);
        if (!info->serverName.empty()) {
            CopyName(info->serverName, m_szServer);
        }
        m_nDevModeSize = platform::DocumentProperties(printerName, {}, {}, 0);
    }
    if (m_nDevModeSize <= 0 || m_nDevModeSize > kLargestDevMode) {
        return false;
    }
    m_pDevMode = platform::GlobalMemory::AllocateZeroed(static_cast<std::size_t>(m_nDevModeSize));
    if (!m_pDevMode) {
        return false;
    }
    ReadDefaultDevMode();
    return true;
}

bool PrinterDevice::LoadDevice(std::string_view printerName)
{
    // The name may be the record's own printer name.
    CopyName(std::string(printerName), m_szPrinter);
    if (!ReadPrinterInfo()) {
        return false;
    }
    m_dwDeviceFlags |= DEVICE_FLAG_DEVMODE_OWNED;
    return QueryStandardCapabilities();
}

void PrinterDevice::GetPrinterName(NameBuffer& buffer) const
{
    buffer = m_szDisplayName;
    buffer.back() = '\0';
    StripSpecialTapeSuffix(buffer);
}

bool PrinterDescription::InitFromName(const char* name, std::uint32_t modelId)
{
    using namespace driver_flags;
    namespace tape = private_layout;
    if (name == nullptr) {
        return false;
    }

    // The display name, and the tape mode the printer is wanted in.
    std::uint16_t wantedMode = 0;
    auto modeFromName = [&] {
        CopyName(name, m_szDisplayName);
        wantedMode = HasSpecialTapeSuffix(m_szDisplayName.data()) ? tape::TAPE_MODE_SPECIAL : 0;
    };
    if (modelId == 0) {
        if (*name == '\0') {
            return false;
        }
        modeFromName();
    } else if (FindPrinterByModelId(modelId, m_szDisplayName, name)) {
        wantedMode = (modelId & MODEL_ID_SPECIAL_TAPE) ? tape::TAPE_MODE_SPECIAL : 0;
    } else {
        modeFromName();
    }

    NameBuffer printer;
    GetPrinterName(printer);
    m_szPrinter = printer;
    if (!LoadDevice(m_szPrinter.data())) {
        return false;
    }

    // Bring the driver's special-tape mode in line with the name chosen. The
    // lookup goes by the printer's name, so a printer the user renamed away
    // from its driver's key is left as the driver set it.
    if (LookupDriverInfoLibrary(m_szPrinter.data(), m_szInfoDll) == INFO_LIBRARY_SPECIAL_TAPE) {
        auto block = DevMode().PrivateBlock();
        // A private block too short to carry the mode word has no mode to set.
        const auto mode = byte_fields::TryGet<std::uint16_t>(block, tape::MODE_WORD);
        if (mode && *mode != wantedMode) {
            byte_fields::Put<std::uint16_t>(block, tape::MODE_WORD, wantedMode);
            if (wantedMode == tape::TAPE_MODE_SPECIAL && !HasSpecialTapeSuffix(m_szDisplayName.data())) {
                AppendSpecialTapeSuffix(m_szDisplayName);
            }
            block[tape::STATE_FLAGS] |= tape::STATE_REWRITING;
            ApplyDevMode(m_pDevMode.bytes());
            m_aResolutions.clear();
            QueryStandardCapabilities();
            // The driver wrote its own device mode back; find the block anew.
            block = DevMode().PrivateBlock();
            if (block.size() > tape::STATE_FLAGS) {
                block[tape::STATE_FLAGS] &= static_cast<std::uint8_t>(~tape::STATE_REWRITING);
            }
        }
    }

    m_rcMaxMargins = {};
    m_ptOffset = {};
    m_ptMarginAdd = {};
    m_dwOptionMask = 0;
    m_dwOptions = 0;
    m_dwDriverFlags = 0;
    m_wDriverValue = 0;
    m_wMediaClass = 0;
    m_wTableFlags = 0;
    m_aUserMedia.clear();
    m_aUserMedia.shrink_to_fit();

    if (QueryDriverCapabilities()) {
        m_dwDescFlags |= DESC_FLAG_TABLES_OWNED;
        if (m_aMedia.empty()) {
            LoadPaperList(true);
        }
        LoadUserMedia();
        LoadSelectedOptions();
    } else {
        BuildFromStandardQueries();
    }

    m_nExtentResX = m_nResX;
    m_nExtentResY = m_nResY;
    const auto copies = static_cast<std::uint32_t>(m_nMaxCopies);
    m_nCopiesLimit =
        copies >= static_cast<std::uint32_t>(kCopiesLimit) ? kCopiesLimit : static_cast<std::int16_t>(m_nMaxCopies);
    if (copies > 1 && (m_dwDmFields & printing::FIELD_COPIES)) {
        m_dwFeatures |= FEATURE_COPIES;
    }
    if (m_nOrientationAngle != 0) {
        m_wTableFlags |= TABLE_ORIENTATION;
    }
    ComputeExtentsInDots();
    UpdatePrintArea();
    return true;
}
