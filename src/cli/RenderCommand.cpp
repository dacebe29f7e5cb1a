// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RenderCommand.h"

#include <ostream>
#include <system_error>

#include "cli/CommandLine.h"
#include "cli/PlayOptions.h"
#include "framework/PathText.h"
#include "play/PlayMessages.h"
#include "play/Render.h"
#include "play/SoundFiles.h"
#include "play/SynthFactory.h"
#include "play/Voices.h"
#include "style/SafeFile.h"
#include "style/StyleMessages.h"

namespace {

bool WriteOut(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, const std::string& file,
              std::ostream& out, std::ostream& err) {
    if (WriteFileSafely(path, {ByteView(bytes)}) != WriteOutcome::Written) {
        ReportFileMessage(err, file, style_messages::FillIn(play_messages::kErrorWritingSound, {Utf8Of(path)}));
        return false;
    }
    out << Utf8Of(path) << "\n" << std::flush;
    return true;
}

// "11-Bass.wav": the channel as users count it and its label without ":".
std::string StemName(int channel, const std::string& label) {
    std::string name = std::to_string(channel + 1);
    std::string cleaned;
    for (const char c : label) {
        if (c != ':' && c != '/' && c != '\\') cleaned += c;
    }
    if (!cleaned.empty()) name += "-" + cleaned;
    return name + ".wav";
}

// The channels that sound in what the section plays.
std::array<bool, 16> SoundingChannels(const Timeline& timeline, int section) {
    std::array<bool, 16> sounding{};
    for (std::optional<int> s = section; s;) {
        if (const TimelineSection* played = timeline.Find(*s)) {
            for (const TimelineEvent& e : played->events) {
                if (e.IsNoteOn()) sounding[e.Channel()] = true;
            }
        }
        const std::optional<int> next = NextSection(*s, timeline.Present());
        s = next == s ? std::nullopt : next;
    }
    return sounding;
}

void ListSubstitutions(const Timeline& timeline, const Synth& synth, std::ostream& err) {
    const StyleVoices voices = SetUpVoices(timeline);
    for (int channel = 0; channel < 16; ++channel) {
        if (!timeline.channelsUsed[channel]) continue;
        const std::string text =
            SubstitutionText(voices[channel], channel, DecideVoice(voices[channel], channel, synth));
        if (!text.empty()) err << text << "\n";
    }
}

int RenderSoundFiles(const std::string& file, const PlayRequest& request, const PlayableStyle& style,
                     std::ostream& out, std::ostream& err) {
    if (!HasSynthesizer()) {
        ReportFileMessage(err, file, play_messages::kNoSynthesizer);
        return kExitNoSynthesizer;
    }
    RenderSettings settings{style.section, request.loops, request.sampleRate, -1};
    if (SoundFrames(style.timeline, settings) / request.sampleRate > kLongestRenderMinutes * 60) {
        ReportFileMessage(err, file,
                          style_messages::FillIn(play_messages::kSoundTooLong, {std::to_string(kLongestRenderMinutes)}));
        return kExitFileFailed;
    }
    PlayError error;
    std::unique_ptr<Synth> synth = MakeRenderSynth(ChosenSoundFont(request), request.sampleRate, true, error);
    if (!synth) {
        ReportFileMessage(err, file, *error);
        return kExitFileFailed;
    }
    if (request.verbose) ListSubstitutions(style.timeline, *synth, err);
    if (!WriteOut(*request.output, WavFileBytes(RenderSound(style.timeline, settings, *synth), request.sampleRate),
                  file, out, err)) {
        return kExitFileFailed;
    }
    if (!request.stems) return kExitSuccess;

    std::error_code ignored;
    std::filesystem::create_directories(*request.stems, ignored);
    const std::array<bool, 16> sounding = SoundingChannels(style.timeline, style.section);
    for (int channel = 0; channel < 16; ++channel) {
        if (!sounding[channel]) continue;
        // Stems are dry, so that they add up to the mix but for the effects.
        std::unique_ptr<Synth> dry = MakeRenderSynth(ChosenSoundFont(request), request.sampleRate, false, error);
        if (!dry) {
            ReportFileMessage(err, file, *error);
            return kExitFileFailed;
        }
        settings.channel = channel;
        const std::filesystem::path path = *request.stems / StemName(channel, style.doc.m_strChannelLabel[channel]);
        if (!WriteOut(path, WavFileBytes(RenderSound(style.timeline, settings, *dry), request.sampleRate), file, out,
                      err)) {
            return kExitFileFailed;
        }
    }
    return kExitSuccess;
}

}  // namespace

int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    PlayRequest request;
    if (const std::optional<std::string> problem = ParsePlayRequest("render", args, request)) {
        return UsageError(err, *problem);
    }
    const std::string& file = request.files.front();
    PlayableStyle style;
    if (!LoadPlayableStyle(file, request, style, err)) return kExitFileFailed;
    if (request.output->extension() == ".mid") {
        const bool written = WriteOut(*request.output, MidiFileBytes(style.timeline, style.section, request.loops),
                                      file, out, err);
        return written ? kExitSuccess : kExitFileFailed;
    }
    return RenderSoundFiles(file, request, style, out, err);
}
