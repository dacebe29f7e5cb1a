// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PlayOptions.h"

#include <ostream>

#include "cli/RecordingPresenter.h"
#include "framework/Cp1252.h"
#include "framework/Profile.h"
#include "framework/platform/PathText.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "msg/StyleMessages.h"
#include "play/SoundFontSetting.h"

std::optional<std::string> ParsePlayRequest(const std::string& command, const std::vector<std::string>& args,
                                            PlayRequest& request) {
    const bool render = command == "render";
    OptionTable options = {
        TextOption("--section", request.section),
        {"--loops", true,
         [&request](const std::string& value) -> std::optional<std::string> {
             const std::optional<int> loops = NumberIn(value, kLoopsRange);
             if (!loops) return "--loops takes a whole number from " + RangeText(kLoopsRange);
             request.loops = *loops;
             return std::nullopt;
         }},
        {"--soundfont", true,
         [&request](const std::string& value) -> std::optional<std::string> {
             request.soundFont = PathFromUtf8(value);
             return std::nullopt;
         }},
        TextOption("--chords", request.chords),
        SwitchOption("--as-recorded", request.asRecorded),
    };
    AddEditOptions(options, request.edits);
    if (render) {
        options.push_back({"--rate", true, [&request](const std::string& value) -> std::optional<std::string> {
                               const std::optional<int> rate = NumberIn(value, kSampleRateRange);
                               if (!rate)
                                   return "--rate takes a sample rate from " + RangeText(kSampleRateRange) + " Hz";
                               request.sampleRate = *rate;
                               return std::nullopt;
                           }});
        for (const auto& option : {std::pair{"--stems", &request.stems}, std::pair{"-o", &request.output}}) {
            // A lambda takes the path by name: clang does not capture structured bindings.
            std::optional<std::filesystem::path>* path = option.second;
            options.push_back({option.first, true, [path](const std::string& value) -> std::optional<std::string> {
                                   *path = PathFromUtf8(value);
                                   return std::nullopt;
                               }});
        }
        options.push_back(SwitchOption("--verbose", request.verbose));
        options.push_back(SwitchOption("--json", request.json));
    }
    if (std::optional<std::string> problem = ParseOptions(command, args, options, request.files)) return problem;
    if (request.files.empty()) return command + ": no style file given";
    if (render) {
        if (request.files.size() != 1) return "render takes exactly one style file";
        if (!request.output) return "render needs -o OUT.wav or -o OUT.mid";
        const std::string extension = request.output->extension().string();
        if (extension != ".wav" && extension != ".mid") return "-o takes a file name ending in .wav or .mid";
        if (request.stems && extension != ".wav") return "--stems needs -o OUT.wav";
    }
    if (request.chords && request.asRecorded) return "--chords and --as-recorded exclude each other";
    return CheckEditRequest(request.edits);
}

void ReportFileMessage(std::ostream& err, const std::string& file, const std::string& text) {
    err << file << ":\n" << text << "\n";
}

std::optional<std::string> LoadPlayableStyle(const std::string& file, const PlayRequest& request, PlayableStyle& style,
                                             std::ostream& err) {
    CRecordingPresenter presenter;
    ScopedPresenter scoped(presenter);
    if (!style.doc.OnOpenDocument(PathFromUtf8(file))) {
        return presenter.Requests().empty() ? "" : Cp1252ToUtf8(presenter.Requests().back().text);
    }
    PlayError error = ApplyEditRequest(request.edits, style.doc);
    if (!error) error = BuildTimeline(style.doc, style.timeline);
    if (!error) error = FindPlaySection(style.timeline, request.section, style.section);
    if (error) return error;
    style.chords.asRecorded = request.asRecorded;
    if (request.chords) {
        // A bar holds as many chords as the style's bar has beats: 4 when it has no
        // time signature. The symbols go into messages, JSON and the MIDI file's markers
        // as written, so bytes that are no UTF-8 are replaced first.
        const int beatsPerBar = HasTimeSignature(style.doc) ? style.doc.m_nTimeSigNumerator : 4;
        if (std::optional<ProgressionError> refused =
                Progression::Parse(SanitizeUtf8(*request.chords), beatsPerBar, style.chords.progression)) {
            return refused->text;
        }
    }
    // Rules that could not be read change what is heard: said, and the style still plays.
    if (!CasmDamage(style).empty()) ReportFileMessage(err, file, CasmDamage(style));
    if (!style.timeline.HasNotes(style.section)) {
        ReportFileMessage(err, file,
                          FillIn(play_messages::kSilentSection, {std::string(kPlaySectionNames[style.section])}));
    }
    return std::nullopt;
}

std::string CasmDamage(const PlayableStyle& style) {
    return style.chords.asRecorded ? std::string() : style.timeline.rules.damage;
}

std::filesystem::path ChosenSoundFont(const PlayRequest& request) {
    return request.soundFont ? *request.soundFont : SoundFontPath(AppProfile());
}
