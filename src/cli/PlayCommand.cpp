// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>
#include <csignal>
#include <ostream>
#include <thread>

#include "cli/CommandLine.h"
#include "cli/KeyboardPlay.h"
#include "cli/PlayOptions.h"
#include "cli/RenderCommand.h"
#include "msg/PlayMessages.h"
#include "play/Player.h"
#include "play/sound/SynthFactory.h"

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
extern "C" void NoteInterrupt(int) { g_interrupted = 1; }

constexpr auto kPollInterval = std::chrono::milliseconds(20);

}  // namespace

int RunPlayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    PlayRequest request;
    if (const std::optional<std::string> problem = ParsePlayRequest("play", args, request)) {
        return UsageError(err, *problem);
    }
    PlayPorts ports;
    if (const std::optional<std::string> problem = FindPlayPorts(request, ports)) {
        err << *problem << "\n";
        return kExitFileFailed;
    }
    if (!CanPlay(ports)) {
        err << play_messages::kNoSynthesizer << "\n";
        return kExitNoSynthesizer;
    }
    // Ctrl+C stops the sound at once, and nothing after it plays.
    g_interrupted = 0;
    const auto previous = std::signal(SIGINT, NoteInterrupt);
    CStylePlayer player(PlayOutput(ports));
    PortWatch watch(ports);
    int status = kExitSuccess;
    for (const std::string& file : request.files) {
        if (g_interrupted) break;
        PlayableStyle style;
        if (const std::optional<std::string> failure = LoadPlayableStyle(file, request, style, err)) {
            ReportFileMessage(err, file, *failure);
            status = kExitFileFailed;
            continue;
        }
        if (ports.in) {
            status = PlayFromKeyboard(player, style, request, ports, out, err, g_interrupted);
            break;
        }
        const std::string section(kSectionNames[style.section]);
        // Without a progression the left hand holds C Maj7 from the start, as a render plays it.
        player.PlayAsRecorded(style.chords.asRecorded);
        if (style.chords.progression.Bars() > 0) {
            player.FollowProgression(style.chords.progression);
        } else {
            player.HoldChord(Chord{});
        }
        if (PlayError error = player.Play(style.doc.Image(), style.doc.CurrentTrackEdits(), style.doc.Files(), section, ChosenSoundFont(request), request.loops)) {
            ReportFileMessage(err, file, *error);
            status = kExitFileFailed;
            continue;
        }
        out << "Playing " << section << " - " << file << "\n" << std::flush;
        while (player.IsPlaying() && !g_interrupted) {
            if (errIsTerminal) {
                const PlayStatus now = player.Status();
                err << "\r\033[K" << now.section << " - " << now.bpm << " bpm" << std::flush;
            }
            std::this_thread::sleep_for(kPollInterval);
            if (const std::optional<std::string> gone = watch.Gone()) {
                err << *gone << "\n";
                player.Stop();
                std::signal(SIGINT, previous);
                return kExitFileFailed;
            }
        }
        player.Stop();
        if (errIsTerminal) err << "\r\033[K" << std::flush;
    }
    std::signal(SIGINT, previous);
    return g_interrupted ? kExitInterrupted : status;
}
