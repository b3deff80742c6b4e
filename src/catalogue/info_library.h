#pragma once
// The contract of a driver's information library: the library a driver of
// this printer family registers (see driver_info.h) and that answers the
// driver's own capability questions through one export, MyDeviceCapabilities.
// The program loads it by path for one question at a time and frees it
// before the asking operation returns.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "driver/driver_call.h"
#include "platform/library.h"

extern "C" {

// The shape of DeviceCapabilitiesA: device name, port name ("" or absent),
// capability code (a 16-bit WORD, passed as an integer), output buffer
// (may be absent) and device mode (may be absent).
using MyDeviceCapabilitiesProc = std::int32_t(DRIVER_CALL*)(const char* device, const char* port,
                                                            std::uint16_t capability, char* output,
                                                            const void* devMode);

}  // extern "C"

inline constexpr const char* MY_DEVICE_CAPABILITIES_EXPORT = "MyDeviceCapabilities";

// Loads the information library by the path its driver registered, so that
// the libraries it needs from its own folder (the driver's) are found there.
platform::Library LoadInfoLibrary(const std::string& path);

// The answer for a code the driver has no answer to (all bits set).
inline constexpr std::int32_t MDC_NO_ANSWER = -1;

// Capability codes.
inline constexpr std::uint16_t MDC_MEDIA = 257;        // list of media entries
inline constexpr std::uint16_t MDC_FLAGS = 269;        // 32-bit capability word
inline constexpr std::uint16_t MDC_FEEDMARGINS = 270;  // list of feed-margin entries
inline constexpr std::uint16_t MDC_COLORS = 271;       // colour count, low 16 bits
inline constexpr std::uint16_t MDC_OFFSET = 274;       // point: x low 16 bits, y high 16 bits
inline constexpr std::uint16_t MDC_MARGINADD = 275;    // point, as MDC_OFFSET
inline constexpr std::uint16_t MDC_VALUE = 276;        // 16-bit driver value
inline constexpr std::uint16_t MDC_MEDIA2 = 277;       // as MDC_MEDIA, for media class 2
inline constexpr std::uint16_t MDC_MODELID = 278;      // 32-bit model identifier

// Sizes of the entries of the two lists.
inline constexpr std::size_t MDC_MEDIA_ENTRY_SIZE = 138;
inline constexpr std::size_t MDC_FEEDMARGIN_ENTRY_SIZE = 103;

// Bit of the capability word: the driver supports the special-tape mode.
inline constexpr std::uint32_t MDC_FLAG_SPECIAL_TAPE = 0x00040000;

// Bit of a model identifier: the printer in its special-tape mode. Its low
// 16 bits are the printer id that the transfer status and the firmware data
// file carry.
inline constexpr std::uint32_t MODEL_ID_SPECIAL_TAPE = 0x00010000;

// The most entries a list answer is taken to have; a larger count is no
// answer rather than a buffer of that size.
inline constexpr std::int32_t MDC_MAX_LIST_ENTRIES = 4096;

// The list protocol: asked without a buffer, a list code gives the number of
// entries; asked again with a buffer of that many entries, the driver fills
// them. The count is asked with countDevice, the entries with fillDevice.
// A driver may keep a different list under each name and always writes the
// whole list it has for the name it is asked with; so where the two names
// differ, the count is asked under fillDevice too and the buffer made for
// that count, and the answer keeps the entries both counts announce.
// Empty when the driver has no answer (-1) or announces a count below 0 or
// above MDC_MAX_LIST_ENTRIES under either name; an empty list for a count of
// 0. The buffer handed to the driver starts zero-filled.
std::optional<std::vector<std::uint8_t>> QueryCapabilityList(MyDeviceCapabilitiesProc query, const char* countDevice,
                                                             const char* fillDevice, const char* port,
                                                             std::uint16_t capability, std::size_t entrySize,
                                                             const void* devMode);
