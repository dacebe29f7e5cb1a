// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/Chunks.h"

#include <algorithm>

namespace {

// A chunk is recognised only where more than four bytes of the image are left.
bool ChunkStartsAt(ByteView image, std::size_t pos, std::string_view tag) {
    return pos < image.size() && image.size() - pos > 4 && HasTagAt(image, pos, tag);
}

}  // namespace

MaybeStyleError LocateChunks(ByteView image, std::size_t walkEnd, ChunkLayout& layout) {
    layout = ChunkLayout{};
    layout.walkEnd = walkEnd;
    std::size_t pos = walkEnd;
    if (ChunkStartsAt(image, pos, "CASM")) {
        const std::optional<std::size_t> end = ChunkEnd(image, pos, image.size());
        if (!end) return StyleError::At(style_messages::kMissingCseg, pos);
        layout.casm = ByteRange{pos, *end};
        pos = *end;
    }
    if (ChunkStartsAt(image, pos, "OTSc")) {
        std::size_t end = image.size();
        if (image.size() - pos >= 8) end = pos + 8 + std::min<std::size_t>(ReadU32BE(image, pos + 4), end - pos - 8);
        layout.ots = ByteRange{pos, end};
        pos = end;
    }
    layout.restBegin = pos;
    return std::nullopt;
}
