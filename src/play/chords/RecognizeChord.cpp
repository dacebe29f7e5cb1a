// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "play/chords/Fingering.h"

namespace {

using PitchSet = std::uint16_t;  // bit n: pitch class n
constexpr PitchSet kBlackKeys = 1 << 1 | 1 << 3 | 1 << 6 | 1 << 8 | 1 << 10;

PitchSet Bit(int pitchClass) { return static_cast<PitchSet>(1 << pitchClass); }

PitchSet Rotated(PitchSet set, int root) { return static_cast<PitchSet>((set << root | set >> (12 - root)) & 0xFFF); }

// The keys held, each once, low to high.
struct Held {
    std::vector<int> keys;
    PitchSet pitches = 0;

    explicit Held(std::vector<int> held) : keys(std::move(held)) {
        std::erase_if(keys, [](int key) { return key < 0 || key > kHighestKey; });
        std::ranges::sort(keys);
        keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
        for (const int key : keys) pitches |= Bit(key % 12);
    }
    int Lowest() const { return keys.front() % 12; }
    int Highest() const { return keys.back() % 12; }
    int Classes() const { return std::popcount(pitches); }
};

// A type's pitch classes on C, or those left without its fifth: only a seventh chord
// leaves out a perfect fifth and is still heard as itself.
std::optional<PitchSet> Shape(ChordType type, bool withoutFifth) {
    PitchSet shape = 0;
    for (const int interval : TypeInfo(type).Intervals()) shape |= Bit(interval % 12);
    if (!withoutFifth) return shape;
    const ChordTones tones = TonesOf(type);
    if (tones.fifth != 7 || tones.seventh < 10) return std::nullopt;
    return static_cast<PitchSet>(shape & ~Bit(7));
}

// What the lowest key plays in the chord, the root first: the lower, the likelier the
// reading.
int RoleOfLowest(ChordType type, int root, int lowest) {
    const int above = (lowest - root + 12) % 12;
    const ChordTones tones = TonesOf(type);
    if (above == 0) return 0;
    if (above == tones.third) return 1;
    if (above == tones.fifth) return 2;
    if (above == tones.seventh) return 3;
    return 4;
}

std::optional<Chord> ChordOfPitches(PitchSet pitches, int lowest) {
    for (const bool withoutFifth : {false, true}) {
        std::optional<Chord> best;
        int bestRole = 0;
        for (int number = 0; number < kChordTypeCount; ++number) {
            const auto type = static_cast<ChordType>(number);
            const std::optional<PitchSet> shape = Shape(type, withoutFifth);
            for (int root = 0; shape && root < 12; ++root) {
                if (Rotated(*shape, root) != pitches) continue;
                const int role = RoleOfLowest(type, root, lowest);
                if (!best || role < bestRole) {
                    best = Chord{static_cast<std::uint8_t>(root), type};
                    bestRole = role;
                }
            }
        }
        if (best) return best;
    }
    return std::nullopt;
}

std::optional<Chord> Fingered(const Held& held) {
    if (held.keys.size() < 2) return std::nullopt;
    return ChordOfPitches(held.pitches, held.Lowest());
}

Chord SingleFinger(const Held& held) {
    const int root = held.Highest();
    const PitchSet below = held.pitches & ~Bit(root);
    const bool black = (below & kBlackKeys) != 0;
    const bool white = (below & ~kBlackKeys) != 0;
    const ChordType type = black && white ? ChordType::Min7
                           : black        ? ChordType::Min
                           : white        ? ChordType::Dom7
                                          : ChordType::Maj;
    return Chord{static_cast<std::uint8_t>(root), type};
}

std::optional<Chord> Multi(const Held& held) {
    if (held.Classes() <= 2) return SingleFinger(held);
    if (std::optional<Chord> chord = Fingered(held)) return chord;
    if (held.Classes() > 3) return std::nullopt;
    const Chord chord = SingleFinger(held);
    if (chord.type != ChordType::Min7) return std::nullopt;
    return chord;
}

std::optional<Chord> OnBass(const Held& held) {
    const int bass = held.Lowest();
    std::optional<Chord> chord = Fingered(held);
    if (!chord) {
        std::vector<int> above = held.keys;
        std::erase_if(above, [bass](int key) { return key % 12 == bass; });
        const Held upper(std::move(above));
        if (upper.Classes() >= 3) chord = Fingered(upper);
    }
    if (chord && chord->root != bass) chord->bass = static_cast<std::int8_t>(bass);
    return chord;
}

}  // namespace

std::optional<Chord> RecognizeChord(std::span<const int> keys, Fingering mode) {
    const Held held(std::vector<int>(keys.begin(), keys.end()));
    if (held.keys.empty()) return std::nullopt;
    switch (mode) {
        case Fingering::Single: return SingleFinger(held);
        case Fingering::Fingered: return Fingered(held);
        case Fingering::OnBass: return OnBass(held);
        case Fingering::Multi: return Multi(held);
        case Fingering::Full: return held.Classes() >= 3 ? Fingered(held) : std::nullopt;
    }
    return std::nullopt;
}
