// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cmath>
#include <cstdlib>

#include "RunProgram.h"
#include "StyleBytes.h"
#include "TempDir.h"

namespace {

const std::string kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The text as a JSON string's contents.
std::string JsonText(const std::string& text) {
    std::string json;
    for (const char c : text) {
        if (c == '\\' || c == '"') json += '\\';
        json += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return json;
}

class CliPlay : public testing::Test {
protected:
    ProgramResult Run(const std::vector<std::string>& args, std::vector<std::string> environment = {}) {
        return RunProgram(KORVANE_CLI_PATH, args, scratch.path(), std::move(environment));
    }

    // A bass note on channel 1 in "Main A", nothing in "Main B".
    std::filesystem::path Style() {
        return dir.Write("Play.sty",
                         StyleFile(BasicEvents() + TempoEvent(500000) + VolumeEvent(0, 100) + MarkerEvent("Main A") +
                                   NoteOn(0, 36, 100) + Bytes{0x83, 0x60, 0x80, 36, 0} + MarkerEvent("Main B") +
                                   Bytes{0x83, 0x60, 0xFF, 0x2F, 0x00}));
    }

    TempDir dir;
    TempDir scratch;
};

// The MIDI file plays the section with the edits, as the save would write them.
TEST_F(CliPlay, RenderWritesTheSectionAsMidiWithTheEdits) {
    const auto out = dir / "Out.mid";
    const ProgramResult result = Run({"render", "--tempo", "60", "--loops", "1", "-o", out.string(), Style().string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, out.string() + "\n");
    const std::string midi = ReadFileBytes(out).str();
    EXPECT_EQ(midi.substr(0, 4), "MThd");
    EXPECT_NE(midi.find(std::string("\xFF\x51\x03\x0F\x42\x40", 6)), std::string::npos) << "1,000,000 us a quarter";
    EXPECT_NE(midi.find(std::string("\xB0\x07\x64", 3)), std::string::npos);
}

struct RefusalCase {
    std::vector<std::string> args;
    int status;
    std::string err;  // after "PATH:\n", or the whole usage text
};

class CliPlayRefusal : public CliPlay, public testing::WithParamInterface<RefusalCase> {};

TEST_P(CliPlayRefusal, SaysWhyAndWritesNothing) {
    const std::string style = Style().string();
    std::vector<std::string> args = GetParam().args;
    for (std::string& arg : args) {
        if (arg == "STYLE") arg = style;
        if (arg == "OUT") arg = (dir / "Out.mid").string();
    }
    const ProgramResult result = Run(args);
    EXPECT_EQ(result.status, GetParam().status);
    const std::string expected = GetParam().status == 1 ? style + ":\n" + GetParam().err : GetParam().err;
    EXPECT_EQ(result.err, expected);
    EXPECT_FALSE(std::filesystem::exists(dir / "Out.mid"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliPlayRefusal,
    testing::Values(
        RefusalCase{{"render", "--section", "Intro A", "-o", "OUT", "STYLE"},
                    1,
                    "This style has no section \"Intro A\"!\n\n(Its sections: Main A, Main B.)\n"},
        RefusalCase{{"render", "--volume", "5=10", "-o", "OUT", "STYLE"},
                    1,
                    "This style has no volume on channel 5 to change.\n"},
        RefusalCase{
            {"render", "STYLE"}, 2, "korvane-cli: render needs -o OUT.wav or -o OUT.mid\nTry 'korvane-cli --help'.\n"},
        RefusalCase{{"render", "--loops", "0", "-o", "OUT", "STYLE"},
                    2,
                    "korvane-cli: --loops takes a whole number from 1 to 1000\nTry 'korvane-cli --help'.\n"},
        RefusalCase{{"render", "--stems", "x", "-o", "OUT", "STYLE"},
                    2,
                    "korvane-cli: --stems needs -o OUT.wav\nTry 'korvane-cli --help'.\n"},
        RefusalCase{{"play", "--stems", "x", "STYLE"},
                    2,
                    "korvane-cli: play: unknown option '--stems'\nTry 'korvane-cli --help'.\n"},
        RefusalCase{{"render", "--chords", "C", "--as-recorded", "-o", "OUT", "STYLE"},
                    2,
                    "korvane-cli: --chords and --as-recorded exclude each other\nTry 'korvane-cli --help'.\n"},
        RefusalCase{{"play", "--as-recorded", "--chords", "C", "STYLE"},
                    2,
                    "korvane-cli: --chords and --as-recorded exclude each other\nTry 'korvane-cli --help'.\n"},
        RefusalCase{{"render", "-o", "OUT", "STYLE", "--chords"},
                    2,
                    "korvane-cli: --chords needs a value\nTry 'korvane-cli --help'.\n"},
        RefusalCase{{"render", "--chords", "C | H7", "-o", "OUT", "STYLE"},
                    1,
                    "The chord \"H7\" in bar 2 is not known!\n\n(Write a root C to B, maybe with # or b, a chord "
                    "type such as m7, 7sus4 or dim, and /BASS for another bass note; NC for no chord.)\n"}));

// A render into a folder that is not there names the folder; with --json a failed render
// answers with one JSON object, the file and the message, as info --json does.
TEST_F(CliPlay, FailedRenderSaysWhyAndAnswersJson) {
    const std::string style = Style().string();
    const auto nowhere = dir / "nowhere";
    const auto out = nowhere / "Out.mid";
    const std::string message = "Error creating/writing file \"" + out.string() + "\"!\n\n(The folder \"" +
                                nowhere.string() + "\" does not exist.)";
    const ProgramResult plain = Run({"render", "-o", out.string(), style});
    EXPECT_EQ(plain.status, 1);
    EXPECT_EQ(plain.out, "");
    EXPECT_EQ(plain.err, style + ":\n" + message + "\n");

    const std::string missing = (dir / "Missing.sty").string();
    const struct {
        std::vector<std::string> args;
        std::string path;
        std::string error;
    } cases[] = {
        {{"render", "--json", "-o", out.string(), style}, style, message},
        {{"render", "--json", "-o", (dir / "Out.mid").string(), missing},
         missing,
         "Error opening style file!\n\n(The file was not found.)"},
        {{"render", "--json", "--section", "Intro A", "-o", (dir / "Out.mid").string(), style},
         style,
         "This style has no section \"Intro A\"!\n\n(Its sections: Main A, Main B.)"},
    };
    for (const auto& c : cases) {
        const ProgramResult json = Run(c.args);
        EXPECT_EQ(json.status, 1) << c.error;
        EXPECT_EQ(json.out, "{\"path\": \"" + JsonText(c.path) + "\", \"error\": \"" + JsonText(c.error) + "\"}\n");
        EXPECT_EQ(json.err, "");
    }
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    EXPECT_FALSE(std::filesystem::exists(dir / "Out.mid"));
}

// A section without notes still renders, and says so.
TEST_F(CliPlay, SilentSectionIsSaid) {
    const auto out = dir / "Out.mid";
    const ProgramResult result = Run({"render", "--section", "Main B", "-o", out.string(), Style().string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, Style().string() + ":\nThe section \"Main B\" has no notes: what it plays is silence.\n");
    EXPECT_TRUE(std::filesystem::exists(out));
}

#ifdef KORVANE_WITH_FLUIDSYNTH
// The RMS level of a 16-bit WAV file in dBFS, both channels.
double RmsDbfs(const std::filesystem::path& wav) {
    const Bytes bytes = ReadFileBytes(wav);
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t i = 44; i + 1 < bytes.size(); i += 2, ++count) {
        const auto sample = static_cast<std::int16_t>(bytes.data[i] | (bytes.data[i + 1] << 8));
        sum += double(sample) * sample;
    }
    return count ? 10 * std::log10(sum / count / (32768.0 * 32768.0)) : -300.0;
}

TEST_F(CliPlay, RenderWritesSoundAndStems) {
    if (!std::filesystem::exists(kSoundFont)) GTEST_SKIP() << kSoundFont << " is not installed";
    const auto out = dir / "Out.wav";
    const ProgramResult result = Run({"render", "--soundfont", kSoundFont, "--rate", "22050", "--stems",
                                      (dir / "stems").string(), "-o", out.string(), Style().string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, out.string() + "\n" + (dir / "stems" / "1-(1).wav").string() + "\n");
    const Bytes wav = ReadFileBytes(out);
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(wav.str().substr(0, 4), "RIFF");
    EXPECT_EQ(wav.data[24] | (wav.data[25] << 8), 22050);
}

// --stems naming a file (or a folder below one) is refused before the mix or any stem is
// written; the mix used to be written first.
TEST_F(CliPlay, StemsNamingAFileWriteNothing) {
    if (!std::filesystem::exists(kSoundFont)) GTEST_SKIP() << kSoundFont << " is not installed";
    const std::filesystem::path file = dir.Write("stems", Bytes::Text("not a folder"));
    const auto out = dir / "Out.wav";
    for (const std::filesystem::path& stems : {file, file / "below"}) {
        const ProgramResult result =
            Run({"render", "--soundfont", kSoundFont, "--stems", stems.string(), "-o", out.string(), Style().string()});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, Style().string() + ":\n\"" + stems.string() +
                                  "\" is not a folder!\n\n(--stems names the folder that takes one WAV file per "
                                  "channel, made when it is missing. Nothing was written.)\n");
        EXPECT_FALSE(std::filesystem::exists(out));
        EXPECT_EQ(ReadFileBytes(file).str(), "not a folder");
    }
}

// One gain for every render, never a level fitted to the file: --percent 50 halves every
// volume, and the render is 12 dB quieter (the General MIDI volume curve), as the stem of
// one channel is (play/SoundTest.cpp).
TEST_F(CliPlay, HalfThePercentRendersQuieter) {
    if (!std::filesystem::exists(kSoundFont)) GTEST_SKIP() << kSoundFont << " is not installed";
    const auto full = dir / "Full.wav";
    const auto half = dir / "Half.wav";
    // The style's bass is on channel 1, which a keyboard plays only as recorded.
    ASSERT_EQ(Run({"render", "--as-recorded", "--soundfont", kSoundFont, "-o", full.string(), Style().string()}).status,
              0);
    ASSERT_EQ(Run({"render", "--as-recorded", "--percent", "50", "--soundfont", kSoundFont, "-o", half.string(),
                   Style().string()})
                  .status,
              0);
    EXPECT_NEAR(RmsDbfs(full) - RmsDbfs(half), 12.0, 1.0);
}

#ifndef _WIN32
// A render holds no more than a block of its sound in memory: twenty minutes take no
// more memory than one loop, give or take 16 MB, where the sound alone is 38 MB. The
// whole sound used to be kept, and copied once more for the file.
TEST_F(CliPlay, LongRenderNeedsNoMoreMemoryThanAShortOne) {
    if (!std::filesystem::exists(kSoundFont)) GTEST_SKIP() << kSoundFont << " is not installed";
    const auto peakOfChildren = [] {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        return usage.ru_maxrss;  // kilobytes: the largest child waited for so far
    };
    // Under AddressSanitizer freed memory waits in a quarantine, which would count as
    // held: the synthesizer's threads free some at every block.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    const std::vector<std::string> environment{"ASAN_OPTIONS=" + std::string(sanitizer ? sanitizer : "") +
                                               ":quarantine_size_mb=0"};
    const auto out = dir / "Out.wav";
    // Style() plays two seconds a loop.
    const auto render = [&](const char* loops) {
        return Run({"render", "--rate", "8000", "--loops", loops, "--soundfont", kSoundFont, "-o", out.string(),
                    Style().string()},
                   environment)
            .status;
    };
    ASSERT_EQ(render("1"), 0);
    const long shortRender = peakOfChildren();
    ASSERT_EQ(render("600"), 0);
    EXPECT_GT(std::filesystem::file_size(out), 38'000'000u);
    const long longRender = peakOfChildren();
    RecordProperty("short_render_kb", std::to_string(shortRender));
    RecordProperty("long_render_kb", std::to_string(longRender));
    EXPECT_LT(longRender - shortRender, 16 * 1024) << shortRender << " KB against " << longRender << " KB";
}
#endif

// A voice the SoundFont has no bank for is named where it is put in place: on standard
// error with --verbose, in the object --json prints; a MIDI file keeps every voice.
TEST_F(CliPlay, SubstitutedVoicesAreListedWithVerboseAndInJson) {
    if (!std::filesystem::exists(kSoundFont)) GTEST_SKIP() << kSoundFont << " is not installed";
    // Channel 1 selects bank 104/0 (no such bank in a General MIDI SoundFont), program 33.
    const auto path =
        dir.Write("Bank.sty", StyleFile(BasicEvents() + Bytes{0x00, 0xB0, 0, 104} + Bytes{0x00, 0xB0, 32, 0} +
                                        Bytes{0x00, 0xC0, 33} + MarkerEvent("Main A") + NoteOn(0, 36, 100) +
                                        Bytes{0x83, 0x60, 0x80, 36, 0} + EndOfTrack()));
    const std::string substitution =
        "channel 1: bank 104/0 program 33 (Electric Bass (finger)) plays as SoundFont bank 0 program 33";
    // Without --chords a keyboard holds C Maj7 from the first bar on.
    const std::string kHeldChord =
        "\"chords\": [{\"bar\": 1, \"beat\": 1, \"chord\": \"CMaj7\"}], \"casmDamage\": null";
    const auto wav = dir / "Out.wav";
    const ProgramResult verbose =
        Run({"render", "--verbose", "--soundfont", kSoundFont, "-o", wav.string(), path.string()});
    EXPECT_EQ(verbose.status, 0) << verbose.err;
    EXPECT_EQ(verbose.err, "Bar 1, beat 1: CMaj7\n" + substitution + "\n");

    const ProgramResult json = Run({"render", "--json", "--soundfont", kSoundFont, "-o", wav.string(), path.string()});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out, "{\"path\": \"" + path.string() + "\", \"section\": \"Main A\", \"written\": [\"" +
                            wav.string() + "\"], " + kHeldChord + ", \"substitutions\": [\"" + substitution + "\"]}\n");

    const auto mid = dir / "Out.mid";
    const ProgramResult midi = Run({"render", "--json", "-o", mid.string(), path.string()});
    EXPECT_EQ(midi.out, "{\"path\": \"" + path.string() + "\", \"section\": \"Main A\", \"written\": [\"" +
                            mid.string() + "\"], " + kHeldChord + ", \"substitutions\": []}\n");
}

TEST_F(CliPlay, DaysOfSoundAreRefused) {
    const auto path =
        dir.Write("Long.sty", StyleFile(BasicEvents() + MarkerEvent("Main A") + Bytes{0xFF, 0xFF, 0xFF, 0x7F} +
                                        Bytes{0x90, 60, 100} + EndOfTrack()));
    const std::string tooLong = ":\nThe sound would last longer than 60 minutes!\n\n(Render fewer loops";
    for (const auto& [name, advice] : {std::pair{"Out.wav", ", or write a MIDI file.)\n"}, {"Out.mid", ".)\n"}}) {
        const auto out = dir / name;
        const ProgramResult result = Run({"render", "--chords", "C", "-o", out.string(), path.string()});
        EXPECT_EQ(result.status, 1) << name;
        EXPECT_EQ(result.err, path.string() + tooLong + advice);
        EXPECT_FALSE(std::filesystem::exists(out)) << name;
    }
}

TEST_F(CliPlay, MissingSoundFontIsNamed) {
    const auto out = dir / "Out.wav";
    const std::string missing = (dir / "None.sf2").string();
    const ProgramResult result = Run({"render", "--soundfont", missing, "-o", out.string(), Style().string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, Style().string() + ":\nThe SoundFont \"" + missing +
                              "\" could not be read!\n\n(Choose another one: Play > SoundFont... in the editor, "
                              "--soundfont FILE for korvane-cli, or the setting \"SoundFont\" in the section "
                              "\"Playback\".)\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

// Without a sound server or device, play says what it tried, and nothing else.
TEST_F(CliPlay, PlayWithoutAudioOutputSaysWhatItTried) {
    if (!std::filesystem::exists(kSoundFont)) GTEST_SKIP() << kSoundFont << " is not installed";
    const ProgramResult result = Run({"play", "--soundfont", kSoundFont, Style().string()},
                                     {"PULSE_SERVER=unix:/nonexistent", "PIPEWIRE_REMOTE=/nonexistent",
                                      "ALSA_CONFIG_PATH=/nonexistent", "AUDIODEV=/nonexistent"});
    EXPECT_EQ(result.status, 1);
    // The sound libraries may say more on their own before it.
    EXPECT_NE(result.err.find(Style().string() + ":\nNo audio output could be opened!\n\n(Tried: pulseaudio"),
              std::string::npos)
        << result.err;
}
#else
TEST_F(CliPlay, SoundNeedsASynthesizer) {
    const ProgramResult result = Run({"render", "-o", (dir / "Out.wav").string(), Style().string()});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, Style().string() +
                              ":\nThis build of Korvane has no synthesizer!\n\n(It can write a section as a MIDI file, "
                              "but not write its sound.)\n");
}
#endif

}  // namespace
