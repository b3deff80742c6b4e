#pragma once
// The printer's command set over the raw I/O library: every byte sent, the
// length of every reply and the places the program examines in it.

#include <array>
#include <cstddef>
#include <cstdint>

namespace printer_commands {

using Byte = std::uint8_t;

inline constexpr std::array<Byte, 3> CMD_STATUS{0x1B, 0x69, 0x53};              // ESC i S
inline constexpr std::array<Byte, 4> CMD_MODE{0x1B, 0x69, 0x61, 0x01};          // ESC i a 01
inline constexpr std::array<Byte, 9> CMD_VERSION{0x54, 0x63, 0x63, 0x01, 0x20,  // "Tcc" ...
                                                 0x00, 0x20, 0x00, 0x10};
inline constexpr std::array<Byte, 4> CMD_MODEL{0x1B, 0x69, 0x46, 0x53};  // ESC i F S
inline constexpr std::array<Byte, 6> CMD_SYS_READ{0x55, 0x08, 0xF9, 0x01, 0x01, 0x00};
inline constexpr std::array<Byte, 8> CMD_SYS_WRITE_A{0x55, 0x09, 0xFA, 0x01, 0x01, 0x00, 0x01, 0x00};
inline constexpr std::array<Byte, 8> CMD_SYS_WRITE_B{0x55, 0x09, 0xFA, 0x01, 0x01, 0x00, 0x00, 0x00};
inline constexpr std::array<Byte, 10> CMD_SYS_FINAL{0x55, 0x09, 0xFC, 0x01, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00};

// Time-outs handed to the raw I/O library, in milliseconds.
inline constexpr std::int32_t WRITE_TIMEOUT_MS = 10000;
inline constexpr std::int32_t READ_TIMEOUT_MS = 2000;

// Status reply: 32 bytes; the identification "K0V" at bytes 2 to 4.
inline constexpr std::size_t STATUS_REPLY_SIZE = 32;
inline constexpr std::size_t STATUS_ID_OFFSET = 2;
inline constexpr std::array<Byte, 3> STATUS_IDENTIFICATION{'K', '0', 'V'};

// Version reply: a 32-byte buffer of which at most 16 bytes are read; the
// version text is the four characters at bytes 11 to 14.
inline constexpr std::size_t VERSION_REPLY_BUFFER_SIZE = 32;
inline constexpr std::size_t VERSION_REPLY_READ_SIZE = 16;
inline constexpr std::size_t VERSION_TEXT_OFFSET = 11;
inline constexpr std::size_t VERSION_TEXT_LENGTH = 4;

// Model reply: 32 bytes; byte 5 must be the character "0".
inline constexpr std::size_t MODEL_REPLY_SIZE = 32;
inline constexpr std::size_t MODEL_BYTE_OFFSET = 5;
inline constexpr Byte MODEL_BYTE_SUPPORTED = '0';

// System reply: 1 byte, 0 or 1.
inline constexpr std::size_t SYSTEM_REPLY_SIZE = 1;
inline constexpr Byte SYSTEM_REPLY_A = 0;  // answered with CMD_SYS_WRITE_A
inline constexpr Byte SYSTEM_REPLY_B = 1;  // answered with CMD_SYS_WRITE_B

}  // namespace printer_commands
