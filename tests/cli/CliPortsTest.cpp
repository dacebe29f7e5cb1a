// SPDX-License-Identifier: GPL-3.0-or-later
// The companion against the machine's own MIDI systems, whatever they offer: nothing in
// a container or under Wine without a sound card, a keyboard on a desk. Each test takes
// the ports as `ports` lists them.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "RunProgram.h"
#include "StyleBytes.h"
#include "TempDir.h"

namespace {

constexpr const char* kNoMidiPorts = "This build of Korvane has no MIDI ports!\n";

class CliPorts : public testing::Test {
protected:
    ProgramResult Run(const std::vector<std::string>& args) {
        return RunProgram(KORVANE_CLI_PATH, args, scratch.path());
    }

    // The outputs of the listing for people, each as "NAME (SYSTEM)".
    std::vector<std::string> Outputs(const ProgramResult& listing) {
        std::vector<std::string> outputs;
        std::istringstream lines(listing.out.substr(listing.out.find("MIDI outputs:\n")));
        std::string line;
        std::getline(lines, line);
        while (std::getline(lines, line)) {
            if (line != "  (none)") outputs.push_back(line.substr(2));
        }
        return outputs;
    }

    // "Main A" one beat long.
    std::filesystem::path Style() {
        return dir.Write("Play.sty", StyleFile(BasicEvents() + TempoEvent(500000) + MarkerEvent("Main A") +
                                               NoteOn(0, 60, 100) + Bytes{0x83, 0x60, 0x80, 60, 0} + EndOfTrack()));
    }

    TempDir dir;
    TempDir scratch;
};

// One JSON object of two lists, each port a name and the system it is on, whatever the
// machine offers; a system that cannot be reached is said on standard error alone.
TEST_F(CliPorts, JsonListsEachPortWithItsSystem) {
    const ProgramResult json = Run({"ports", "--json"});
    EXPECT_EQ(json.status, 0);
#ifdef _WIN32
    EXPECT_EQ(json.err, "") << "WinMM is part of every Windows";
#endif
    const std::string port = R"re(\{"name": "(?:[^"\\]|\\.)*", "system": "(?:alsa|jack|winmm)"\})re";
    const std::string list = "\\[(?:" + port + "(?:, " + port + ")*)?\\]";
    EXPECT_TRUE(std::regex_match(json.out, std::regex("\\{\"inputs\": " + list + ", \"outputs\": " + list + "\\}\n")))
        << json.out;
}

// An output that is not there is refused before anything plays, with the outputs that
// are there and why a system offered none.
TEST_F(CliPorts, MidiOutThatIsNotThereIsRefusedWithThePortsThatAre) {
    const ProgramResult listing = Run({"ports"});
    const ProgramResult result = Run({"play", "--midi-out", "No Such Port", Style().string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    if (listing.err == kNoMidiPorts) {
        EXPECT_EQ(result.err, kNoMidiPorts);
        return;
    }
    std::string expected = "No MIDI output is named \"No Such Port\"!\n\n(The ports there are:";
    for (const std::string& output : Outputs(listing)) expected += "\n" + output;
    if (Outputs(listing).empty()) expected += " none";
    EXPECT_EQ(result.err, expected + ")\n" + listing.err);
}

#ifdef _WIN32
// Without a synthesizer of its own, play goes to Windows' General MIDI synthesizer, or
// the first output there is; with none (Wine without a sound card) it says what it tried.
TEST_F(CliPorts, PlayGoesToTheSystemSynthesizerOrSaysThereIsNone) {
    const std::vector<std::string> outputs = Outputs(Run({"ports"}));
    const std::string style = Style().string();
    const ProgramResult result = Run({"play", "--loops", "1", style});
    if (outputs.empty()) {
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, style +
                                  ":\nNo MIDI output could be opened!\n\n(Tried: \"Microsoft GS Wavetable Synth\" and "
                                  "every MIDI output. Choose another output under File > Settings > MIDI.)\n");
    } else {
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, "Playing Main A - " + style + "\n");
    }
}
#endif

}  // namespace
