// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/KeyboardPlay.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <thread>

#include "cli/CommandLine.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "play/KeyboardInput.h"
#include "play/OutputChoice.h"
#include "play/sound/SynthFactory.h"

namespace {

// How often the ports are looked for while playing, and how long the loop sleeps when
// no key comes.
constexpr std::uint64_t kPortLookMicroseconds = 1000000;
constexpr auto kIdleWait = std::chrono::milliseconds(20);

bool Listed(const std::vector<MidiPort>& ports, const MidiPort& port) {
    return std::find(ports.begin(), ports.end(), port) != ports.end();
}

// The port watch on a thread of its own: a MIDI system takes tens of milliseconds to
// list its ports (JACK opens a client for each list), which no key may wait for. gone is
// called once, on that thread, when a port has gone.
class WatchAside {
public:
    WatchAside(const PlayPorts& ports, std::function<void()> gone)
        : m_thread([this, &ports, gone = std::move(gone)] { Run(ports, gone); }) {}
    ~WatchAside() {
        {
            std::lock_guard guard(m_lock);
            m_done = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    std::optional<std::string> Gone() {
        std::lock_guard guard(m_lock);
        return m_gone;
    }

private:
    void Run(const PlayPorts& ports, const std::function<void()>& gone) {
        PortWatch watch(ports);
        std::unique_lock guard(m_lock);
        while (!m_done) {
            guard.unlock();
            std::optional<std::string> message = watch.Gone();
            guard.lock();
            if (message) {
                m_gone = std::move(message);
                guard.unlock();
                gone();
                return;
            }
            m_wake.wait_for(guard, kIdleWait, [this] { return m_done; });
        }
    }

    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_done = false;                // under m_lock
    std::optional<std::string> m_gone;  // under m_lock
    std::thread m_thread;               // last: starts once the rest is there
};

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
    return ChooseOutput(ports.out, HasSynthesizer() ? MakeSystemAudioOutput : CStylePlayer::OutputFactory{},
                        [system = ports.system](PlayError& error) {
                            return system ? system : std::shared_ptr<MidiSystem>(MakeMidiSystem(error));
                        });
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
    const auto wake = [&] {
        {
            std::lock_guard guard(lock);
            pending = true;
        }
        arrived.notify_one();
    };
    CKeyboardInput keyboard(request.keyboard, wake);
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
    WatchAside watch(ports, wake);
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
