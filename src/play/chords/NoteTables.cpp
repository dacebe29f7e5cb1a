// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/chords/NoteTables.h"

#include <array>
#include <cstdlib>

namespace {

int PitchClass(int value) { return ((value % 12) + 12) % 12; }

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

bool IsToneOf(ChordType type, int rel) {
    for (const int interval : TypeInfo(type).Intervals()) {
        if (PitchClass(interval) == rel) return true;
    }
    return false;
}

// 1+5 and 1+8 have no third: where a part plays the source chord's third, they sound
// their root, as the player who holds them asks for neither a major nor a minor sound.
bool IsThirdOnChordWithoutThird(ChordType source, ChordType target, int rel) {
    return TonesOf(target).third < 0 && rel == TonesOf(source).third;
}

enum class Job : std::uint8_t { Root, Third, Fifth, Seventh, Tension };

struct SourceTone {
    Job job = Job::Root;
    int delta = 0;  // from the note to the tone, -5..6
};

// The source chord's tone nearest to rel, the one below when two are as near.
SourceTone NearestSourceTone(ChordType source, int rel) {
    const ChordTones tones = TonesOf(source);
    const std::array<std::pair<Job, int>, 5> jobs = {{{Job::Root, 0},
                                                      {Job::Third, tones.third},
                                                      {Job::Fifth, tones.fifth},
                                                      {Job::Seventh, tones.seventh},
                                                      {Job::Tension, tones.tension}}};
    SourceTone best{Job::Root, 99};
    for (const auto& [job, interval] : jobs) {
        if (interval < 0) continue;
        int delta = PitchClass(interval - rel);
        if (delta > 6) delta -= 12;
        const bool nearer = std::abs(delta) < std::abs(best.delta) ||
                            (std::abs(delta) == std::abs(best.delta) && delta < best.delta);
        if (nearer) best = {job, delta};
    }
    return best;
}

// The chord's tone that plays a job: its interval above the root, and whether it is the
// chord's own tone of that job. A job the chord lacks: a seventh plays its added ninth
// where it has one (add9), otherwise the root an octave up; the third (1+5, 1+8), the
// fifth (1+8) and a source's tension play the root. On a chord of five tones the fifth
// gives way to the tension when the source has none, so that the chord's colour is
// heard (the bass holds the root, and the fifth adds least).
struct TargetTone {
    int interval = 0;
    bool ownJob = true;
};
TargetTone TargetToneFor(ChordType source, ChordType target, Job job) {
    const ChordTones tones = TonesOf(target);
    const auto own = [](int interval, int otherwise) {
        return interval >= 0 ? TargetTone{interval, true} : TargetTone{otherwise, false};
    };
    switch (job) {
        case Job::Root: return {0, true};
        case Job::Third: return own(tones.third, 0);
        case Job::Fifth:
            if (tones.count == 5 && TonesOf(source).tension < 0) return {tones.tension, false};
            return own(tones.fifth, 0);
        case Job::Seventh:
            if (tones.seventh >= 0) return {tones.seventh, true};
            return own(tones.tension, 12);
        case Job::Tension: return own(tones.tension, 0);
    }
    return {0, true};
}

}  // namespace

int NearestWithPitchClass(int pitch, int pitchClass) {
    const int up = PitchClass(pitchClass - pitch);
    return up < 6 ? pitch + up : pitch + up - 12;
}

int MelodyInterval(ChordType source, ChordType target, int rel) {
    if (IsThirdOnChordWithoutThird(source, target, rel)) return 0;
    if (IsToneOf(target, rel)) return rel;
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
    if (IsThirdOnChordWithoutThird(source, target, rel)) return 0;
    const int sourceFifth = TonesOf(source).fifth;
    if (rel == sourceFifth) {
        if (!IsFifthVariant(table)) return rel;
        const int targetFifth = TonesOf(target).fifth;
        return targetFifth == 6 || targetFifth == 8 ? targetFifth : 7;
    }
    const bool toMinor = HasMinorThird(target);
    if (!toMinor && !HasMajorThird(target)) return rel;
    // A source without a third of its own (sus4, 1+5) has no quality to keep: its notes
    // take the quality of the chord held.
    const bool fromMinor = HasMinorThird(source);
    if ((fromMinor || HasMajorThird(source)) && fromMinor == toMinor) return rel;
    if (rel == 3 || rel == 4) return toMinor ? 3 : 4;
    if (ChangesSixth(table) && (rel == 8 || rel == 9)) return toMinor ? 8 : 9;
    if (ChangesSeventh(table) && (rel == 10 || rel == 11)) return toMinor ? 10 : 11;
    return rel;
}

int ChordTablePitch(const Chord& chord, ChordType sourceType, int sourceRoot, int moved) {
    const SourceTone tone = NearestSourceTone(sourceType, PitchClass(moved - sourceRoot));
    const int onTone = moved + tone.delta;
    const int toneInterval = PitchClass(onTone - sourceRoot);
    const TargetTone target = TargetToneFor(sourceType, chord.type, tone.job);
    const int pitchClass = chord.root + target.interval;
    // A job the chord lacks goes to the tone nearest to the note, but a seventh becomes
    // the root above: next to the root below, it would double it.
    if (!target.ownJob && target.interval != 12) return NearestWithPitchClass(onTone, pitchClass);
    // The source chord's root below the tone moves to the nearest root of the chord held,
    // and the job lies where it lay above that root: the part keeps its voicing.
    const int root = NearestWithPitchClass(onTone - toneInterval, chord.root);
    return NearestWithPitchClass(root + toneInterval, pitchClass);
}
