// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "framework/ByteView.h"

// Callers check that four bytes are there before they read.
inline std::uint32_t ReadU32BE(ByteView bytes, std::size_t pos) {
    return std::uint32_t{bytes[pos]} << 24 | std::uint32_t{bytes[pos + 1]} << 16 | std::uint32_t{bytes[pos + 2]} << 8 |
           std::uint32_t{bytes[pos + 3]};
}

// The caller makes room for the four bytes.
inline void WriteU32BE(std::span<std::uint8_t> bytes, std::size_t pos, std::uint32_t value) {
    bytes[pos] = static_cast<std::uint8_t>(value >> 24);
    bytes[pos + 1] = static_cast<std::uint8_t>(value >> 16);
    bytes[pos + 2] = static_cast<std::uint8_t>(value >> 8);
    bytes[pos + 3] = static_cast<std::uint8_t>(value);
}

inline std::uint32_t ReadU24BE(ByteView bytes, std::size_t pos) {
    return std::uint32_t{bytes[pos]} << 16 | std::uint32_t{bytes[pos + 1]} << 8 | std::uint32_t{bytes[pos + 2]};
}

// Whether the four bytes at pos are the chunk tag; false when they are not all there.
inline bool HasTagAt(ByteView bytes, std::size_t pos, std::string_view tag) {
    return pos <= bytes.size() && bytes.size() - pos >= 4 && std::memcmp(bytes.data() + pos, tag.data(), 4) == 0;
}

// A Standard MIDI variable-length number: seven bits a byte, most significant first,
// every byte but the last with bit 7 set, at most four bytes.
struct VarLength {
    std::uint32_t value = 0;
    std::size_t size = 0;  // bytes it takes in the file
};

// The number at pos, read no further than limit; nothing when it does not end before
// limit or runs past four bytes.
inline std::optional<VarLength> ReadVarLength(ByteView bytes, std::size_t pos, std::size_t limit) {
    constexpr std::size_t kLongest = 4;
    VarLength number;
    for (; number.size < kLongest && pos + number.size < limit; ++number.size) {
        const std::uint8_t byte = bytes[pos + number.size];
        number.value = (number.value << 7) | (byte & 0x7F);
        if (!(byte & 0x80)) {
            ++number.size;
            return number;
        }
    }
    return std::nullopt;
}

// The largest number four bytes of seven bits hold; a longer delta time must be split.
inline constexpr std::uint32_t kLargestVarLength = 0x0FFFFFFF;

// Appends value, which is at most kLargestVarLength, as a variable-length number.
inline void AppendVarLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t groups[4];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0 && count < 4);
    while (count > 1) out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}
