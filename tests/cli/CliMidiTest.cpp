// SPDX-License-Identifier: GPL-3.0-or-later
// play led by a keyboard through a real MIDI system, as a user runs it: a JACK server of
// the test's own on its dummy driver, a keyboard and an instrument as JACK clients of
// this process, and korvane-cli between them.
#include <gtest/gtest.h>

#include <map>

#include "ChildProcess.h"
#include "HeldBassStyle.h"
#include "JackFixture.h"

namespace {

using namespace std::chrono_literals;

// How long to wait for what takes milliseconds on an idle machine: a loaded one may be
// slow, and a wait that ends early costs nothing.
constexpr auto kPatience = 10s;
constexpr int kInterrupted = 130;

std::vector<std::uint8_t> Key(int key, bool down) {
    return {std::uint8_t(down ? 0x90 : 0x80), std::uint8_t(key), std::uint8_t(down ? 100 : 0)};
}

bool IsAllNotesOff(const ReceivedMidi& m, int channel) {
    return m.bytes == std::vector<std::uint8_t>{std::uint8_t(0xB0 | channel), 123, 0};
}

// The notes a stream of messages leaves sounding: each note-on not ended by its note-off
// or by All Notes Off on its channel, as "channel:key", channels from 1.
std::vector<std::string> LeftSounding(const std::vector<ReceivedMidi>& messages) {
    std::map<std::pair<int, int>, int> sounding;
    for (const ReceivedMidi& m : messages) {
        if (m.IsNoteOn()) ++sounding[{m.Channel(), m.bytes[1]}];
        if (m.IsNoteOff() && sounding[{m.Channel(), m.bytes[1]}] > 0) --sounding[{m.Channel(), m.bytes[1]}];
        if (m.bytes.size() == 3 && IsAllNotesOff(m, m.Channel())) {
            std::erase_if(sounding, [&](const auto& note) { return note.first.first == m.Channel(); });
        }
    }
    std::vector<std::string> left;
    for (const auto& [note, count] : sounding) {
        if (count > 0) left.push_back(std::to_string(note.first + 1) + ":" + std::to_string(note.second));
    }
    return left;
}

class CliMidi : public JackFixture {
protected:
    void SetUp() override {
        JackFixture::SetUp();
        style = dir.Write("Bass.sty", HeldBassStyle());
    }

    std::unique_ptr<ChildProcess> Play(const std::string& in, const std::string& out) {
        return std::make_unique<ChildProcess>(
            KORVANE_CLI_PATH,
            std::vector<std::string>{"play", "--midi-in", in, "--midi-out", out, "--verbose", style.string()},
            scratch.path());
    }

    TempDir dir;
    std::filesystem::path style;
};

TEST_F(CliMidi, FollowsTheLeftHandPlaysTheRightAndLeavesNothingSoundingAfterCtrlC) {
    const auto play = Play("keys", "sound");
    const std::string waiting = "Waiting for a chord at or below F#2 on " + std::string(JackMidiClient::kKeys) +
                                ": Main A - " + style.string() + "\n";
    ASSERT_TRUE(play->WaitForOutput(waiting, kPatience)) << play->Out() << play->Err();

    // The set-up arrives, the right hand's voice last; the style waits for a chord.
    const auto voice = [](const ReceivedMidi& m) { return m.bytes == std::vector<std::uint8_t>{0xC0, 0}; };
    ASSERT_TRUE(client->WaitFor(voice, 0, kPatience));
    std::this_thread::sleep_for(300ms);
    for (const ReceivedMidi& m : client->Received()) ASSERT_FALSE(m.IsNoteOn()) << "a note before the first chord";

    const struct {
        std::vector<int> keys;  // all at or below the split
        std::string chord;
        int root;  // pitch class
    } chords[] = {{{36, 40, 43}, "C", 0}, {{33, 36, 40}, "Am", 9}, {{41, 45, 48}, "F", 5}};
    for (const auto& c : chords) {
        const std::size_t from = client->Count();
        for (const int key : c.keys) client->Send(Key(key, true));
        EXPECT_TRUE(play->WaitForOutput("Chord: " + c.chord + "\n", kPatience)) << play->Out();
        const auto bassOnRoot = [&c](const ReceivedMidi& m) {
            return m.IsNoteOn() && m.Channel() == kHeldBassChannel && m.bytes[1] % 12 == c.root;
        };
        EXPECT_TRUE(client->WaitFor(bassOnRoot, from, kPatience)) << "the bass on the root of " << c.chord;
        for (const int key : c.keys) client->Send(Key(key, false));
    }

    const std::size_t beforeRightHand = client->Count();
    client->Send(Key(72, true));
    const auto rightHandOn = [](const ReceivedMidi& m) { return m.bytes == std::vector<std::uint8_t>{0x90, 72, 100}; };
    EXPECT_TRUE(client->WaitFor(rightHandOn, beforeRightHand, kPatience)) << "key 72 on channel 1";
    client->Send(Key(72, false));
    const auto rightHandOff = [](const ReceivedMidi& m) {
        return m.Channel() == 0 && m.IsNoteOff() && m.bytes[1] == 72;
    };
    EXPECT_TRUE(client->WaitFor(rightHandOff, beforeRightHand, kPatience));

    const std::size_t beforeStop = client->Count();
    play->Signal(SIGINT);
    EXPECT_EQ(play->Wait(kPatience), std::optional<int>(kInterrupted)) << play->Err();
    for (int channel = 0; channel < 16; ++channel) {
        const auto allNotesOff = [channel](const ReceivedMidi& m) { return IsAllNotesOff(m, channel); };
        EXPECT_TRUE(client->WaitFor(allNotesOff, beforeStop, kPatience)) << "channel " << channel + 1;
    }
    const std::vector<ReceivedMidi> received = client->Received();
    EXPECT_EQ(LeftSounding(received), std::vector<std::string>{});
    for (const ReceivedMidi& m : received) {
        if (m.IsNoteOn() && m.Channel() == 0) {
            EXPECT_EQ(m.bytes[1], 72) << "a left-hand key played as melody";
        }
    }
    EXPECT_EQ(play->Out(), waiting + "Chord: C\nChord: Am\nChord: F\n");
    EXPECT_EQ(play->Err(), "");
}

// A port named that the system does not have: refused with the ports it has, before
// anything is sent anywhere.
TEST_F(CliMidi, PortThatIsNotThereIsRefusedWithThePortsThere) {
    const struct {
        std::string in, out;
        std::string refusal;
    } cases[] = {
        {"organ", "sound", "No MIDI input is named \"organ\"!\n\n(The ports there are:"},
        {"keys", "organ", "No MIDI output is named \"organ\"!\n\n(The ports there are:"},
    };
    for (const auto& c : cases) {
        const auto play = Play(c.in, c.out);
        EXPECT_EQ(play->Wait(kPatience), std::optional<int>(1)) << c.in << " " << c.out;
        const std::string err = play->Err();
        EXPECT_EQ(err.rfind(c.refusal, 0), 0u) << err;
        const std::string listed = c.in == "organ" ? JackMidiClient::kKeys : JackMidiClient::kSound;
        EXPECT_NE(err.find("\n" + listed + " (jack)"), std::string::npos) << err;
        EXPECT_EQ(play->Out(), "");
    }
    EXPECT_EQ(client->Count(), 0u) << "nothing sent to the instrument";
}

// The keyboard unplugged while the style plays: play stops, names the port and ends.
TEST_F(CliMidi, PortThatGoesStopsPlayWithItsName) {
    const auto play = Play("keys", "sound");
    ASSERT_TRUE(play->WaitForOutput("Waiting for a chord", kPatience)) << play->Err();
    client.reset();
    EXPECT_EQ(play->Wait(kPatience), std::optional<int>(1));
    EXPECT_EQ(play->Err(),
              "The MIDI port \"" + std::string(JackMidiClient::kKeys) + "\" is gone!\n\n(Playback was stopped.)\n");
}

// JACK quit while the style plays: play stops and ends as when a port goes (libjack
// crashed as Korvane closed its ports of the server that had gone).
TEST_F(CliMidi, ServerThatEndsStopsPlayWithoutACrash) {
    const auto play = Play("keys", "sound");
    ASSERT_TRUE(play->WaitForOutput("Waiting for a chord", kPatience)) << play->Err();
    // The test's own clients cannot be closed either once the server has gone: they stay.
    static auto* const left = new std::vector<std::unique_ptr<JackMidiClient>>;
    left->push_back(std::move(client));
    server.Stop();
    EXPECT_EQ(play->Wait(kPatience), std::optional<int>(1)) << play->Err();
    EXPECT_NE(play->Err().find(" is gone!\n\n(Playback was stopped.)\n"), std::string::npos) << play->Err();
}

}  // namespace
