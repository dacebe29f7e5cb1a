// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/SavedStyle.h"

#include <utility>

#include "format/CasmCopy.h"

std::vector<std::uint8_t> SavedStyle::Joined() const {
    std::vector<std::uint8_t> joined;
    joined.reserve(Size());
    for (const ByteView piece : {ByteView(track), ByteView(casm), ots, rest}) {
        joined.insert(joined.end(), piece.begin(), piece.end());
    }
    return joined;
}

MaybeStyleError AssembleSavedStyle(ByteView image, RewrittenTrack track, const ChunkLayout& layout,
                                   const ChunkChoices& choices, SavedStyle& saved) {
    saved = SavedStyle{};
    saved.track = std::move(track.bytes);
    if (choices.importedCasm) {
        saved.casm = *choices.importedCasm;
    } else if (layout.casm && !choices.deleteCasm) {
        if (MaybeStyleError error = CopyCasmChunk(image, *layout.casm, choices.deleteAllCntt, saved.casm)) {
            return error;
        }
    }
    if (choices.importedOts) {
        saved.ots = *choices.importedOts;
    } else if (layout.ots && !choices.deleteOts) {
        saved.ots = image.subspan(layout.ots->begin, layout.ots->size());
    }
    saved.rest = image.subspan(layout.restBegin);
    return std::nullopt;
}
