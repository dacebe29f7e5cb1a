// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "format/Chunks.h"
#include "format/TrackRewriter.h"

// Where the CASM and OTS chunks of a saved style come from: the style itself (the
// CASM chunk perhaps without its "Cntt" records), nowhere, or an imported side file,
// whole, which takes the chunk's place whether the style had one or not.
struct ChunkChoices {
    bool deleteCasm = false;
    bool deleteOts = false;
    bool deleteAllCntt = false;
    const std::vector<std::uint8_t>* importedCasm = nullptr;
    const std::vector<std::uint8_t>* importedOts = nullptr;
};

// The bytes of a saved style, in the order they are written: the rewritten header and
// track, the CASM chunk, the OTS chunk, and whatever followed them in the image
// (other chunks such as "FNRc"), byte for byte.
struct SavedStyle {
    std::vector<std::uint8_t> track;
    std::vector<std::uint8_t> casm;
    ByteView ots;
    ByteView rest;

    std::size_t Size() const { return track.size() + casm.size() + ots.size() + rest.size(); }
    std::vector<std::uint8_t> Joined() const;
};

// The style a save writes from the image, its rewritten track and the place of its
// chunks. The views in saved point into the image and the imported files.
MaybeStyleError AssembleSavedStyle(ByteView image, RewrittenTrack track, const ChunkLayout& layout,
                                   const ChunkChoices& choices, SavedStyle& saved);
