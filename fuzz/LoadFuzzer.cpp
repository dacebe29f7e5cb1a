// Loads arbitrary bytes as a style image. Besides the sanitizers' checks, a load
// that succeeds must leave the facts in the state the editor relies on.

#include <cstdint>
#include <cstdlib>

#include "style/StyleReader.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StyleFacts facts;
    if (!ReadStyle(ByteView(data, size), facts)) CheckFacts(facts);
    return 0;
}
