#pragma once
// The bits of the driver's capability word (MDC_FLAGS) that the description
// acts on, and the bits of the description's own feature mask, option masks
// and table flags that it derives from them.

#include <cstdint>

namespace driver_flags {

// Capability word.
inline constexpr std::uint32_t CAP_FEATURE_1 = 0x00000001;
inline constexpr std::uint32_t CAP_FEATURE_10 = 0x00000002;
inline constexpr std::uint32_t CAP_FEATURE_2 = 0x00000004;
inline constexpr std::uint32_t CAP_LIMIT_FEATURES = 0x00000008;
inline constexpr std::uint32_t CAP_OPTION_1 = 0x00000010;
inline constexpr std::uint32_t CAP_FEATURE_40 = 0x00000020;
inline constexpr std::uint32_t CAP_OPTION_4 = 0x00000040;
inline constexpr std::uint32_t CAP_DRIVER_PAPERS_ONLY = 0x00000100;
inline constexpr std::uint32_t CAP_FEATURES_5D = 0x00000200;
inline constexpr std::uint32_t CAP_OPTION_80 = 0x00000400;
inline constexpr std::uint32_t CAP_OPTION_100 = 0x00000800;
inline constexpr std::uint32_t CAP_OPTION_400 = 0x00001000;
inline constexpr std::uint32_t CAP_FEATURE_4000 = 0x00002000;
inline constexpr std::uint32_t CAP_OPTION_200 = 0x00008000;
inline constexpr std::uint32_t CAP_MEDIA_CLASS_10 = 0x00020000;
inline constexpr std::uint32_t CAP_SPECIAL_TAPE = 0x00040000;
inline constexpr std::uint32_t PRIVATE_COMPACT = 0x00080000;
inline constexpr std::uint32_t PRIVATE_EXTENDED = 0x00800000;
inline constexpr std::uint32_t CAP_COLORS = 0x01000000;
inline constexpr std::uint32_t CAP_OPTION_2 = 0x08000000;
inline constexpr std::uint32_t CAP_MODEL_CLASS = 0x10000000;
inline constexpr std::uint32_t CAP_FEATURE_200 = 0x20000000;
inline constexpr std::uint32_t CAP_FEATURE_400 = 0x40000000;
inline constexpr std::uint32_t CAP_FEATURE_1800 = 0x80000000;

// Feature mask.
inline constexpr std::uint32_t FEATURES_BASE = 0x55;
inline constexpr std::uint32_t FEATURES_BASE_5D = 0x5D;
inline constexpr std::uint32_t FEATURES_LIMITED_LOW_BYTE = 0xAA;
inline constexpr std::uint32_t FEATURES_SINGLE_COPY_LOW_BYTE = 0xAF;
inline constexpr std::uint32_t FEATURE_1 = 0x0001;
inline constexpr std::uint32_t FEATURE_2 = 0x0002;
inline constexpr std::uint32_t FEATURE_4 = 0x0004;
inline constexpr std::uint32_t FEATURE_10 = 0x0010;
inline constexpr std::uint32_t FEATURE_COPIES = 0x0020;
inline constexpr std::uint32_t FEATURE_40 = 0x0040;
inline constexpr std::uint32_t FEATURE_WIN9X = 0x0100;
inline constexpr std::uint32_t FEATURE_200 = 0x0200;
inline constexpr std::uint32_t FEATURE_400 = 0x0400;
inline constexpr std::uint32_t FEATURE_800 = 0x0800;
inline constexpr std::uint32_t FEATURE_1000 = 0x1000;
inline constexpr std::uint32_t FEATURE_2000 = 0x2000;
inline constexpr std::uint32_t FEATURE_4000 = 0x4000;
inline constexpr std::uint32_t FEATURES_FALLBACK = 0x51;

// Option masks.
inline constexpr std::uint32_t OPTION_1 = 0x0001;
inline constexpr std::uint32_t OPTION_2 = 0x0002;
inline constexpr std::uint32_t OPTION_4 = 0x0004;
inline constexpr std::uint32_t OPTION_COLOR = 0x0008;
inline constexpr std::uint32_t OPTION_40 = 0x0040;
inline constexpr std::uint32_t OPTION_80 = 0x0080;
inline constexpr std::uint32_t OPTION_100 = 0x0100;
inline constexpr std::uint32_t OPTION_200 = 0x0200;
inline constexpr std::uint32_t OPTION_400 = 0x0400;
inline constexpr std::uint32_t OPTION_1000 = 0x1000;
inline constexpr std::uint32_t OPTION_2000 = 0x2000;
inline constexpr std::uint32_t OPTION_4000 = 0x4000;
inline constexpr std::uint32_t OPTIONS_F000 = 0xF000;
// Option bits taken from the extended private data's option word.
inline constexpr std::uint32_t OPTIONS_FROM_WORD[] = {OPTION_1,  OPTION_2,   OPTION_4,   OPTION_40,
                                                      OPTION_80, OPTION_100, OPTION_200, OPTION_400};

// Table flags.
inline constexpr std::uint16_t TABLE_FLAGS_DRIVER = 0x000F;
inline constexpr std::uint16_t TABLE_FLAGS_FALLBACK = 9;
inline constexpr std::uint16_t TABLE_ORIENTATION = 0x0010;
inline constexpr std::uint16_t TABLE_USER_MEDIA = 0x0100;
inline constexpr std::uint16_t TABLE_MULTI_PART = 0x0200;

// Media classes.
inline constexpr std::uint16_t MEDIA_CLASS_NONE = 0;
inline constexpr std::uint16_t MEDIA_CLASS_2 = 2;
inline constexpr std::uint16_t MEDIA_CLASS_10 = 10;

// Colour counts of a description built from the standard queries.
inline constexpr std::uint32_t FALLBACK_COLORS_COLOR = 0xFFFFFF;
inline constexpr std::uint32_t FALLBACK_COLORS_MONO = 2;

}  // namespace driver_flags
