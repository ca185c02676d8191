#pragma once
// What the loader and the simulated clock agree on in a loft message and its counts.
#include <cstddef>
#include <cstdint>
#include <string>

namespace plumet {

inline constexpr std::size_t kLoftNameBytes = 20;   // the fancier's name, blank-padded
inline constexpr std::size_t kLoftPigeonBytes = 20; // one pigeon

// A value the line carries in one byte.
inline char LineByte(long long value) { return static_cast<char>(static_cast<std::uint8_t>(value)); }

// A count as the clock takes and sends it: two bytes, the high one first.
inline std::string CountBytes(std::size_t n) {
    const auto value = static_cast<std::uint16_t>(n < 0xFFFF ? n : 0xFFFF);
    return {LineByte(value >> 8), LineByte(value & 0xFF)};
}

} // namespace plumet
