// SPDX-License-Identifier: GPL-3.0-or-later
// Linux: ALSA's sequencer and a JACK server, either of which a machine may lack.
#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "play/sound/MidiSystemProbe.h"

namespace {

// libjack and ALSA's library report a missing server or device on standard error by
// themselves; the caller says it once, in its own words.
void Quiet(const char*) {}
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

int CountCycle(jack_nframes_t, void* cycles) {
    static_cast<std::atomic<int>*>(cycles)->fetch_add(1, std::memory_order_relaxed);
    return 0;
}

}  // namespace

std::optional<std::string> UnreachableReason(std::string_view system) {
    if (system == "alsa") {
        snd_lib_error_set_handler(QuietAlsa);
        snd_seq_t* sequencer = nullptr;
        const int status = snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK);
        if (status < 0) return "ALSA: no sequencer (" + std::string(snd_strerror(status)) + ")";
        snd_seq_close(sequencer);
        return std::nullopt;
    }
    if (system == "jack") {
        jack_set_error_function(Quiet);
        jack_set_info_function(Quiet);
        jack_status_t status{};
        jack_client_t* client = jack_client_open("Korvane", JackNoStartServer, &status);
        if (!client) return std::string("JACK: no server is running");
        jack_client_close(client);
        return std::nullopt;
    }
    return std::nullopt;
}

const MidiPort* SystemSynthesizerPort(const std::vector<MidiPort>&) { return nullptr; }

std::string SystemSynthesizerTried() { return "no system synthesizer on Linux"; }

void AwaitDelivery(std::string_view system) {
    if (system != "jack") return;
    // Every active client runs once in each cycle. A client of Korvane's own that has run
    // three times has seen the cycle after the one under way now, in which RtMidi hands on
    // what it was given and a new connection is in force, and one more for the other
    // side to read it, whatever the period and however late a loaded machine runs them.
    constexpr int kCycles = 3;
    constexpr auto kLongest = std::chrono::seconds(1);  // a server that stalls holds no one up
    jack_set_error_function(Quiet);
    jack_set_info_function(Quiet);
    jack_status_t status{};
    jack_client_t* client = jack_client_open("Korvane", JackNoStartServer, &status);
    if (!client) return;
    std::atomic<int> cycles{0};
    if (jack_set_process_callback(client, CountCycle, &cycles) == 0 && jack_activate(client) == 0) {
        const auto until = std::chrono::steady_clock::now() + kLongest;
        while (cycles.load(std::memory_order_relaxed) < kCycles && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        jack_deactivate(client);
    }
    jack_client_close(client);
}
