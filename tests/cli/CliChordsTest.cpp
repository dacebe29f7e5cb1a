// SPDX-License-Identifier: GPL-3.0-or-later
// render -o OUT.mid on a chord progression, read back note by note: each channel
// through the rules of its channel table, SFF1 and SFF2, end to end through the file.
#include <gtest/gtest.h>

#include <algorithm>

#include "MidiNotes.h"
#include "NoteNames.h"
#include "RunProgram.h"
#include "StyleBytes.h"
#include "TempDir.h"

namespace {

constexpr std::uint32_t kQuarter = 120;  // HeaderChunk's ticks per quarter note
constexpr std::uint32_t kBar = 4 * kQuarter;

struct Hit {
    std::uint32_t tick;
    int key;
    std::uint32_t length;
};

// Hits one after another, step ticks apart, each sounding a little less than a step.
std::vector<Hit> HitsOf(std::string_view names, std::uint32_t step = kQuarter) {
    std::vector<Hit> hits;
    for (const int key : NotesNamed(names)) {
        hits.push_back({static_cast<std::uint32_t>(hits.size()) * step, key, step - 10});
    }
    return hits;
}

// The note-ons and note-offs of hits on channel, delta-timed, then the end of the track
// at tick end.
Bytes NoteEvents(int channel, const std::vector<Hit>& hits, std::uint32_t end) {
    struct Timed {
        std::uint32_t tick;
        bool on;
        int key;
    };
    std::vector<Timed> timed;
    for (const Hit& hit : hits) {
        timed.push_back({hit.tick, true, hit.key});
        timed.push_back({hit.tick + hit.length, false, hit.key});
    }
    std::stable_sort(timed.begin(), timed.end(), [](const Timed& a, const Timed& b) {
        return a.tick < b.tick || (a.tick == b.tick && !a.on && b.on);
    });
    Bytes events;
    std::uint32_t now = 0;
    for (const Timed& t : timed) {
        events += Bytes::VarLen(t.tick - now) +
                  Bytes{std::uint8_t(0x90 | channel), std::uint8_t(t.key), std::uint8_t(t.on ? 100 : 0)};
        now = t.tick;
    }
    return events + Bytes::VarLen(end - now) + Bytes{0xFF, 0x2F, 0x00};
}

// One 4/4 bar of "Main A" with hits on the table's channel, and a CASM whose one
// channel table (a "Ctab", or a "Ctb2" with three equal zones) gives that channel's rules.
Bytes OneBarStyle(bool sff2, ChannelTableFields table, const std::vector<Hit>& hits) {
    const Bytes events = (sff2 ? BasicSff2Events() : BasicEvents()) + TempoEvent(500000) + TimeSignatureEvent(4, 2) +
                         MarkerEvent("Main A") + NoteEvents(table.source, hits, kBar);
    table.low = table.high = table.middle;
    return StyleFile(events, Casm(Cseg(Sdec("Main A") + (sff2 ? Ctb2(table) : Ctab(table)))));
}

std::string NoteList(std::vector<int> keys) {
    std::sort(keys.begin(), keys.end());
    std::string text;
    for (const int key : keys) {
        static constexpr const char* kNames[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
        text += (text.empty() ? "" : " ") + std::string(kNames[key % 12]) + std::to_string(key / 12 - 2);
    }
    return text;
}

class CliChords : public testing::Test {
protected:
    ProgramResult Run(const std::vector<std::string>& args) {
        return RunProgram(KORVANE_CLI_PATH, args, scratch.path());
    }

    // Renders style to a MIDI file with the arguments before it and reads it back.
    MidiContent Render(const Bytes& style, std::vector<std::string> args) {
        const auto in = dir.Write("Chords.sty", style);
        const auto out = dir / "Out.mid";
        std::filesystem::remove(out);
        args.insert(args.begin(), "render");
        for (const std::string& arg : {std::string("-o"), out.string(), in.string()}) args.push_back(arg);
        const ProgramResult result = Run(args);
        EXPECT_EQ(result.status, 0) << result.err;
        return ReadMidi(ReadFileBytes(out).data);
    }

    TempDir dir;
    TempDir scratch;
};

// Each bar's notes, lowest first, as names ("C3 E3 G3"); "" for a silent bar.
std::vector<std::string> NotesByBar(const MidiContent& midi, int bars) {
    std::vector<std::vector<int>> keys(static_cast<std::size_t>(bars));
    const std::uint64_t bar = 4u * static_cast<std::uint64_t>(midi.division);
    for (const MidiNote& note : midi.notes) {
        if (note.on / bar < keys.size()) keys[note.on / bar].push_back(note.key);
    }
    std::vector<std::string> texts;
    for (const std::vector<int>& k : keys) texts.push_back(NoteList(k));
    return texts;
}

struct BarCase {
    const char* rules;
    ZoneFields zone;         // with the SFF1 table number
    std::uint8_t sff2Ntt;    // the same table as SFF2 numbers it
    std::uint8_t part = 14;  // Phrase 1
    std::uint16_t noteMute = 0x0FFF;
    std::uint64_t chordMute = kEveryChordType;
    const char* source = "C3 E3 G3";
    std::uint32_t step = kQuarter;
    const char* chords = "C";
    std::vector<std::string> bars;  // what each bar plays, one bar a chord
};

void PrintTo(const BarCase& c, std::ostream* os) { *os << c.rules << " over " << c.chords; }

class ChordsThroughTheFile : public CliChords, public testing::WithParamInterface<std::tuple<BarCase, bool>> {};

TEST_P(ChordsThroughTheFile, EachBarPlaysItsChord) {
    const auto& [c, sff2] = GetParam();
    ChannelTableFields table;
    table.part = c.part;
    table.noteMute = c.noteMute;
    table.chordMute = c.chordMute;
    table.middle = c.zone;
    if (sff2) table.middle.ntt = c.sff2Ntt;
    const int bars = static_cast<int>(c.bars.size());
    const MidiContent midi = Render(OneBarStyle(sff2, table, HitsOf(c.source, c.step)),
                                    {"--chords", c.chords, "--loops", std::to_string(bars)});
    EXPECT_EQ(NotesByBar(midi, bars), c.bars) << c.rules << (sff2 ? " (SFF2)" : " (SFF1)");
}

constexpr std::uint16_t kAllRootsButA = 0x0FFF & ~(1u << 9);
constexpr std::uint64_t kAllTypesButMinor = kEveryChordType & ~(std::uint64_t{1} << 8);

INSTANTIATE_TEST_SUITE_P(Rules, ChordsThroughTheFile,
                         testing::Combine(testing::Values(BarCase{"root transposition, melody, high key F",
                                                                  {0, 1, 5},
                                                                  1,
                                                                  14,
                                                                  0x0FFF,
                                                                  kEveryChordType,
                                                                  "C3 E3 G3",
                                                                  kQuarter,
                                                                  "C | C# | D | F | F#",
                                                                  {"C3 E3 G3", "C#3 F3 G#3", "D3 F#3 A3", "F3 A3 C4",
                                                                   "F#2 A#2 C#3"}},
                                                          BarCase{"root fixed, chord",
                                                                  {1, 2, 5},
                                                                  2,
                                                                  14,
                                                                  0x0FFF,
                                                                  kEveryChordType,
                                                                  "C3 E3 G3",
                                                                  kQuarter,
                                                                  "C | F | Cm",
                                                                  {"C3 E3 G3", "F3 A3 C4", "C3 D#3 G3"}},
                                                          BarCase{"root transposition, melody, limits C3-D4",
                                                                  {0, 1, 5, 60, 74},
                                                                  1,
                                                                  14,
                                                                  0x0FFF,
                                                                  kEveryChordType,
                                                                  "C4 E4 G4",
                                                                  kQuarter,
                                                                  "C | C# | D#",
                                                                  {"E3 G3 C4", "F3 G#3 C#4", "D#3 G3 A#3"}},
                                                          BarCase{"melodic minor",
                                                                  {0, 4, 5},
                                                                  3,
                                                                  14,
                                                                  0x0FFF,
                                                                  kEveryChordType,
                                                                  "C3 D3 E3 G3 A3 B3",
                                                                  kQuarter / 2,
                                                                  "Cm",
                                                                  {"C3 D3 D#3 G3 A3 B3"}},
                                                          BarCase{"harmonic minor",
                                                                  {0, 5, 5},
                                                                  5,
                                                                  14,
                                                                  0x0FFF,
                                                                  kEveryChordType,
                                                                  "C3 D3 E3 G3 A3 B3",
                                                                  kQuarter / 2,
                                                                  "Cm",
                                                                  {"C3 D3 D#3 G3 G#3 B3"}},
                                                          BarCase{"bass: melody with bass on",
                                                                  {0, 3, 5},
                                                                  0x81,
                                                                  10,
                                                                  0x0FFF,
                                                                  kEveryChordType,
                                                                  "C2",
                                                                  kQuarter,
                                                                  "G7 | Dm7/G | Am | F/A",
                                                                  {"G1", "G2", "A1", "A2"}},
                                                          BarCase{"note mute without A",
                                                                  {0, 1, 5},
                                                                  1,
                                                                  14,
                                                                  kAllRootsButA,
                                                                  kEveryChordType,
                                                                  "C3 E3 G3",
                                                                  kQuarter,
                                                                  "C | Am | A | Am7",
                                                                  {"C3 E3 G3", "", "", ""}},
                                                          BarCase{"chord mute without minor",
                                                                  {0, 1, 5},
                                                                  1,
                                                                  14,
                                                                  0x0FFF,
                                                                  kAllTypesButMinor,
                                                                  "C3 E3 G3",
                                                                  kQuarter,
                                                                  "C | Am | A | Am7",
                                                                  {"C3 E3 G3", "", "A2 C#3 E3", "A2 C3 E3"}}),
                                          testing::Bool()),
                         [](const testing::TestParamInfo<std::tuple<BarCase, bool>>& info) {
                             std::string name;
                             for (const char* c = std::get<0>(info.param).rules; *c; ++c) {
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             }
                             return name + (std::get<1>(info.param) ? "_Sff2" : "_Sff1");
                         });

// A note held over a chord change: the retrigger rule stops it, or strikes it again
// where the new chord puts it.
TEST_F(CliChords, HeldNoteFollowsItsRetriggerRule) {
    const struct {
        std::uint8_t rtr;
        std::vector<MidiNote> notes;
    } cases[] = {
        {0, {{0, 2 * kQuarter, 13, NoteNamed("E3")}}},
        {3, {{0, 2 * kQuarter, 13, NoteNamed("E3")}, {2 * kQuarter, kBar - 10, 13, NoteNamed("A3")}}},
    };
    for (const bool sff2 : {false, true}) {
        for (const auto& c : cases) {
            ChannelTableFields table;
            table.middle = {0, 1, 5, 0, 127, c.rtr};
            const MidiContent midi = Render(OneBarStyle(sff2, table, {{0, NoteNamed("E3"), kBar - 10}}),
                                            {"--chords", "C F", "--loops", "1"});
            ASSERT_EQ(midi.division, static_cast<int>(kQuarter));
            EXPECT_EQ(midi.notes, c.notes) << "retrigger rule " << int(c.rtr) << (sff2 ? " SFF2" : " SFF1");
        }
    }
}

// The markers a player shows: the section's name where it starts, each chord change's
// symbol as the progression wrote it ("CM7" stays "CM7", "%" repeats the bar's symbols).
TEST_F(CliChords, MarkersNameTheSectionAndEachChordAsWritten) {
    ChannelTableFields table;
    const MidiContent midi =
        Render(OneBarStyle(false, table, HitsOf("C3")), {"--chords", "CM7 | Am7 F | %", "--loops", "4"});
    std::vector<MidiMarker> chords;
    std::vector<std::uint64_t> sections;
    for (const MidiMarker& marker : midi.markers) {
        if (marker.text == "Main A") {
            sections.push_back(marker.tick);
        } else {
            chords.push_back(marker);
        }
    }
    ASSERT_FALSE(sections.empty());
    EXPECT_EQ(sections.front(), 0u);
    EXPECT_EQ(chords, (std::vector<MidiMarker>{{0, "CM7"},
                                               {kBar, "Am7"},
                                               {kBar + 2 * kQuarter, "F"},
                                               {2 * kBar, "Am7"},
                                               {2 * kBar + 2 * kQuarter, "F"},
                                               {3 * kBar, "CM7"}}));
}

// Channels 1-8 play only where a CASM gives them rules, drums (channels 9 and 10 without
// a CASM) keep their notes over any chord; --as-recorded plays every channel as stored and
// marks no chord.
TEST_F(CliChords, AsRecordedPlaysEveryChannelAsStoredAndTheRulesDoNot) {
    const Bytes events = BasicEvents() + TempoEvent(500000) + TimeSignatureEvent(4, 2) + MarkerEvent("Main A") +
                         NoteOn(0, 60, 100) + NoteOn(9, 36, 100) + NoteOn(14, NoteNamed("E3"), 100) +
                         Bytes{0x83, 0x60, 0x80, 60, 0} + Bytes{0x00, 0x89, 36, 0} +
                         Bytes{0x00, 0x8E, std::uint8_t(NoteNamed("E3")), 0} + EndOfTrack();
    const Bytes style = StyleFile(events);
    auto keys = [](const MidiContent& midi) {
        std::vector<std::pair<int, int>> played;
        for (const MidiNote& note : midi.notes) played.push_back({note.channel + 1, note.key});
        std::sort(played.begin(), played.end());
        return played;
    };
    using Played = std::vector<std::pair<int, int>>;
    const MidiContent recorded = Render(style, {"--as-recorded", "--loops", "1"});
    EXPECT_EQ(keys(recorded), (Played{{1, 60}, {10, 36}, {15, NoteNamed("E3")}}));
    for (const MidiMarker& marker : recorded.markers) EXPECT_EQ(marker.text, "Main A");
    EXPECT_EQ(keys(Render(style, {"--loops", "1"})), (Played{{10, 36}, {15, NoteNamed("E3")}})) << "C Maj7 held";
    EXPECT_EQ(keys(Render(style, {"--chords", "F", "--loops", "1"})), (Played{{10, 36}, {15, NoteNamed("A3")}}));
}

struct RefusedProgression {
    std::string chords;
    std::string message;
};

// A progression that does not read is refused with the chord and its bar, before
// anything is written; with --json as one object, as any failed render answers.
TEST_F(CliChords, ProgressionThatDoesNotReadWritesNothing) {
    const auto in = dir.Write("Chords.sty", OneBarStyle(false, ChannelTableFields{}, HitsOf("C3")));
    const auto out = dir / "Out.mid";
    const RefusedProgression cases[] = {
        {"C | Am7 | Xyz7",
         "The chord \"Xyz7\" in bar 3 is not known!\n\n(Write a root C to B, maybe with # or b, a chord type such as "
         "m7, 7sus4 or dim, and /BASS for another bass note; NC for no chord.)"},
        {"C D E F G", "Bar 1 holds 5 chords, but a bar of this style has only 4 beats!"},
        {"% | C", "Bar 1 of the chord progression repeats the bar before it (\"%\"), but there is none!"},
#ifndef _WIN32
        // Bytes that are no UTF-8 never reach a message, the JSON answer or a marker as such
        // (Windows hands a program its arguments as UTF-16, which always converts).
        {"C | X\xFF",
         "The chord \"X\xEF\xBF\xBD\" in bar 2 is not known!\n\n(Write a root C to B, maybe with # or b, a chord type "
         "such as m7, 7sus4 or dim, and /BASS for another bass note; NC for no chord.)"},
#endif
    };
    for (const RefusedProgression& c : cases) {
        const ProgramResult plain = Run({"render", "--chords", c.chords, "-o", out.string(), in.string()});
        EXPECT_EQ(plain.status, 1) << c.chords;
        EXPECT_EQ(plain.out, "");
        EXPECT_EQ(plain.err, in.string() + ":\n" + c.message + "\n");
        const ProgramResult json = Run({"render", "--json", "--chords", c.chords, "-o", out.string(), in.string()});
        EXPECT_EQ(json.status, 1) << c.chords;
        EXPECT_NE(json.out.find("\"error\": \"" + c.message.substr(0, 9)), std::string::npos) << json.out;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.chords;
    }
}

#ifdef KORVANE_WITH_FLUIDSYNTH
// play refuses such a progression for the file, before any sound, and goes on to the next.
TEST_F(CliChords, PlayRefusesAProgressionThatDoesNotRead) {
    const auto in = dir.Write("Chords.sty", OneBarStyle(false, ChannelTableFields{}, HitsOf("C3")));
    const ProgramResult result = Run({"play", "--chords", "C G H", in.string(), in.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    const std::string refusal = in.string() +
                                ":\nThe chord \"H\" in bar 1 is not known!\n\n(Write a root C to B, maybe with # or b, "
                                "a chord type such as m7, "
                                "7sus4 or dim, and /BASS for another bass note; NC for no chord.)\n";
    EXPECT_EQ(result.err, refusal + refusal);
}
#endif

TEST_F(CliChords, HelpListsTheChordOptions) {
    const ProgramResult help = Run({"--help"});
    EXPECT_NE(help.out.find("\n  --chords TEXT           the chords held, bar by bar: \"C | Am7 | F G7 | %\""),
              std::string::npos)
        << help.out;
    EXPECT_NE(help.out.find("\n  --as-recorded           every channel as the style stores it, without its\n"),
              std::string::npos);
}

// render --json lists the chords over what the render played, bar and beat from 1, the
// progression looping; --verbose says the same for people.
TEST_F(CliChords, RenderListsTheChordsPlayed) {
    const auto in = dir.Write("Chords.sty", OneBarStyle(false, ChannelTableFields{}, HitsOf("C3")));
    const auto out = dir / "Out.mid";
    const ProgramResult json =
        Run({"render", "--json", "--chords", "Cmaj7 | Dm7 G7", "--loops", "3", "-o", out.string(), in.string()});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"chords\": [{\"bar\": 1, \"beat\": 1, \"chord\": \"Cmaj7\"}, "
                            "{\"bar\": 2, \"beat\": 1, \"chord\": \"Dm7\"}, {\"bar\": 2, \"beat\": 3, "
                            "\"chord\": \"G7\"}, {\"bar\": 3, \"beat\": 1, \"chord\": \"Cmaj7\"}]"),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"casmDamage\": null"), std::string::npos) << json.out;

    const ProgramResult verbose =
        Run({"render", "--verbose", "--chords", "Cmaj7 | Dm7 G7", "--loops", "2", "-o", out.string(), in.string()});
    EXPECT_EQ(verbose.status, 0);
    EXPECT_EQ(verbose.err, "Bar 1, beat 1: Cmaj7\nBar 2, beat 1: Dm7\nBar 2, beat 3: G7\n");

    const ProgramResult recorded = Run({"render", "--json", "--as-recorded", "-o", out.string(), in.string()});
    EXPECT_NE(recorded.out.find("\"chords\": []"), std::string::npos) << recorded.out;
}

// A CASM holding a number that names no rule is played as if the style had none: the
// render goes on, and says why, on standard error or in its JSON object.
TEST_F(CliChords, DamagedCasmIsSaidAndTheRenderGoesOn) {
    ChannelTableFields table;
    table.middle.rtr = 9;
    const auto in = dir.Write("Chords.sty", OneBarStyle(false, table, HitsOf("E3")));
    const auto out = dir / "Out.mid";
    const std::string damage = "Invalid CASM structure (at: 0x";
    const ProgramResult plain = Run({"render", "--chords", "F", "--loops", "1", "-o", out.string(), in.string()});
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.err.rfind(in.string() + ":\n" + damage, 0), 0u) << plain.err;
    EXPECT_NE(plain.err.find("(Unknown channel rule.)"), std::string::npos) << plain.err;
    EXPECT_TRUE(std::filesystem::exists(out));
    // Without a CASM to follow, channel 14 plays its own part, the pad (root fixed, chord
    // table): E3, the third of C Maj7, over F is F's third A3, where as recorded it would be E3.
    std::vector<int> keys;
    for (const MidiNote& note : ReadMidi(ReadFileBytes(out).data).notes) keys.push_back(note.key);
    EXPECT_EQ(keys, std::vector<int>{NoteNamed("A3")});

    const ProgramResult json = Run({"render", "--json", "--chords", "F", "-o", out.string(), in.string()});
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"casmDamage\": \"" + damage), std::string::npos) << json.out;
}

}  // namespace
