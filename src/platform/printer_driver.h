#pragma once
// The platform's questions to a printer's driver: document properties (the
// device mode), device capabilities, and information contexts with escapes.
// Printers are named by their spooler names.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/unique_handle.h"

namespace platform {

// DocumentPropertiesA on the printer, opened for the call with default
// access. With mode 0 and no buffers it answers the device mode's size;
// with DM_OUT_BUFFER it writes the printer's settings into output, merged
// with input when DM_IN_BUFFER is given too. Negative: failure.
std::int32_t DocumentProperties(const std::string& printer, std::span<std::uint8_t> output,
                                std::span<const std::uint8_t> input, std::uint32_t mode);

// DeviceCapabilitiesA: the driver's answer, unchanged (-1: no answer). The
// output buffer may be empty; it must be as large as the capability needs.
std::int32_t DeviceCapabilities(const std::string& device, const std::string& port, std::uint16_t index,
                                std::span<std::uint8_t> output, std::span<const std::uint8_t> devMode);

struct PointAnswer {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// An information context for a printer: CreateICA, DeleteDC on destruction.
class InformationContext {
public:
    InformationContext() = default;

    static InformationContext Create(const std::string& driver, const std::string& device, const std::string& port,
                                     std::span<const std::uint8_t> devMode);
    explicit operator bool() const { return static_cast<bool>(m_handle); }

    // Escape(QUERYESCSUPPORT) for the escape code: above 0 when supported.
    int QueryEscapeSupport(int escape) const;

    // An escape that answers a point (GETPHYSPAGESIZE, GETPRINTINGOFFSET):
    // the escape's result and the point it filled.
    int PointEscape(int escape, PointAnswer& answer) const;

private:
    static void ReleaseHandle(void* handle);
    UniqueHandle<void*, &InformationContext::ReleaseHandle> m_handle;
};

}  // namespace platform
