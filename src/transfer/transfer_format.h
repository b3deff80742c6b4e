#pragma once
// What passes between the program and the transfer library "TrDrv.dll":
// result codes, the status area's layout, the sizes of the areas handed to
// the library and the fixed limit arguments.

#include <array>
#include <cstddef>
#include <cstdint>

// Result codes kept in g_nTransferResult. Any other nonzero value is a
// failure reported by the library.
inline constexpr std::int32_t TRANSFER_OK = 0;
inline constexpr std::int32_t TRANSFER_ERR_PRINTER_ID = 7;
inline constexpr std::int32_t TRANSFER_CANCELLED = 8;
// Our own code for a call to an export that was never bound.
inline constexpr std::int32_t TRANSFER_ERR_NOT_BOUND = -1;

// Failures the program finds itself, before the library is asked: a data file
// that cannot be opened or read, announces no data or more than it holds, or
// whose data does not fit in memory; and a worker thread that cannot start.
inline constexpr std::int32_t TRANSFER_ERR_DATA_FILE = -2;
inline constexpr std::int32_t TRANSFER_ERR_NO_WORKER = -3;

namespace transfer_format {

inline constexpr std::size_t INIT_INFO_SIZE = 10;
inline constexpr std::size_t STATUS_SIZE = 32;

// TransferStatus: bytes 0 to 2 are fixed, bytes 3 and 4 the printer id, low
// byte first; bytes 5 to 31 are the library's own.
inline constexpr std::array<std::uint8_t, 3> STATUS_SIGNATURE{0x81, 0x20, 0x4B};
inline constexpr std::size_t STATUS_PRINTER_ID_OFFSET = 3;

// Limit arguments the program always passes.
inline constexpr std::int32_t CMD_LIMIT = 1000;
inline constexpr std::int32_t SEND_LIMIT = 500000;

}  // namespace transfer_format
