#pragma once
// The printer description: the program's picture of one installed printer.
// PrinterDevice holds what the spooler, the device mode and the platform's
// standard capability queries say; PrinterDescription adds what the driver's
// information library says (media tables, options, model identifier) and the
// print area of the current medium.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "description/feed_margin_entry.h"
#include "description/media_entry.h"
#include "description/user_media_entry.h"
#include "platform/global_memory.h"
#include "platform/max_path.h"

using NameBuffer = std::array<char, platform::MAX_PATH_CHARS>;

struct Resolution {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Resolution&) const = default;
};

struct Point32 {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point32&) const = default;
};

struct Rect32 {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const Rect32&) const = default;
};

// Flag bits of the record.
inline constexpr std::uint32_t DEVICE_FLAG_DEVMODE_OWNED = 0x1;  // m_dwDeviceFlags
inline constexpr std::uint32_t DESC_FLAG_TABLES_OWNED = 0x1;     // m_dwDescFlags

// The device mode's public fields and its private block, reached by offset
// and checked against the bytes that are really there: the private block is
// what lies between dmSize and dmSize + dmDriverExtra, cut at the end of the
// memory the driver gave.
class DevModeView {
public:
    explicit DevModeView(std::span<std::uint8_t> bytes) : m_bytes(bytes) {}

    bool empty() const { return m_bytes.empty(); }
    std::uint32_t Fields() const;
    void SetFields(std::uint32_t fields);
    std::int16_t Short(std::size_t offset) const;           // 0 when absent
    void SetShort(std::size_t offset, std::int16_t value);  // ignored when absent

    std::span<std::uint8_t> PrivateBlock() const;

private:
    std::span<std::uint8_t> m_bytes;
};

class PrinterDevice {
public:
    PrinterDevice() = default;
    virtual ~PrinterDevice();
    PrinterDevice(const PrinterDevice&) = delete;
    PrinterDevice& operator=(const PrinterDevice&) = delete;

    std::uint32_t m_dwDeviceFlags = 0;
    NameBuffer m_szDisplayName{};
    NameBuffer m_szPrinter{};
    NameBuffer m_szDriver{};
    NameBuffer m_szPort{};
    std::vector<Resolution> m_aResolutions;
    std::int32_t m_nMinExtentX = 0;
    std::int32_t m_nMinExtentY = 0;
    std::int32_t m_nMaxExtentX = 0;
    std::int32_t m_nMaxExtentY = 0;
    std::int16_t m_nOrientationAngle = 0;
    std::int32_t m_nMaxCopies = 0;
    std::uint32_t m_dwDmFields = 0;
    std::int32_t m_nDevModeSize = 0;
    platform::GlobalMemory m_pDevMode;
    NameBuffer m_szServer{};
    std::int32_t m_nResX = 0;
    std::int32_t m_nResY = 0;

    DevModeView DevMode() const { return DevModeView(m_pDevMode.bytes()); }

    bool LoadDevice(std::string_view printerName);
    bool ReadPrinterInfo();
    bool ReadDefaultDevMode();
    bool ApplyDevMode(std::span<const std::uint8_t> input);
    std::int32_t DeviceCaps(std::uint16_t index, std::span<std::uint8_t> output) const;
    bool QueryStandardCapabilities();
    void ReleaseDevice();

    std::int32_t DotsFromTenthMm(std::int16_t tenthMm) const;

    void GetPrinterName(NameBuffer& buffer) const;
    bool GetDisplayName(std::span<char> buffer) const;
};

// Bubble sort ascending by x * y; equal products keep their order.
void SortResolutions(std::vector<Resolution>& resolutions);

// The resolution for a named print quality from a sorted table of at least
// two entries.
Resolution ChooseResolutionByQuality(const std::vector<Resolution>& resolutions, std::int16_t printQuality);

class PrinterDescription : public PrinterDevice {
public:
    PrinterDescription() = default;
    ~PrinterDescription() override;

    std::uint32_t m_dwDescFlags = 0;
    NameBuffer m_szInfoDll{};

    // The current page.
    std::uint16_t m_wPaperId = 0;
    std::uint16_t m_wOrientation = 0;
    std::int32_t m_nPageWidth = 0;
    std::int32_t m_nPageLength = 0;
    Rect32 m_rcMaxMargins;
    std::int32_t m_nParts = 0;
    Rect32 m_rcMargins;
    Rect32 m_rcMediaMargins;
    Rect32 m_rcOffset;
    std::uint32_t m_dwMediaFlags = 0;

    std::uint32_t m_dwOptionMask = 0;
    std::uint32_t m_dwOptions = 0;
    std::uint32_t m_dwOptionsDefault = 0;
    std::uint32_t m_dwDriverFlags = 0;
    std::vector<FeedMarginEntry> m_aFeedMargins;
    Point32 m_ptOffset;
    Point32 m_ptMarginAdd;
    std::uint16_t m_wDriverValue = 0;
    std::uint16_t m_wMediaClass = 0;
    std::uint32_t m_dwModelId = 0;
    std::vector<MediaEntry> m_aMedia;
    std::vector<UserMediaEntry> m_aUserMedia;
    std::uint16_t m_wTableFlags = 0;
    std::int16_t m_nCopiesLimit = 0;
    std::uint32_t m_dwColors = 0;
    std::uint32_t m_dwFeatures = 0;
    std::uint16_t m_wMediaClassInit = 0;
    std::int32_t m_nMinWidth = 0;
    std::int32_t m_nMinLength = 0;
    std::int32_t m_nMaxWidth = 0;
    std::int32_t m_nMaxLength = 0;
    Rect32 m_rcMinMargins;
    std::int32_t m_nExtentResX = 0;
    std::int32_t m_nExtentResY = 0;
    FeedMarginEntry m_lastFeedMargin;

    void ReleaseDescription();
    std::optional<std::uint32_t> GetModelId() const;

    // Building from a printer name.
    bool InitFromName(const char* name, std::uint32_t modelId);
    void BuildFromStandardQueries();
    void SetStandardFeatures();
    bool LoadPaperList(bool split);
    void DropUserPaperSizes();
    void KeepDriverPaperSizes();
    bool MeasurePapers();
    void ChooseFallbackResolution();
    void ComputeExtentsInDots();

    // The driver's information library.
    int QueryDriverCapabilities();
    int ComputeMinMargins();
    int MapDriverFlags();
    void LoadSelectedOptions();
    std::uint32_t GetOptions() const { return m_dwOptions; }
    int SetOptions(std::uint32_t mask);

    // Media tables.
    const MediaEntry& FindMedia(std::uint16_t id) const;
    const MediaEntry* FindBaseMedia(std::uint16_t id) const;
    const MediaEntry* FindMediaVariant(std::uint16_t id, std::uint16_t partCount) const;
    const UserMediaEntry& FindUserMedia(std::uint16_t id) const;
    const FeedMarginEntry& FindFeedMargin(std::uint16_t key) const;
    int IsPrivateDataValid() const;
    int LoadUserMedia();

    // Print area.
    int UpdatePrintArea();
    int ComputePrintArea();

    // The private block's mode word, when the block carries one.
    std::optional<std::uint16_t> PrivateModeWord() const;
};

// The message shown when a registered information library cannot be loaded.
inline constexpr const char* DRIVER_DAMAGED_MESSAGE = "The driver is damage. Reinstall the driver.";
