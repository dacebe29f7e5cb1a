// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "format/ByteOrder.h"
#include "format/StyleError.h"
#include "msg/StyleMessages.h"

struct ByteRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t size() const { return end - begin; }
};

// The end of the chunk whose 8-byte header begins at pos, when header and content
// fit before limit; nothing otherwise. Checked by subtraction, so no length can
// overflow.
inline std::optional<std::size_t> ChunkEnd(ByteView image, std::size_t pos, std::size_t limit) {
    if (pos > limit || limit - pos < 8) return std::nullopt;
    const std::size_t length = ReadU32BE(image, pos + 4);
    if (limit - pos - 8 < length) return std::nullopt;
    return pos + 8 + length;
}

// What follows the track: an optional CASM chunk where the track walk ended, an
// optional OTS chunk after it, and whatever bytes come after those (other chunks
// such as "FNRc"), which are carried along unread.
struct ChunkLayout {
    std::size_t walkEnd = 0;
    std::optional<ByteRange> casm;
    std::optional<ByteRange> ots;
    std::size_t restBegin = 0;
};

// A CASM chunk whose length runs past the image is refused. The OTS chunk is never
// read; one whose length runs past the image ends with the image.
MaybeStyleError LocateChunks(ByteView image, std::size_t walkEnd, ChunkLayout& layout);

// A channel table record: "Ctab" in SFF1 styles, "Ctb2" in SFF2 styles. Both name the
// source channel in content byte 0 and its part in content byte 9.
inline bool IsChannelTable(std::string_view tag) { return tag == "Ctab" || tag == "Ctb2"; }

// The messages of the two faults a CASM walk finds: a chunk that is no whole CSEG, and a
// sub-chunk of another kind or cut off. A style's chunk and a CASM side file say them
// in their own words.
struct CasmWalkMessages {
    const char* missingCseg;
    const char* missingSdecCtab;
};
inline constexpr CasmWalkMessages kStyleCasmMessages{style_messages::kMissingCseg, style_messages::kMissingSdecCtab};

// Walks the CSEG chunks of the CASM chunk in range and the sub-chunks of each. The
// visitor has OnCseg(ByteRange) and OnSubChunk(ByteRange, std::string_view tag);
// sub-chunks are "Sdec", "Ctab", "Ctb2" or "Cntt", anything else is refused.
template <typename Visitor>
MaybeStyleError WalkCasm(ByteView image, ByteRange casm, Visitor& visitor,
                         const CasmWalkMessages& messages = kStyleCasmMessages) {
    for (std::size_t pos = casm.begin + 8; pos < casm.end;) {
        const std::optional<std::size_t> csegEnd = ChunkEnd(image, pos, casm.end);
        if (!HasTagAt(image, pos, "CSEG") || !csegEnd) return StyleError::At(messages.missingCseg, pos);
        visitor.OnCseg(ByteRange{pos, *csegEnd});
        for (std::size_t sub = pos + 8; sub < *csegEnd;) {
            const std::optional<std::size_t> subEnd = ChunkEnd(image, sub, *csegEnd);
            const std::string_view tag(reinterpret_cast<const char*>(image.data() + sub),
                                       std::min<std::size_t>(4, *csegEnd - sub));
            if (!(tag == "Sdec" || IsChannelTable(tag) || tag == "Cntt") || !subEnd) {
                return StyleError::At(messages.missingSdecCtab, sub);
            }
            visitor.OnSubChunk(ByteRange{sub, *subEnd}, tag);
            sub = *subEnd;
        }
        pos = *csegEnd;
    }
    return std::nullopt;
}
