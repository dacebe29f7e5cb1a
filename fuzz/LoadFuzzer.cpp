// SPDX-License-Identifier: GPL-3.0-or-later
// Loads arbitrary bytes as a style image. A load that succeeds must leave the facts
// in the state the editor relies on, a save with nothing edited must give back the
// image byte for byte, and a save with edits must load again with the edits in it and
// nothing else changed. Playing it is PlayFuzzer's job, so that this target stays fast.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "format/Chunks.h"
#include "format/SavedStyle.h"
#include "format/StyleReader.h"
#include "format/TrackMap.h"
#include "format/TrackRewriter.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckFacts(const StyleFacts& facts) {
    Require(facts.title.size() <= kMaxStyleTextLength);
    Require(facts.copyright.size() <= kMaxStyleTextLength);
    Require(facts.hasCopyright || facts.copyrightLength == 0);
    Require((facts.timeSigNumerator == 0) == (facts.timeSigDenominator == 0) || facts.timeSigNumerator == 0);
    Require(facts.tempo == -1 || facts.tempo > 0);
    for (int c = 0; c < kChannelCount; ++c) {
        const bool hasVolume = facts.origVolume[c] != -1;
        Require(facts.origVolume[c] >= -1 && facts.origVolume[c] <= 127);
        Require(hasVolume == !facts.channelLabel[c].empty());
        if (hasVolume) Require(facts.channelPart[c] >= 0 && facts.channelPart[c] < kChannelCount);
    }
}

// The time of the track's last event, in ticks: what every edit must keep.
std::uint64_t TrackTicks(ByteView image) {
    std::size_t trackLength = 0;
    Require(!ReadTrackLength(image, trackLength));
    TrackWalker walker(image, kTrackDataOffset + trackLength);
    std::uint64_t ticks = 0;
    for (TrackEvent event; walker.Next(event);) {
        std::uint32_t delta = 0;
        for (std::size_t pos = event.start; pos < event.status; ++pos) delta = (delta << 7) | (image[pos] & 0x7F);
        ticks += delta;
    }
    return ticks;
}

// The file the save writes, assembled by the save's own code: the rewritten track,
// the CASM chunk (its "Cntt" records stripped or not), the OTS chunk and whatever
// follows it.
std::vector<std::uint8_t> Save(ByteView image, const TrackEdits& edits, bool stripCntt) {
    RewrittenTrack track;
    Require(!RewriteTrack(image, edits, track));
    ChunkLayout layout;
    Require(!LocateChunks(image, track.walkEnd, layout));
    ChunkChoices choices;
    choices.deleteAllCntt = stripCntt;
    SavedStyle saved;
    Require(!AssembleSavedStyle(image, std::move(track), layout, choices, saved));
    return saved.Joined();
}

void CheckUneditedSave(ByteView image, const StyleFacts& facts) {
    const std::vector<std::uint8_t> saved = Save(image, UneditedEdits(facts), false);
    Require(saved.size() == image.size() && std::equal(saved.begin(), saved.end(), image.begin()));
}

// Saves the image as the editor would with a few edits that change the track's size,
// then loads the result.
void CheckSave(ByteView image, const StyleFacts& facts) {
    TrackEdits edits = UneditedEdits(facts);
    edits.title = "Fuzzed";
    edits.copyright = facts.hasCopyright ? "" : "(C) Fuzz";
    edits.tempo = facts.tempo == -1 ? -1 : 97;
    edits.allChannelsPercent = 50;
    const std::vector<std::uint8_t> saved = Save(image, edits, true);

    StyleFacts reloaded;
    Require(!ReadStyle(saved, reloaded));
    Require(reloaded.title == "Fuzzed");
    Require(TrackTicks(saved) == TrackTicks(image));
    // A removed copyright event may uncover a second one; an inserted one is the only one.
    if (!facts.hasCopyright) Require(reloaded.copyright == edits.copyright);
    Require(reloaded.tempo == (facts.tempo == -1 ? -1 : 97));
    Require(reloaded.format == facts.format);
    Require(reloaded.sections == facts.sections);
    Require(reloaded.timeSigDenominator == facts.timeSigDenominator);
    Require(reloaded.hasCASM == facts.hasCASM && reloaded.hasOTS == facts.hasOTS);
    Require(!reloaded.hasCntt);
    for (int c = 0; c < kChannelCount; ++c) {
        Require(reloaded.origVolume[c] == (facts.origVolume[c] == -1 ? -1 : facts.origVolume[c] / 2));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView image(data, size);
    StyleFacts facts;
    if (ReadStyle(image, facts)) return 0;
    CheckFacts(facts);
    // The load passes channel messages by without stopping at them; its map of the
    // track is the one a walk that stops at every event makes.
    TrackMap walked;
    Require(!MapTrack(image, walked) && walked == facts.track);
    CheckUneditedSave(image, facts);
    CheckSave(image, facts);
    return 0;
}
