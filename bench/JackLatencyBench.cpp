// SPDX-License-Identifier: GPL-3.0-or-later
// The time from a keyboard's key to the instrument's note through a real MIDI system:
// korvane-cli play between a keyboard and an instrument, each a JACK client of this
// program, on a JACK server of its own (dummy driver, 48,000 Hz, 64 frames a period:
// 1.33 ms a cycle), as tests/cli/CliMidiTest.cpp plays it. Two figures, each the median,
// the 90th percentile and the worst:
// - chord: from the last key of a left-hand chord leaving the keyboard to the first note
//   of the new chord reaching the instrument, over chord changes between C and F (every
//   change a new chord), some 50 to 150 ms after the hand let go of the last one. The
//   style holds its bass note through the bar and strikes it again on a chord change
//   (HeldBassStyle.h), so what is measured is how soon Korvane answers, not when the
//   pattern's next note falls;
// - right hand: from key 72 leaving the keyboard to its note-on reaching the instrument:
//   the same way through without the chord's settle time.
// Where the chord's time goes: the settle time (a chord is decided 20 ms after the last
// left-hand key, LeftHand.h); JACK's process cycle, in which the keyboard's message
// leaves (up to 1.33 ms); the player's clock thread, which sends the new chord's notes
// at its next tick (every 1 ms and what the system adds to its sleep); and another cycle
// to the instrument (up to 1.33 ms). The right hand's figure is those last three alone.
// Aim: the chord within the settle time plus 5 ms. Nothing is asserted: run it on an
// idle machine, and again with the other core busy, and compare.
//
// usage: korvane_jack_latency_bench [CHANGES]   (default 100; needs jackd, Debian's jackd2)
// build: cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANE_BENCH=ON
//        cmake --build build-bench --target korvane_jack_latency_bench

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "HeldBassStyle.h"
#include "JackMidiClient.h"
#include "JackServer.h"
#include "TempDir.h"
#include "play/chords/LeftHand.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kPatience = 10s;

std::vector<std::uint8_t> Key(int key, bool down) {
    return {std::uint8_t(down ? 0x90 : 0x80), std::uint8_t(key), std::uint8_t(down ? 100 : 0)};
}

struct Figures {
    double median, p90, worst;  // ms
};

Figures Summary(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back()};
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Presses keys and waits for the first message from then on that match accepts: the
// time from the last key sent to its arrival, or nothing when none came.
template <class Match>
std::optional<double> TimeTo(JackMidiClient& client, const std::vector<int>& keys, Match match) {
    const std::size_t from = client.Count();
    for (const int key : keys) client.Send(Key(key, true));
    const Clock::time_point sent = Clock::now();
    const std::optional<std::size_t> found = client.WaitFor(match, from, kPatience);
    for (const int key : keys) client.Send(Key(key, false));
    if (!found) return std::nullopt;
    return Ms(client.Received()[*found].at - sent);
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int changes = argc > 1 ? std::max(2, std::atoi(argv[1])) : 100;
    TempDir dir;
    JackServer server;
    if (const std::optional<std::string> why = server.Start(dir.path())) return Fail(*why);
    std::unique_ptr<JackMidiClient> client;
    try {
        client = std::make_unique<JackMidiClient>();
    } catch (const RtMidiError& error) {
        return Fail("the keyboard's and the instrument's JACK clients: " + error.getMessage());
    }
    const std::filesystem::path style = dir.Write("Bass.sty", HeldBassStyle());
    ChildProcess play(KORVANE_CLI_PATH, {"play", "--midi-in", "keys", "--midi-out", "sound", style.string()},
                      dir.path());
    if (!play.WaitForOutput("Waiting for a chord", kPatience)) return Fail("korvane-cli: " + play.Out() + play.Err());

    struct Chord {
        std::vector<int> keys;
        int root;
    };
    const Chord c{{36, 40, 43}, 0}, f{{41, 45, 48}, 5};
    std::mt19937 random(54);
    std::uniform_int_distribution<int> pause(50, 150);
    std::vector<double> chordMs;
    for (int change = 0; change <= changes; ++change) {
        const Chord& chord = change % 2 == 0 ? c : f;
        const std::optional<double> ms = TimeTo(*client, chord.keys, [&chord](const ReceivedMidi& m) {
            return m.IsNoteOn() && m.Channel() == kHeldBassChannel && m.bytes[1] % 12 == chord.root;
        });
        if (!ms) return Fail("no note of the new chord came");
        if (change > 0) chordMs.push_back(*ms);  // the first chord starts the style
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
    }
    std::vector<double> rightMs;
    for (int key = 0; key < changes; ++key) {
        const std::optional<double> ms = TimeTo(
            *client, {72}, [](const ReceivedMidi& m) { return m.IsNoteOn() && m.Channel() == 0 && m.bytes[1] == 72; });
        if (!ms) return Fail("the right hand's note did not come");
        rightMs.push_back(*ms);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random) / 5));
    }
    play.Signal(SIGINT);
    play.Wait(kPatience);

    const double settle = kChordSettleMicroseconds / 1000.0;
    const Figures chord = Summary(chordMs);
    const Figures right = Summary(rightMs);
    std::printf("JACK: %d Hz, %d frames a period (%.2f ms a cycle); chord settle time %.1f ms\n", JackServer::kRate,
                JackServer::kPeriod, 1000.0 * JackServer::kPeriod / JackServer::kRate, settle);
    std::printf("chord to its first note, %d changes: median %.2f ms, 90%% %.2f ms, worst %.2f ms\n", changes,
                chord.median, chord.p90, chord.worst);
    std::printf("  beyond the settle time:               median %.2f ms, 90%% %.2f ms, worst %.2f ms (aim: under 5)\n",
                chord.median - settle, chord.p90 - settle, chord.worst - settle);
    std::printf("right-hand key to its note, %d keys:    median %.2f ms, 90%% %.2f ms, worst %.2f ms\n", changes,
                right.median, right.p90, right.worst);
    return 0;
}
