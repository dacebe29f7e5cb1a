// SPDX-License-Identifier: GPL-3.0-or-later
// Linux: ALSA's sequencer and a JACK server, either of which a machine may lack.
#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include "play/sound/MidiSystemProbe.h"

namespace {

// libjack and ALSA's library report a missing server or device on standard error by
// themselves; the caller says it once, in its own words.
void Quiet(const char*) {}
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

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
