// Loads arbitrary bytes as a style image. A load that succeeds must leave the facts
// in the state the editor relies on, and a save of what loaded must load again with
// the edits in it and nothing else changed.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "style/CasmCopy.h"
#include "style/Chunks.h"
#include "style/StyleReader.h"
#include "style/TrackRewriter.h"

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

// Saves the image as the editor would with a few edits that change the track's size,
// then loads the result.
void CheckSave(ByteView image, const StyleFacts& facts) {
    TrackEdits edits;
    edits.title = "Fuzzed";
    edits.copyright = facts.hasCopyright ? "" : "(C) Fuzz";
    edits.hasCopyright = facts.hasCopyright;
    edits.tempo = facts.tempo == -1 ? -1 : 97;
    edits.timeSigNumerator = facts.timeSigNumerator;
    edits.timeSigDenominator = facts.timeSigDenominator;
    edits.allChannelsPercent = 50;
    edits.origVolume = facts.origVolume;
    edits.volume = facts.origVolume;

    RewrittenTrack track;
    Require(!RewriteTrack(image, edits, track));
    ChunkLayout layout;
    Require(!LocateChunks(image, track.walkEnd, layout));
    std::vector<std::uint8_t> saved = std::move(track.bytes);
    if (layout.casm) Require(!CopyCasmChunk(image, *layout.casm, true, saved));
    if (layout.ots) saved.insert(saved.end(), image.begin() + layout.ots->begin, image.begin() + layout.ots->end);
    saved.insert(saved.end(), image.begin() + layout.restBegin, image.end());

    StyleFacts reloaded;
    Require(!ReadStyle(saved, reloaded));
    Require(reloaded.title == "Fuzzed");
    Require(TrackTicks(saved) == TrackTicks(image));
    // A removed copyright event may uncover a second one; an inserted one is the only one.
    if (!facts.hasCopyright) Require(reloaded.copyright == edits.copyright);
    Require(reloaded.tempo == (facts.tempo == -1 ? -1 : 60000000 / (60000000 / 97)));
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
    CheckSave(image, facts);
    return 0;
}
