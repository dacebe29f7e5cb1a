// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "PlayStyles.h"
#include "PumpedOutput.h"
#include "TempDir.h"
#include "document/KorvaneDoc.h"
#include "play/Player.h"
#include "play/files/SoundFiles.h"

namespace {

// What a MIDI file of MidiFileBytes holds, read back: its notes and markers with their ticks.
struct MidiEvent {
    std::uint64_t tick;
    std::uint8_t status;  // 0xFF: a marker
    std::uint8_t key;
    std::uint8_t velocity;
    std::string text;
    bool operator==(const MidiEvent&) const = default;
};

std::uint32_t ReadVarLength(const std::vector<std::uint8_t>& bytes, std::size_t& pos) {
    std::uint32_t value = 0;
    while (bytes[pos] & 0x80) value = (value << 7) | (bytes[pos++] & 0x7F);
    return (value << 7) | bytes[pos++];
}

// The writer uses no running status, so every event starts with its status byte.
std::vector<MidiEvent> NotesAndMarkers(const std::vector<std::uint8_t>& file) {
    std::vector<MidiEvent> events;
    std::size_t pos = 22;
    std::uint64_t tick = 0;
    while (pos < file.size()) {
        tick += ReadVarLength(file, pos);
        const std::uint8_t status = file[pos++];
        if (status == 0xFF) {
            const std::uint8_t type = file[pos++];
            const std::uint32_t length = ReadVarLength(file, pos);
            if (type == 0x06)
                events.push_back({tick, 0xFF, 0, 0, std::string(file.begin() + pos, file.begin() + pos + length)});
            pos += length;
        } else if (status == 0xF0) {
            pos += ReadVarLength(file, pos);
        } else {
            const int kind = status >> 4;
            if (kind == 0x8 || kind == 0x9) events.push_back({tick, status, file[pos], file[pos + 1], {}});
            pos += (kind == 0xC || kind == 0xD) ? 1 : 2;
        }
    }
    return events;
}

std::vector<MidiEvent> NoteOns(const std::vector<MidiEvent>& events) {
    std::vector<MidiEvent> ons;
    for (const MidiEvent& e : events) {
        if ((e.status >> 4) == 0x9 && e.velocity > 0) ons.push_back(e);
    }
    return ons;
}

ChordPlan Chords(std::string_view text, int beats = 4) {
    ChordPlan plan;
    EXPECT_FALSE(Progression::Parse(text, beats, plan.progression)) << text;
    return plan;
}

// A style of 96 ticks a quarter whose "Main A" is bars of 4/4 (or what signature gives),
// its channels played by the given tables.
Bytes ChordStyle(const Bytes& mainA, const Bytes& tables, const Bytes& signature = TimeSignatureEvent(4, 2)) {
    return HeaderWithDivision(96) + Chunk("MTrk", BasicEvents() + signature + mainA) +
           Casm(Cseg(Sdec("Main A") + tables));
}

// One key a bar, a quarter long, for bars bars, on channel.
Bytes KeyEachBar(std::uint8_t channel, std::uint8_t key, int bars, std::uint32_t bar = 384) {
    Bytes events = MarkerAt(0, "Main A");
    for (int i = 0; i < bars; ++i)
        events += At(i == 0 ? 0 : bar - 96, std::uint8_t(0x90 | channel), key, 100) +
                  At(96, std::uint8_t(0x80 | channel), key, 0);
    return events + EndAt(bar - 96);
}

const CtabFields kBass{.source = 10, .part = 10, .ntr = 0, .ntt = 3, .rtr = 3};
const CtabFields kDrums{.source = 9, .part = 9, .ntr = 1, .ntt = 0};

std::vector<int> PitchClasses(const std::vector<MidiEvent>& ons) {
    std::vector<int> classes;
    for (const MidiEvent& e : ons) classes.push_back(e.key % 12);
    return classes;
}

TEST(ChordPlay, BassFollowsTheRootAndTheSlashBass) {
    const Timeline timeline = Build(ChordStyle(KeyEachBar(10, 36, 4), Ctab(kBass)));
    const std::vector<MidiEvent> ons =
        NoteOns(NotesAndMarkers(MidiFileBytes(timeline, kSectionMainA, 1, Chords("C | G7 | Dm7/G | F/A"))));
    EXPECT_EQ(PitchClasses(ons), (std::vector<int>{0, 7, 7, 9}));
    for (std::size_t i = 0; i < ons.size(); ++i) EXPECT_EQ(ons[i].tick, 384 * i) << i;
}

// Root fixed and no table: the drums play as recorded over any chord.
TEST(ChordPlay, DrumsPlayAsRecordedOverAnyProgression) {
    Bytes drums = MarkerAt(0, "Main A");
    for (std::uint8_t key : {36, 38, 42, 46, 49}) drums += At(0, 0x99, key, 90) + At(48, 0x89, key, 0);
    const Timeline timeline = Build(ChordStyle(drums + EndAt(1296), Ctab(kDrums)));
    const auto notes = [](const std::vector<MidiEvent>& events) {
        std::vector<MidiEvent> kept;
        for (const MidiEvent& e : events) {
            if (e.status != 0xFF) kept.push_back(e);
        }
        return kept;
    };
    const std::vector<MidiEvent> recorded = NotesAndMarkers(MidiFileBytes(timeline, kSectionMainA, 2, kAsRecorded));
    for (const char* progression : {"Am7 | F#dim | Bb7sus4 Eb", "NC", "C"}) {
        EXPECT_EQ(notes(NotesAndMarkers(MidiFileBytes(timeline, kSectionMainA, 2, Chords(progression)))),
                  notes(recorded))
            << progression;
    }
}

TEST(ChordPlay, ChannelMutedForAChordStrikesNothing) {
    struct Case {
        const char* what;
        CtabFields table;
        const char* chords;
        std::size_t notes;
    };
    CtabFields noMinor = kBass;
    noMinor.chordMute &= ~(std::uint64_t{1} << 8);  // Min
    CtabFields noA = kBass;
    noA.noteMute &= ~(1u << 9);
    const Case cases[] = {
        {"minor off, over Am", noMinor, "Am", 0},
        {"minor off, over A", noMinor, "A", 4},
        {"root A off, over Am", noA, "Am", 0},
        {"root A off, over Am | C", noA, "Am | C", 2},
    };
    for (const Case& c : cases) {
        const Timeline timeline = Build(ChordStyle(KeyEachBar(10, 36, 4), Ctab(c.table)));
        const std::vector<MidiEvent> events =
            NotesAndMarkers(MidiFileBytes(timeline, kSectionMainA, 1, Chords(c.chords)));
        EXPECT_EQ(NoteOns(events).size(), c.notes) << c.what;
        // A key not struck sends no note-off either.
        std::size_t offs = 0;
        for (const MidiEvent& e : events) offs += (e.status >> 4) == 0x8;
        EXPECT_EQ(offs, c.notes) << c.what;
    }
}

// A key held over the change from C to F: stopped, or struck again at F's pitch with its
// own velocity, as the retrigger rule says; kept where the new chord leaves it in place.
TEST(ChordPlay, HeldKeyAtAChordChangeFollowsTheRetriggerRule) {
    struct Case {
        const char* what;
        std::uint8_t rtr;
        const char* chords;
        std::vector<MidiEvent> expected;
    };
    const Case cases[] = {
        {"stop", 0, "C | F", {{0, 0x9A, 36, 77, {}}, {384, 0x8A, 36, 0, {}}}},
        {"retrigger",
         3,
         "C | F",
         {{0, 0x9A, 36, 77, {}}, {384, 0x8A, 36, 0, {}}, {384, 0x9A, 41, 77, {}}, {576, 0x8A, 41, 0, {}}}},
        {"retrigger, no move", 3, "C | C7", {{0, 0x9A, 36, 77, {}}, {576, 0x8A, 36, 0, {}}}},
    };
    for (const Case& c : cases) {
        CtabFields table = kBass;
        table.rtr = c.rtr;
        const Timeline timeline = Build(
            ChordStyle(MarkerAt(0, "Main A") + At(0, 0x9A, 36, 77) + At(576, 0x8A, 36, 0) + EndAt(192), Ctab(table)));
        std::vector<MidiEvent> notes;
        for (const MidiEvent& e : NotesAndMarkers(MidiFileBytes(timeline, kSectionMainA, 1, Chords(c.chords)))) {
            if (e.status != 0xFF) notes.push_back(e);
        }
        EXPECT_EQ(notes, c.expected) << c.what;
    }
}

TEST(ChordPlay, StyleWithoutCasmPlaysChannelsNineToSixteenOnly) {
    Bytes events = MarkerAt(0, "Main A");
    for (std::uint8_t channel = 0; channel < 16; ++channel) events += At(0, std::uint8_t(0x90 | channel), 60, 100);
    const Timeline timeline = Build(PlayStyle(96, events + EndAt(96)));
    EXPECT_FALSE(timeline.rules.fromCasm);
    std::vector<int> channels;
    for (const MidiEvent& e : NoteOns(NotesAndMarkers(MidiFileBytes(timeline, kSectionMainA, 1, ChordPlan{}))))
        channels.push_back(e.status & 0x0F);
    EXPECT_EQ(channels, (std::vector<int>{8, 9, 10, 11, 12, 13, 14, 15}));
}

// As recorded, the chord cursor gives exactly what the play cursor gives.
TEST(ChordPlay, AsRecordedPassesEveryEventThrough) {
    Bytes events = MarkerAt(0, "Main A");
    for (std::uint8_t channel : {0, 3, 10}) events += At(5, std::uint8_t(0x90 | channel), 50, 100);
    events += At(0, 0xB3, 64, 127) + At(100, 0x83, 50, 0) + MarkerAt(10, "Main B") + At(0, 0x90, 61, 1) + EndAt(96);
    const Timeline timeline = Build(PlayStyle(96, events));
    PlayCursor plain(timeline, kSectionMainA, 3);
    ChordCursor chords(timeline, kSectionMainA, 3, kAsRecorded);
    TimelineEvent a, b;
    std::uint64_t ta = 0, tb = 0;
    int count = 0;
    while (plain.Peek(a, ta)) {
        ASSERT_TRUE(chords.Peek(b, tb)) << count;
        EXPECT_EQ(std::tie(ta, a.kind, a.status, a.data1, a.data2), std::tie(tb, b.kind, b.status, b.data1, b.data2))
            << count++;
        plain.Advance();
        chords.Advance();
    }
    EXPECT_FALSE(chords.Peek(b, tb));
}

// Sections and chord changes are marked, the chord as written; a 3/4 bar is three quarters.
TEST(ChordPlay, MidiFileMarksSectionsAndChordsAsWritten) {
    struct Case {
        const char* chords;
        int beats;
        Bytes signature;
        std::vector<MidiEvent> markers;
    };
    const Case cases[] = {
        {"Dm7 | G7",
         4,
         TimeSignatureEvent(4, 2),
         {{0, 0xFF, 0, 0, "Main A"},
          {0, 0xFF, 0, 0, "Dm7"},
          {384, 0xFF, 0, 0, "G7"},
          {768, 0xFF, 0, 0, "Main A"},
          {768, 0xFF, 0, 0, "Dm7"},
          {1152, 0xFF, 0, 0, "G7"}}},
        {"CM7 | %",
         4,
         TimeSignatureEvent(4, 2),
         {{0, 0xFF, 0, 0, "Main A"}, {0, 0xFF, 0, 0, "CM7"}, {768, 0xFF, 0, 0, "Main A"}}},
        {"C | F",
         3,
         TimeSignatureEvent(3, 2),
         {{0, 0xFF, 0, 0, "Main A"},
          {0, 0xFF, 0, 0, "C"},
          {288, 0xFF, 0, 0, "F"},
          {576, 0xFF, 0, 0, "C"},
          {768, 0xFF, 0, 0, "Main A"},
          {864, 0xFF, 0, 0, "F"},
          {1152, 0xFF, 0, 0, "C"},
          {1440, 0xFF, 0, 0, "F"}}},
    };
    for (const Case& c : cases) {
        const Timeline timeline = Build(ChordStyle(KeyEachBar(10, 36, 2), Ctab(kBass), c.signature));
        std::vector<MidiEvent> markers;
        for (const MidiEvent& e :
             NotesAndMarkers(MidiFileBytes(timeline, kSectionMainA, 2, Chords(c.chords, c.beats)))) {
            if (e.status == 0xFF) markers.push_back(e);
        }
        EXPECT_EQ(markers, c.markers) << c.chords;
    }
}

// The first fault of a note stream a sequencer would show: a key struck while it sounds,
// a note-off for a silent key, a note of no length, a key left sounding; "" for none.
std::string FirstUnbalancedNote(const std::vector<MidiEvent>& events) {
    std::map<std::pair<int, int>, std::uint64_t> sounding;  // channel and key: since when
    for (const MidiEvent& e : events) {
        if (e.status == 0xFF) continue;
        const std::pair<int, int> key{e.status & 0x0F, e.key};
        const std::string where = "channel " + std::to_string(key.first + 1) + " key " + std::to_string(e.key) +
                                  " at " + std::to_string(e.tick);
        const bool on = (e.status >> 4) == 0x9 && e.velocity > 0;
        const auto found = sounding.find(key);
        if (on && found != sounding.end()) return "struck while sounding: " + where;
        if (!on && found == sounding.end()) return "note-off for a silent key: " + where;
        if (!on && found->second == e.tick) return "no length: " + where;
        if (on) {
            sounding[key] = e.tick;
        } else {
            sounding.erase(found);
        }
    }
    return sounding.empty() ? "" : "left sounding: " + std::to_string(sounding.size()) + " keys";
}

// Events at absolute ticks, in the given order where ticks are equal, as a track's bytes.
Bytes InTime(std::vector<std::tuple<std::uint32_t, std::uint8_t, std::uint8_t, std::uint8_t>> events,
             std::uint32_t end) {
    std::stable_sort(events.begin(), events.end(),
                     [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });
    Bytes bytes = MarkerAt(0, "Main A");
    std::uint32_t now = 0;
    for (const auto& [tick, status, key, velocity] : events) {
        bytes += At(tick - now, status, key, velocity);
        now = tick;
    }
    return bytes + EndAt(end - now);
}

// A C Maj7 chord part recorded as a block, a strum and an arpeggio, each on a channel of
// its own (root fixed on 11-13, root transposition on 14-16), over one bar of each of the
// 34 chord types: all three sound the same pitch classes in every bar, the block strikes
// four keys wherever the chord has three tones or more, and no key is struck twice.
TEST(ChordPlay, BlockStrumAndArpeggioSoundTheSameOnEveryChordType) {
    const std::vector<int> notes = {60, 64, 67, 71};
    std::vector<std::tuple<std::uint32_t, std::uint8_t, std::uint8_t, std::uint8_t>> events;
    Bytes tables;
    for (std::uint8_t channel = 10; channel < 16; ++channel) {
        const int how = (channel - 10) % 3;  // block, strum, arpeggio
        for (std::size_t i = 0; i < notes.size(); ++i) {
            const auto key = static_cast<std::uint8_t>(notes[i]);
            const auto start = static_cast<std::uint32_t>(how == 0 ? 0 : how == 1 ? 10 * i : 48 * i);
            events.emplace_back(start, std::uint8_t(0x90 | channel), key, 100);
            events.emplace_back(how == 2 ? start + 48 : 288, std::uint8_t(0x80 | channel), key, 0);
        }
        tables += Ctab({.source = channel, .part = 11, .ntr = std::uint8_t(channel < 13 ? 1 : 0), .ntt = 2, .rtr = 3});
    }
    std::string progression;
    for (int type = 0; type < kChordTypeCount; ++type) {
        const Chord chord{static_cast<std::uint8_t>(type * 7 % 12), static_cast<ChordType>(type), -1, false};
        progression += (type ? " | " : "") + ChordText(chord);
    }
    const Timeline timeline = Build(ChordStyle(InTime(events, 384), tables));
    const std::vector<MidiEvent> played =
        NotesAndMarkers(MidiFileBytes(timeline, kSectionMainA, kChordTypeCount, Chords(progression)));
    EXPECT_EQ(FirstUnbalancedNote(played), "");
    std::map<std::pair<int, std::uint64_t>, std::set<int>> pitchClasses;  // channel and bar
    std::map<std::uint64_t, int> blockKeys;
    for (const MidiEvent& e : NoteOns(played)) {
        pitchClasses[{e.status & 0x0F, e.tick / 384}].insert(e.key % 12);
        if ((e.status & 0x0F) == 10) ++blockKeys[e.tick / 384];
    }
    for (int type = 0; type < kChordTypeCount; ++type) {
        const auto bar = static_cast<std::uint64_t>(type);
        for (const int channel : {11, 12, 14, 15}) {
            const std::pair<int, std::uint64_t> same{channel, bar}, block{channel < 13 ? 10 : 13, bar};
            EXPECT_EQ(pitchClasses[same], pitchClasses[block])
                << "channel " << channel + 1 << " bar " << bar + 1;
        }
        if (TonesOf(static_cast<ChordType>(type)).count >= 3) {
            EXPECT_EQ(blockKeys[bar], 4) << "bar " << bar + 1;
        }
    }
}

// A block held across chord changes and struck again at each (retrigger): where two
// keys land on one pitch, or a restrike on a pitch still sounding, it is struck once.
TEST(ChordPlay, RestrikesAtAChangeNeverStrikeASoundingKey) {
    std::vector<std::tuple<std::uint32_t, std::uint8_t, std::uint8_t, std::uint8_t>> events;
    for (const std::uint8_t key : {48, 60, 64, 67, 71, 72}) {
        events.emplace_back(0, 0x9B, key, 100);
        events.emplace_back(384, 0x8B, key, 0);
    }
    const Timeline timeline = Build(ChordStyle(InTime(events, 384), Ctab({.source = 11, .part = 11, .ntr = 1, .ntt = 2, .rtr = 3})));
    for (const char* chords : {"C C1+8 | Bb C5", "C7 Am | F#dim Gsus4", "Dm7 D1+8 Bb Eb"}) {
        const std::vector<MidiEvent> played = NotesAndMarkers(MidiFileBytes(timeline, kSectionMainA, 2, Chords(chords)));
        EXPECT_EQ(FirstUnbalancedNote(played), "") << chords;
    }
}

// "C F" with E3 ending on beat 3, or struck again there, where a bass note-on comes
// first in the file at that tick: the ended note is not struck again as a note of no
// length at the change.
TEST(ChordPlay, ANoteEndingOnTheChangeIsNotStruckAgain) {
    using Event = std::tuple<std::uint32_t, std::uint8_t, std::uint8_t, std::uint8_t>;
    struct Case {
        const char* what;
        std::vector<Event> phrase;
        std::vector<MidiEvent> played;
    };
    const Case cases[] = {
        {"ends", {{0, 0x9D, 64, 90}, {192, 0x8D, 64, 0}}, {{0, 0x9D, 64, 90, {}}, {192, 0x8D, 64, 0, {}}}},
        {"struck again",
         {{0, 0x9D, 64, 90}, {192, 0x9D, 64, 80}, {288, 0x8D, 64, 0}},
         {{0, 0x9D, 64, 90, {}}, {192, 0x8D, 64, 0, {}}, {192, 0x9D, 69, 80, {}}, {288, 0x8D, 69, 0, {}}}},
    };
    const Bytes tables = Ctab({.source = 13, .part = 13, .ntr = 0, .ntt = 1, .rtr = 3}) + Ctab(kBass);
    for (const Case& c : cases) {
        std::vector<Event> events = {{0, 0x9D, 64, 90}, {192, 0x9A, 36, 90}, {288, 0x8A, 36, 0}};
        events.insert(events.begin() + 2, c.phrase.begin() + 1, c.phrase.end());
        const std::vector<MidiEvent> played = NotesAndMarkers(
            MidiFileBytes(Build(ChordStyle(InTime(events, 384), tables)), kSectionMainA, 1, Chords("C F")));
        EXPECT_EQ(FirstUnbalancedNote(played), "") << c.what;
        std::vector<MidiEvent> phrase;
        for (const MidiEvent& e : played) {
            if (e.status != 0xFF && (e.status & 0x0F) == 13) phrase.push_back(e);
        }
        EXPECT_EQ(phrase, c.played) << c.what;
    }
}

// Eb3 and E3 overlapping, both the minor third over Cm: the key sounds once, from the
// first note-on to the last note-off.
TEST(ChordPlay, TwoKeysOnOnePitchSoundItOnceUntilTheLastEnds) {
    const Bytes section = InTime({{0, 0x9D, 63, 90}, {100, 0x9D, 64, 80}, {200, 0x8D, 63, 0}, {300, 0x8D, 64, 0}}, 384);
    const Bytes tables = Ctab({.source = 13, .part = 13, .ntr = 0, .ntt = 1});
    std::vector<MidiEvent> notes;
    for (const MidiEvent& e :
         NotesAndMarkers(MidiFileBytes(Build(ChordStyle(section, tables)), kSectionMainA, 1, Chords("Cm")))) {
        if (e.status != 0xFF) notes.push_back(e);
    }
    EXPECT_EQ(notes, (std::vector<MidiEvent>{{0, 0x9D, 63, 90, {}}, {300, 0x8D, 63, 0, {}}}));
}

// The live player: a chord held while a key sounds moves it at once (bass retriggers),
// and the next key is struck in the new chord; the status names the chord.
class LiveChords : public testing::Test {
protected:
    LiveChords()
        : player([this](PlayError&) {
              auto made = std::make_unique<PumpedOutput>();
              output = made.get();
              return made;
          }) {}

    void Open(const CtabFields& table) {
        // 480 ticks a quarter at 120 bpm: a bass key each half note, a quarter long.
        Bytes section = MarkerAt(0, "Main A");
        for (int i = 0; i < 4; ++i) section += At(i == 0 ? 0 : 480, 0x9A, 36, 100) + At(480, 0x8A, 36, 0);
        const Bytes style = HeaderWithDivision(480) +
                            Chunk("MTrk", BasicEvents() + TempoAt(0, 500000) + section + EndAt(480)) +
                            Casm(Cseg(Sdec("Main A") + Ctab(table)));
        ASSERT_TRUE(doc.OnOpenDocument(dir.Write("Live.sty", style)));
    }

    TempDir dir;
    CKorvaneDoc doc;
    PumpedOutput* output = nullptr;
    CStylePlayer player;
};

TEST_F(LiveChords, HeldChordIsHeardWithinOneBlock) {
    Open(kBass);
    EXPECT_EQ(player.Status().chord, "");  // none given: C Maj7 sounds, and nothing is named
    ASSERT_FALSE(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "font.sf2"));
    output->Pump(4096);  // inside the first key
    ASSERT_EQ(output->synth.NoteOns().size(), 1u);
    EXPECT_EQ(output->synth.NoteOns()[0].data1, 36);
    player.HoldChord(*ParseChord("G"));
    const std::uint64_t held = output->synth.samples;
    output->Pump(512);
    EXPECT_EQ(player.Status().chord, "G");
    std::vector<SentMessage> ons = output->synth.NoteOns();
    ASSERT_EQ(ons.size(), 2u);
    EXPECT_EQ(ons[1], (SentMessage{held, 0x9A, 31, 100}));
    output->Pump(44100);
    ons = output->synth.NoteOns();
    ASSERT_GE(ons.size(), 3u);
    EXPECT_EQ(ons[2].data1, 31);
}

// A channel whose autostart is off waits for the first chord given; a progression
// starts at the next bar line.
TEST_F(LiveChords, AutostartOffWaitsForAChordAndProgressionForTheBar) {
    CtabFields waits = kBass;
    waits.autostart = false;
    Open(waits);
    ASSERT_FALSE(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "font.sf2"));
    output->Pump(22050);
    EXPECT_TRUE(output->synth.NoteOns().empty());
    Progression progression;
    ASSERT_FALSE(Progression::Parse("F | G", 4, progression));
    player.FollowProgression(progression);
    output->Pump(44100 * 2 - 22050);  // to the end of the first bar
    EXPECT_TRUE(output->synth.NoteOns().empty());
    output->Pump(44100);
    const std::vector<SentMessage> ons = output->synth.NoteOns();
    ASSERT_FALSE(ons.empty());
    EXPECT_EQ(ons[0].data1 % 12, 5);
    EXPECT_EQ(player.Status().chord, "F");
}

}  // namespace
