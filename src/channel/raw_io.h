#pragma once
// Binding of the printer driver's raw I/O library, "tmfilo.dll": its module
// and its two operations. The main dialog binds it at initialisation and
// unbinds it when its window goes; until then both operations report failure.

#include <cstdint>
#include <span>
#include <string_view>

#include "driver/driver_exports.h"
#include "platform/library.h"

extern platform::Library g_hRawIoLib;
TMFILO_EXPORTS(DRIVER_EXPORT_DECLARE_POINTER)

// Loads "tmfilo.dll" by its plain name, then binds "TMWriteFile" and
// "TMReadFile" in that order. False when the library or an export is missing;
// binding stops at the first miss and whatever was bound stays bound.
bool BindRawIoLibrary();

// Unloads the library, if loaded, and forgets both operations.
void UnbindRawIoLibrary();

// Returns the channel's process-wide variables to their start state.
void ResetChannelState();

// Sends bytes to the named printer with the write time-out. False when the
// library reports failure or the operation was never bound.
bool RawWrite(std::string_view printer, std::span<const std::uint8_t> bytes);

// Reads at most readLength bytes of reply into reply (cleared to zero first,
// so whatever the printer does not send reads as 0), with the read time-out.
bool RawRead(std::string_view printer, std::span<std::uint8_t> reply, std::size_t readLength);
