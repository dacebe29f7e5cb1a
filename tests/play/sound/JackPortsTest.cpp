// SPDX-License-Identifier: GPL-3.0-or-later
// Korvane's MIDI ports on a real JACK server of the test's own (JackServer.h).
#include <gtest/gtest.h>

#include "JackFixture.h"
#include "play/sound/MidiPorts.h"

namespace {

using JackPorts = JackFixture;

// JACK passes a message on in the process cycle after it was sent, and a connection
// carries messages only from the cycle after it was made: an output that sent at once
// lost the style's set-up, and one closed at once the note-offs Stop had just sent. And
// closing one crashed now and then, when its client's process callback ran late.
TEST_F(JackPorts, OutputDeliversWhatIsSentRightAfterOpeningAndRightBeforeClosing) {
    PlayError error;
    const std::unique_ptr<MidiSystem> system = MakeMidiSystem(error);
    ASSERT_TRUE(system) << *error;
    const MidiPortList ports = system->List();
    std::string problem;
    const MidiPort* sound = FindPort(ports.outputs, JackMidiClient::kSound, "output", problem);
    ASSERT_TRUE(sound) << problem;

    // Each open is a chance for the race: every message of every open must come through.
    constexpr int kOpens = 20;
    const auto allNotesOff = [](int channel, int open) {
        return std::vector<std::uint8_t>{std::uint8_t(0xB0 | channel), 123, std::uint8_t(open)};
    };
    for (int open = 0; open < kOpens; ++open) {
        const std::unique_ptr<MidiOutput> output = system->OpenOutput(*sound, error);
        ASSERT_TRUE(output) << *error;
        for (int channel = 0; channel < 16; ++channel) output->Send(allNotesOff(channel, open));
    }
    const auto last = [&](const ReceivedMidi& m) { return m.bytes == allNotesOff(15, kOpens - 1); };
    EXPECT_TRUE(client->WaitFor(last, 0, std::chrono::seconds(10)));
    std::vector<int> arrived(kOpens);  // of each open's 16 messages
    for (const ReceivedMidi& m : client->Received()) {
        if (m.bytes.size() == 3 && m.bytes[2] < kOpens && m.bytes == allNotesOff(m.Channel(), m.bytes[2])) {
            ++arrived[m.bytes[2]];
        }
    }
    EXPECT_EQ(arrived, std::vector<int>(kOpens, 16));
}

}  // namespace
