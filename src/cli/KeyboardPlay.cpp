// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/KeyboardPlay.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <ostream>

#include "cli/CommandLine.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "play/KeyboardInput.h"
#include "play/sound/PortOutput.h"
#include "play/sound/SynthFactory.h"

namespace {

// How often the ports are looked for while playing, and how long the loop sleeps when
// no key comes.
constexpr std::uint64_t kPortLookMicroseconds = 1000000;
constexpr auto kIdleWait = std::chrono::milliseconds(20);

bool Listed(const std::vector<MidiPort>& ports, const MidiPort& port) {
    return std::find(ports.begin(), ports.end(), port) != ports.end();
}

}  // namespace

std::optional<std::string> FindPlayPorts(const PlayRequest& request, PlayPorts& ports) {
    if (!request.midiIn && !request.midiOut) return std::nullopt;
    PlayError error;
    std::unique_ptr<MidiSystem> system = MakeMidiSystem(error);
    if (!system) return error;
    ports.system = std::move(system);
    const MidiPortList list = ports.system->List();
    std::string problem;
    if (request.midiIn) {
        if (const MidiPort* port = FindPort(list.inputs, *request.midiIn, "input", problem)) ports.in = *port;
    }
    if (problem.empty() && request.midiOut) {
        if (const MidiPort* port = FindPort(list.outputs, *request.midiOut, "output", problem)) ports.out = *port;
    }
    if (problem.empty()) return std::nullopt;
    // Why a system had no ports to offer.
    for (const std::string& line : list.unreachable) problem += "\n" + line;
    return problem;
}

bool CanPlay(const PlayPorts& ports) { return ports.out || HasSynthesizer() || HasMidiPorts(); }

CStylePlayer::OutputFactory PlayOutput(const PlayPorts& ports) {
    if (ports.out) {
        return [system = ports.system, port = *ports.out](PlayError& error) {
            return OpenPortOutput(*system, port, error);
        };
    }
    if (HasSynthesizer()) return MakeSystemAudioOutput;
    return MakeSystemSynthesizerOutput;
}

std::optional<std::string> PortWatch::Gone() {
    if (!m_ports.system) return std::nullopt;
    const std::uint64_t now = CKeyboardInput::Now();
    if (now - m_lastLook < kPortLookMicroseconds) return std::nullopt;
    m_lastLook = now;
    const MidiPortList list = m_ports.system->List();
    if (m_ports.in && !Listed(list.inputs, *m_ports.in)) return FillIn(play_messages::kPortLost, {m_ports.in->name});
    if (m_ports.out && !Listed(list.outputs, *m_ports.out)) {
        return FillIn(play_messages::kPortLost, {m_ports.out->name});
    }
    return std::nullopt;
}

int PlayFromKeyboard(CStylePlayer& player, PlayableStyle& style, const PlayRequest& request, const PlayPorts& ports,
                     std::ostream& out, std::ostream& err, const volatile std::sig_atomic_t& interrupted) {
    std::mutex lock;
    std::condition_variable arrived;
    bool pending = false;
    CKeyboardInput keyboard(request.keyboard, [&] {
        {
            std::lock_guard guard(lock);
            pending = true;
        }
        arrived.notify_one();
    });
    if (PlayError error = keyboard.Open(*ports.system, *ports.in)) {
        err << *error << "\n";
        return kExitFileFailed;
    }
    player.SetRightHandVoice(request.keyboard.rightVoice);
    const std::string section(kSectionNames[style.section]);
    const int loops = request.loopsGiven ? request.loops : kPlayForever;
    const auto play = [&](bool waitForChord) {
        return player.Play(style.doc.Image(), style.doc.CurrentTrackEdits(), style.doc.Files(), section,
                           ChosenSoundFont(request), loops, waitForChord);
    };
    if (PlayError error = play(true)) {
        ReportFileMessage(err, request.files.front(), *error);
        return kExitFileFailed;
    }
    out << "Waiting for a chord at or below " << SplitKeyName(request.keyboard.splitKey) << " on " << ports.in->name
        << ": " << section << " - " << request.files.front() << "\n"
        << std::flush;
    PortWatch watch(ports);
    while (!interrupted) {
        {
            std::unique_lock guard(lock);
            auto until = std::chrono::steady_clock::now() + kIdleWait;
            if (const std::optional<std::uint64_t> due = keyboard.NextDecision()) {
                const auto wait = std::chrono::microseconds(*due - std::min(*due, CKeyboardInput::Now()));
                until = std::min(until, std::chrono::steady_clock::now() + wait);
            }
            arrived.wait_until(guard, until, [&] { return pending; });
            pending = false;
        }
        const CKeyboardInput::Taken taken = keyboard.Pump(player, CKeyboardInput::Now());
        if (taken.chord && request.verbose) out << "Chord: " << ChordText(*taken.chord) << "\n" << std::flush;
        if (taken.stop) player.Stop();
        if (taken.start) {
            if (player.IsWaiting()) {
                player.Start();
            } else if (!player.IsPlaying()) {
                if (PlayError error = play(false)) ReportFileMessage(err, request.files.front(), *error);
            }
        }
        if (const std::optional<std::string> gone = watch.Gone()) {
            player.Stop();
            err << *gone << "\n";
            return kExitFileFailed;
        }
    }
    player.Stop();
    return kExitInterrupted;
}
