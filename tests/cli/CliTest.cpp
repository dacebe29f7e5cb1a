// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "RunProgram.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "framework/Version.h"

namespace {

class Cli : public testing::Test {
protected:
    ProgramResult Run(const std::vector<std::string>& args) {
        return RunProgram(KORVANE_CLI_PATH, args, scratch.path());
    }

    TempDir dir;
    TempDir scratch;
};

// A path inside a JSON string: Windows' backslashes are escaped.
std::string JsonText(const std::filesystem::path& path) {
    std::string text;
    for (const char c : path.string()) text += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return text;
}

Bytes RichStyle() {
    return StyleFile(BasicEvents("Caf\xE9 \"Blues\"") + CopyrightEvent("(C) Me") + TempoEvent(500000) +
                         TimeSignatureEvent(3, 2) + VolumeEvent(9, 100) + VolumeEvent(2, 64) + MarkerEvent("Main A") +
                         MarkerEvent("Main B") + MarkerEvent("Intro A") + MarkerEvent("Ending C") +
                         MarkerEvent("Fill In BA") + EndOfTrack(),
                     Casm(Cseg(Sdec() + Ctab(2, 13) + Cntt())) + Ots());
}

TEST_F(Cli, InfoJsonDescribesTheStyle) {
    const auto path = dir.Write("Blues.sty", RichStyle());
    dir.Write("Blues.ots", Ots());
    const ProgramResult result = Run({"info", "--json", path.string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "{\"path\": \"" + JsonText(path) +
                              "\", \"format\": \"SFF1\", \"title\": \"Café \\\"Blues\\\"\", \"copyright\": \"(C) Me\", "
                              "\"hasCopyright\": true, "
                              "\"tempo\": 120, \"timeSignature\": [3, 4], "
                              "\"sections\": [\"Intro A\", \"Main A\", \"Main B\", \"Fill In BA\", \"Ending C\"], "
                              "\"channels\": [{\"channel\": 3, \"volume\": 64, \"label\": \"Pad:\"}, "
                              "{\"channel\": 10, \"volume\": 100, \"label\": \"Rhy2:\"}], "
                              "\"voices\": [{\"channel\": 3, \"msb\": 0, \"lsb\": 0, \"program\": 0, "
                              "\"name\": \"Acoustic Grand Piano\"}, {\"channel\": 10, \"msb\": 0, \"lsb\": 0, "
                              "\"program\": 0, \"name\": \"drum kit 0\"}], "
                              "\"casm\": true, \"channelRules\": {\"segments\": [{\"sections\": [\"Main A\", "
                              "\"Main B\"], \"channels\": [{\"channel\": 3, \"name\": \"Name\", \"part\": \"pad\", "
                              "\"editable\": false, \"autostart\": false, \"played\": true, \"roots\": [], "
                              "\"chordTypes\": [], \"sourceChord\": \"C\", \"zones\": [{\"lowest\": 0, "
                              "\"highest\": 127, \"ntr\": \"root transposition\", \"ntt\": \"bypass\", "
                              "\"bassOn\": false, \"highKey\": \"C\", \"lowLimit\": 0, \"highLimit\": 0, "
                              "\"rtr\": \"stop\"}]}]}], \"damage\": null}, "
                              "\"cntt\": true, \"ots\": true, \"casmFile\": false, \"otsFile\": true, "
                              "\"size\": " +
                              std::to_string(RichStyle().size()) + "}\n");
}

TEST_F(Cli, InfoJsonWithoutOptionalValues) {
    const auto path = dir.Write("Min.sty", StyleFile(BasicSff2Events() + EndOfTrack()));
    const ProgramResult result = Run({"info", "--json", path.string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "{\"path\": \"" + JsonText(path) +
                  "\", \"format\": \"SFF2\", \"title\": \"Test Style\", \"copyright\": \"\", \"hasCopyright\": false, "
                  "\"tempo\": null, \"timeSignature\": null, \"sections\": [], \"channels\": [], \"voices\": [], "
                  "\"casm\": false, \"channelRules\": {\"segments\": [], \"damage\": null}, \"cntt\": false, "
                  "\"ots\": false, \"casmFile\": false, "
                  "\"otsFile\": false, \"size\": 48}\n");
}

TEST_F(Cli, FailingFilesAreReportedAndTheOthersStillDone) {
    const auto good = dir.Write("Good.sty", MinimalStyle());
    const auto bad = dir.Write("Bad.sty", StyleFile(TitleEvent("A style without its marker")));
    const auto missing = dir / "Missing.sty";
    const ProgramResult result = Run({"info", "--json", bad.string(), missing.string(), good.string()});
    EXPECT_EQ(result.status, 1);
    const std::string expected =
        "{\"path\": \"" + JsonText(bad) +
        "\", \"error\": \"Invalid file structure!\\n\\n(Missing 'SFF1' or 'SFF2' marker.)\"}\n" + "{\"path\": \"" +
        JsonText(missing) + "\", \"error\": \"Error opening style file!\\n\\n(The file was not found.)\"}\n";
    ASSERT_GT(result.out.size(), expected.size());
    EXPECT_EQ(result.out.substr(0, expected.size()), expected);
    EXPECT_NE(result.out.find("\"title\": \"Test Style\"", expected.size()), std::string::npos);
    EXPECT_EQ(ReadFileBytes(bad).data, StyleFile(TitleEvent("A style without its marker")).data);
}

// A folder of styles is read on several threads; what info says of it is what it says
// of each file alone, in the order given, errors included.
TEST_F(Cli, InfoOfManyFilesIsWhatItSaysOfEachAloneInTheOrderGiven) {
    std::vector<std::string> files;
    for (int i = 0; i < 24; ++i) {
        const std::string name = "Style" + std::to_string(i) + ".sty";
        files.push_back(i % 5 == 3 ? dir.Write(name, StyleFile(TitleEvent("No marker"))).string()
                                   : dir.Write(name, StyleFile(BasicEvents("Title " + std::to_string(i)) + EndOfTrack(),
                                                               Casm(Cseg(Sdec() + Ctab(9, 8))) + Ots()))
                                         .string());
    }
    for (const std::vector<std::string>& mode : {std::vector<std::string>{"--json"}, std::vector<std::string>{}}) {
        SCOPED_TRACE(mode.empty() ? "for people" : "json");
        std::vector<std::string> all = {"info"};
        all.insert(all.end(), mode.begin(), mode.end());
        all.insert(all.end(), files.begin(), files.end());
        const ProgramResult together = Run(all);
        std::string out, err;
        for (const std::string& file : files) {
            std::vector<std::string> one = {"info"};
            one.insert(one.end(), mode.begin(), mode.end());
            one.push_back(file);
            const ProgramResult alone = Run(one);
            out += (mode.empty() && !out.empty() && alone.status == 0 ? "\n" : "") + alone.out;
            err += alone.err;
        }
        EXPECT_EQ(together.status, 1);
        EXPECT_EQ(together.out, out);
        EXPECT_EQ(together.err, err);
    }
}

TEST_F(Cli, InfoForPeople) {
    const auto path = dir.Write("Blues.sty", RichStyle());
    const ProgramResult result = Run({"info", path.string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, path.string() +
                              "\n"
                              "  Format:         SFF1\n"
                              "  Title:          Café \"Blues\"\n"
                              "  Copyright:      (C) Me\n"
                              "  Tempo:          120\n"
                              "  Time signature: 3/4\n"
                              "  Sections:       Intro A, Main A, Main B, Fill In BA, Ending C\n"
                              "  Volumes:        channel 3  Pad:   64\n"
                              "                  channel 10 Rhy2:  100\n"
                              "  Voices:         channel 3  bank 0/0 program 0  Acoustic Grand Piano\n"
                              "                  channel 10 bank 0/0 program 0  drum kit 0\n"
                              "  CASM section:   yes (with Cntt data)\n"
                              "  Channel rules:  Main A, Main B\n"
                              "                    channel 3  Name      root transposition, bypass, high key C, "
                              "notes 0-0, stop; on no root; on no chord type\n"
                              "  OTS settings:   yes\n"
                              "  Side files:     .csm no, .ots no\n"
                              "  Size:           " +
                              std::to_string(RichStyle().size()) + " bytes\n");

    const auto bad = dir.Write("Small.sty", Bytes::Repeat(0, 47));
    const ProgramResult failed = Run({"info", bad.string()});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err, bad.string() + ":\nInvalid file size!\n");
}

TEST_F(Cli, UsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"info"}, {"info", "--json"}, {"info", "--xml", "a.sty"}, {"frobnicate", "a.sty"}}) {
        const ProgramResult result = Run(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("korvane-cli: "), std::string::npos);
    }
    const ProgramResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("korvane-cli info [--json] FILE..."), std::string::npos);
    // The range the option's check takes.
    EXPECT_NE(help.out.find("  --loops N               how often a Main or Fill In plays, 1-1000 (default 2)\n"),
              std::string::npos)
        << help.out;
    const ProgramResult version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("korvane-cli ") + kKorvaneVersion + "\n");
}

// Each command answers --help and -h with its own usage and exactly its own options,
// as the program's --help lists them, and nothing but that.
TEST_F(Cli, EveryCommandAnswersHelpWithItsOwnOptions) {
    const std::vector<std::string> edits = {"--tempo BPM", "--time-signature N/D", "--volume CH=V", "--percent P"};
    const std::vector<std::string> play = {"--section NAME", "--loops N", "--chords TEXT", "--as-recorded",
                                           "--soundfont FILE"};
    const std::vector<std::string> render = {"-o OUT.wav|OUT.mid", "--rate HZ", "--stems DIR", "--verbose", "--json"};
    const std::vector<std::string> keyboard = {"--midi-in PORT", "--midi-out PORT", "--fingering MODE",
                                               "--split NOTE",   "--right-voice N",  "--verbose"};
    const std::vector<std::string> save = {"--title TEXT", "--copyright TEXT", "-o NAME=0|1", "--overwrite",
                                           "--save-as PATH"};
    const auto joined = [](std::vector<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"info", {"--json"}},
        {"save", joined({edits, save})},
        {"render", joined({edits, play, render})},
        {"play", joined({edits, play, keyboard})},
        {"ports", {"--json"}},
    };
    const std::string programHelp = Run({"--help"}).out;
    for (const auto& [command, options] : cases) {
        for (const std::string ask : {"--help", "-h"}) {
            SCOPED_TRACE(command + " " + ask);
            const ProgramResult help = Run({command, ask});
            EXPECT_EQ(help.status, 0);
            EXPECT_EQ(help.err, "");
            EXPECT_EQ(help.out.rfind("Usage: korvane-cli " + command + " ", 0), 0u) << help.out;
            std::size_t entries = 0;
            std::istringstream lines(help.out);
            for (std::string line; std::getline(lines, line);) {
                EXPECT_LE(line.size(), 79u) << line;
                if (line.rfind("  -", 0) == 0) ++entries;
            }
            EXPECT_EQ(entries, options.size()) << help.out;
            for (const std::string& option : options) {
                const std::size_t at = help.out.find("\n  " + option + " ");
                ASSERT_NE(at, std::string::npos) << option << "\n" << help.out;
                // The same entry, word for word, as the program's help has it: its line and
                // those indented under it.
                std::size_t end = help.out.find('\n', at + 1);
                while (help.out.compare(end + 1, 26, std::string(26, ' ')) == 0) end = help.out.find('\n', end + 1);
                const std::string entry = help.out.substr(at, end + 1 - at);
                EXPECT_NE(programHelp.find(entry), std::string::npos) << entry;
            }
        }
    }
}

// Help is asked where an option may stand, whatever else is there; a value or a FILE
// that reads "-h" or "--help" asks nothing.
TEST_F(Cli, HelpIsAskedOnlyWhereAnOptionMayStand) {
    const auto missing = (dir / "missing.sty").string();
    for (const auto& [args, help] : std::vector<std::pair<std::vector<std::string>, bool>>{
             {{"render", "--loops", "0", "--help"}, true},
             {{"save", missing, "-h"}, true},
             {{"info", "--frobnicate", "--help"}, true},
             {{"save", "--title", "-h", missing}, false},
             {{"info", "--", "--help"}, false},
         }) {
        SCOPED_TRACE(testing::PrintToString(args));
        const ProgramResult result = Run(args);
        EXPECT_EQ(result.status == 0, help);
        EXPECT_EQ(result.out.rfind("Usage: korvane-cli " + args.front() + " ", 0) == 0, help) << result.out;
    }
}

TEST_F(Cli, DashDashEndsTheOptions) {
    const auto path = dir.Write("-odd.sty", MinimalStyle());
    const ProgramResult result = Run({"info", "--json", "--", path.string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("\"title\": \"Test Style\""), std::string::npos);
}

}  // namespace
