// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/chords/NoteTables.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

int PitchClass(int value) { return ((value % 12) + 12) % 12; }
int CircularDistance(int from, int to) {
    const int up = PitchClass(to - from);
    return up <= 6 ? up : 12 - up;
}

bool IsFifthVariant(Ntt table) {
    return table == Ntt::MelodicMinor5th || table == Ntt::HarmonicMinor5th || table == Ntt::NaturalMinor5th ||
           table == Ntt::Dorian5th;
}
bool ChangesSixth(Ntt table) {
    return table == Ntt::HarmonicMinor || table == Ntt::HarmonicMinor5th || table == Ntt::NaturalMinor ||
           table == Ntt::NaturalMinor5th;
}
bool ChangesSeventh(Ntt table) {
    return table == Ntt::NaturalMinor || table == Ntt::NaturalMinor5th || table == Ntt::Dorian ||
           table == Ntt::Dorian5th;
}

// A chord's tones by weight: third, seventh, tension, fifth, root. A triad's important
// tones are all three; a four-note chord's the three without its root; a five-note
// chord's the three without root and fifth. The first three of this order are those.
struct ToneOrder {
    std::array<int, 5> pitchClasses{};
    int count = 0;
};
ToneOrder OrderOfTones(const Chord& chord) {
    const ChordTones tones = TonesOf(chord.type);
    ToneOrder order;
    for (const int interval : {tones.third, tones.seventh, tones.tension, tones.fifth, 0}) {
        if (interval >= 0)
            order.pitchClasses[static_cast<std::size_t>(order.count++)] = PitchClass(chord.root + interval);
    }
    return order;
}

// Tries every way of giving the sources distinct tones of the pool, keeping the one
// that moves least (the first found of those as good, so the weightier tones win).
struct Assignment {
    std::array<int, 12> sources{};
    int sourceCount = 0;
    std::array<int, 5> pool{};
    int poolCount = 0;
    std::array<int, 12> current{};
    std::array<int, 12> best{};
    int bestCost = std::numeric_limits<int>::max();

    void Search(int index, int used, int cost) {
        if (cost >= bestCost) return;
        if (index == sourceCount) {
            bestCost = cost;
            best = current;
            return;
        }
        for (int tone = 0; tone < poolCount; ++tone) {
            if ((used & (1 << tone)) != 0) continue;
            current[static_cast<std::size_t>(index)] = tone;
            Search(index + 1, used | (1 << tone),
                   cost + CircularDistance(sources[static_cast<std::size_t>(index)],
                                           pool[static_cast<std::size_t>(tone)]));
        }
    }
};

}  // namespace

int NearestWithPitchClass(int pitch, int pitchClass) {
    const int up = PitchClass(pitchClass - pitch);
    return up < 6 ? pitch + up : pitch + up - 12;
}

int MelodyInterval(ChordType source, ChordType target, int rel) {
    const auto& from = TypeInfo(source).scale;
    const auto& to = TypeInfo(target).scale;
    for (std::size_t degree = 0; degree < from.size(); ++degree) {
        if (from[degree] == rel) return to[degree];
    }
    // Between two degrees: the nearer one, altered by the distance; halfway, the
    // degree above, flattened (Eb over C is a flat third, not a sharp second).
    std::size_t below = 0;
    for (std::size_t degree = 0; degree < from.size(); ++degree) {
        if (from[degree] < rel) below = degree;
    }
    const int aboveDegree = below + 1 < from.size() ? from[below + 1] : 12;
    const int aboveTarget = below + 1 < from.size() ? to[below + 1] : 12;
    const int downBy = rel - from[below];
    const int upBy = aboveDegree - rel;
    return upBy <= downBy ? aboveTarget - upBy : to[below] + downBy;
}

int MinorTableInterval(Ntt table, ChordType source, ChordType target, int rel) {
    const int sourceFifth = TonesOf(source).fifth;
    if (rel == sourceFifth) {
        if (!IsFifthVariant(table)) return rel;
        const int targetFifth = TonesOf(target).fifth;
        return targetFifth == 6 || targetFifth == 8 ? targetFifth : 7;
    }
    const bool minor = HasMinorThird(target);
    if (!minor && !HasMajorThird(target)) return rel;
    if (rel == 3 || rel == 4) return minor ? 3 : 4;
    if (ChangesSixth(table) && (rel == 8 || rel == 9)) return minor ? 8 : 9;
    if (ChangesSeventh(table) && (rel == 10 || rel == 11)) return minor ? 10 : 11;
    return rel;
}

int ChordTablePitchClass(const Chord& chord, const ChordTableInput& input) {
    const ChordTones tones = TonesOf(chord.type);
    if (input.pitchClass == input.keptRoot) return input.rootToBass ? chord.Bass() : chord.root;
    if (input.pitchClass == input.keptFifth) return PitchClass(chord.root + (tones.fifth >= 0 ? tones.fifth : 0));

    // Tones the kept notes sound are not struck twice while others are left.
    std::uint16_t taken = 0;
    const auto take = [&](int kept, int tone) {
        if (kept >= 0 && (input.struck & (1u << kept)) != 0) taken |= static_cast<std::uint16_t>(1u << tone);
    };
    take(input.keptRoot, input.rootToBass ? chord.Bass() : chord.root);
    take(input.keptFifth, PitchClass(chord.root + (tones.fifth >= 0 ? tones.fifth : 0)));
    const ToneOrder order = OrderOfTones(chord);
    Assignment assignment;
    for (int i = 0; i < order.count; ++i) {
        const int tone = order.pitchClasses[static_cast<std::size_t>(i)];
        if ((taken & (1u << tone)) == 0) assignment.pool[static_cast<std::size_t>(assignment.poolCount++)] = tone;
    }
    if (assignment.poolCount == 0) return chord.root;
    int asked = 0;
    for (int pitchClass = 0; pitchClass < 12; ++pitchClass) {
        const bool struck = (input.struck & (1u << pitchClass)) != 0 || pitchClass == input.pitchClass;
        if (!struck || pitchClass == input.keptRoot || pitchClass == input.keptFifth) continue;
        if (pitchClass == input.pitchClass) asked = assignment.sourceCount;
        assignment.sources[static_cast<std::size_t>(assignment.sourceCount++)] = pitchClass;
    }

    if (assignment.sourceCount > assignment.poolCount) {
        // More notes than tones: some tone sounds twice, so each note takes its nearest.
        int best = assignment.pool[0];
        for (int i = 1; i < assignment.poolCount; ++i) {
            const int tone = assignment.pool[static_cast<std::size_t>(i)];
            if (CircularDistance(input.pitchClass, tone) < CircularDistance(input.pitchClass, best)) best = tone;
        }
        return best;
    }
    // The three important tones while they are enough, then the others by weight.
    assignment.poolCount = std::max(std::min(3, assignment.poolCount), assignment.sourceCount);
    assignment.Search(0, 0, 0);
    return assignment.pool[static_cast<std::size_t>(assignment.best[static_cast<std::size_t>(asked)])];
}
