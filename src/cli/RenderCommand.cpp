// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RenderCommand.h"

#include <ostream>

#include "cli/ChordReport.h"
#include "cli/CommandLine.h"
#include "cli/Json.h"
#include "cli/PlayOptions.h"
#include "framework/platform/PathText.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "msg/StyleMessages.h"
#include "play/files/Render.h"
#include "play/files/SoundFiles.h"
#include "play/sound/SynthFactory.h"
#include "play/VoiceList.h"
#include "play/Voices.h"
#include "play/files/WavFile.h"
#include "storage/FileNames.h"
#include "storage/SafeFile.h"

namespace {

// What a render wrote and what it played in place of the style's voices: printed as
// it goes, or with --json as one object once the render is done.
struct RenderReport {
    bool json = false;
    std::vector<std::string> written;
    std::vector<std::string> substitutions;
    std::vector<PlayedChord> chords;
    std::string failure;

    // Why the render failed: on standard error at once, or kept for the JSON answer.
    void Fail(std::ostream& err, const std::string& file, const std::string& text) {
        if (json) {
            failure = text;
        } else {
            ReportFileMessage(err, file, text);
        }
    }
};

// Says what a write of path did: the path written, or the error with the copies a
// failed write left.
bool ReportWrite(FileSystem& files, const std::filesystem::path& path, const WriteResult& written,
                 const std::string& file, RenderReport& report, const PlayRequest& request, std::ostream& out,
                 std::ostream& err) {
    if (written.outcome != WriteOutcome::Written) {
        std::string message =
            written.outcome == WriteOutcome::NoFolder
                ? FillIn(play_messages::kSoundFolderMissing, {Utf8Of(path), Utf8Of(FolderOfFile(files, path))})
                : FillIn(play_messages::kErrorWritingSound, {Utf8Of(path)});
        // A write in place that failed midway names the copies it left.
        if (!written.oldCopy.empty())
            message += "\n\n" + FillIn(style_messages::kOldFileKeptAs, {Utf8Of(written.oldCopy)});
        if (!written.newCopy.empty())
            message += "\n\n" + FillIn(style_messages::kNewFileKeptAs, {Utf8Of(written.newCopy)});
        report.Fail(err, file, message);
        return false;
    }
    report.written.push_back(Utf8Of(path));
    if (!request.json) out << Utf8Of(path) << "\n" << std::flush;
    return true;
}

bool WriteOut(FileSystem& files, const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
              const std::string& file, RenderReport& report, const PlayRequest& request, std::ostream& out,
              std::ostream& err) {
    return ReportWrite(files, path, WriteFileSafely(files, path, {ByteView(bytes)}), file, report, request, out, err);
}

// Renders into a WAV file as the sound comes, so that memory does not grow with its length.
bool WriteSound(const std::filesystem::path& path, const PlayableStyle& style, const RenderSettings& settings,
                Synth& synth, const std::string& file, RenderReport& report, const PlayRequest& request,
                std::ostream& out, std::ostream& err) {
    WavFileWriter wav(style.doc.Files(), path, settings.sampleRate);
    RenderSound(style.timeline, settings, synth,
                [&wav](std::span<const std::int16_t> block) { return wav.Write(block); });
    return ReportWrite(style.doc.Files(), path, wav.Finish(), file, report, request, out, err);
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

void PrintJson(const std::string& file, const PlayableStyle& style, const RenderReport& report, std::ostream& out) {
    const auto list = [](const std::vector<std::string>& texts, bool paths) {
        std::string json = "[";
        for (const std::string& text : texts) {
            json += (json.size() > 1 ? ", " : "") + (paths ? JsonPathString(text) : JsonString(text));
        }
        return json + "]";
    };
    out << "{\"path\": " << JsonPathString(file) << ", \"section\": " << JsonString(kSectionNames[style.section])
        << ", \"written\": " << list(report.written, true) << ", \"chords\": " << PlayedChordsJson(report.chords)
        << ", \"casmDamage\": " << (CasmDamage(style).empty() ? "null" : JsonString(CasmDamage(style)))
        << ", \"substitutions\": " << list(report.substitutions, false) << "}\n"
        << std::flush;
}

bool TooLong(const Timeline& timeline, const RenderSettings& settings) {
    return SoundFrames(timeline, settings) / static_cast<std::uint64_t>(settings.sampleRate) >
           std::uint64_t{kLongestRenderMinutes} * 60;
}

// A MIDI file keeps the style's own voices: nothing is put in their place.
int RenderMidiFile(const std::string& file, const PlayRequest& request, const PlayableStyle& style,
                   RenderReport& report, std::ostream& out, std::ostream& err) {
    const RenderSettings settings{style.section, request.loops, request.sampleRate, -1, style.chords};
    if (TooLong(style.timeline, settings)) {
        report.Fail(err, file, FillIn(play_messages::kMidiTooLong, {std::to_string(kLongestRenderMinutes)}));
        return kExitFileFailed;
    }
    const std::vector<std::uint8_t> bytes = MidiFileBytes(style.timeline, style.section, request.loops, style.chords);
    return WriteOut(style.doc.Files(), *request.output, bytes, file, report, request, out, err) ? kExitSuccess
                                                                                                : kExitFileFailed;
}

int RenderSoundFiles(const std::string& file, const PlayRequest& request, const PlayableStyle& style,
                     RenderReport& report, std::ostream& out, std::ostream& err) {
    if (!HasSynthesizer()) {
        report.Fail(err, file, play_messages::kNoSynthesizer);
        return kExitNoSynthesizer;
    }
    if (request.stems && !CanHoldFolder(style.doc.Files(), *request.stems)) {
        report.Fail(err, file, FillIn(play_messages::kStemsNotAFolder, {Utf8Of(*request.stems)}));
        return kExitFileFailed;
    }
    RenderSettings settings{style.section, request.loops, request.sampleRate, -1, style.chords};
    if (TooLong(style.timeline, settings)) {
        report.Fail(err, file, FillIn(play_messages::kSoundTooLong, {std::to_string(kLongestRenderMinutes)}));
        return kExitFileFailed;
    }
    PlayError error;
    std::unique_ptr<Synth> synth =
        MakeRenderSynth(style.doc.Files(), ChosenSoundFont(request), request.sampleRate, true, error);
    if (!synth) {
        report.Fail(err, file, *error);
        return kExitFileFailed;
    }
    report.substitutions = SubstitutionTexts(style.timeline, style.section, request.loops, *synth);
    if (request.verbose) {
        for (const std::string& text : report.substitutions) err << text << "\n";
    }
    if (!WriteSound(*request.output, style, settings, *synth, file, report, request, out, err)) return kExitFileFailed;
    if (!request.stems) return kExitSuccess;

    // A folder that cannot be made shows as the first stem that cannot be written.
    style.doc.Files().MakeFolders(AbsolutePath(*request.stems));
    const std::array<bool, 16> sounding = SoundingChannels(style.timeline, style.section);
    for (int channel = 0; channel < 16; ++channel) {
        if (!sounding[channel]) continue;
        // Stems are dry, so that they add up to the mix but for the effects. Each passes the
        // output stage as the mix does: the same gain, so they compare with each other and
        // with the mix, and a limiter of its own, which leaves a stem as the gain made it
        // wherever it stays below the ceiling and keeps it from clipping where it alone
        // would pass it.
        std::unique_ptr<Synth> dry =
            MakeRenderSynth(style.doc.Files(), ChosenSoundFont(request), request.sampleRate, false, error);
        if (!dry) {
            report.Fail(err, file, *error);
            return kExitFileFailed;
        }
        settings.channel = channel;
        const std::filesystem::path path = *request.stems / StemName(channel, style.doc.m_strChannelLabel[channel]);
        if (!WriteSound(path, style, settings, *dry, file, report, request, out, err)) return kExitFileFailed;
    }
    return kExitSuccess;
}

}  // namespace

int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, FileSystem& files) {
    PlayRequest request;
    if (const std::optional<std::string> problem = ParsePlayRequest("render", args, request)) {
        return UsageError(err, *problem);
    }
    const std::string& file = request.files.front();
    RenderReport report;
    report.json = request.json;
    int status = kExitSuccess;
    PlayableStyle style;
    style.doc.UseFileSystem(files);
    if (std::optional<std::string> failure = LoadPlayableStyle(file, request, style, err)) {
        report.Fail(err, file, *failure);
        status = kExitFileFailed;
    } else {
        report.chords = PlayedChords(style.timeline, style.section, request.loops, style.chords);
        if (request.verbose) {
            for (const PlayedChord& chord : report.chords) err << PlayedChordLine(chord) << "\n";
        }
        status = request.output->extension() == ".mid" ? RenderMidiFile(file, request, style, report, out, err)
                                                       : RenderSoundFiles(file, request, style, report, out, err);
    }
    if (request.json) {
        if (status == kExitSuccess) {
            PrintJson(file, style, report, out);
        } else {
            out << JsonFileError(file, report.failure) << "\n" << std::flush;
        }
    }
    return status;
}
