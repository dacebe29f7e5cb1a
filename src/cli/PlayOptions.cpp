// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PlayOptions.h"

#include <ostream>

#include "cli/RecordingPresenter.h"
#include "document/EditRules.h"
#include "framework/Cp1252.h"
#include "framework/Profile.h"
#include "framework/platform/PathText.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "msg/StyleMessages.h"
#include "options/PlaybackSettings.h"
#include "play/sound/SoundFontSetting.h"

namespace {

constexpr std::string_view kRenderGroup = "Options of render";

// An option that takes a path, kept as the system spells it.
Option PathOption(std::string_view name, std::string_view value, std::string_view group, std::string help,
                  std::optional<std::filesystem::path>& path) {
    return {name, value, group, std::move(help), [&path](const std::string& given) -> std::optional<std::string> {
                path = PathFromUtf8(given);
                return std::nullopt;
            }};
}

std::string FingeringNames() {
    std::string names;
    for (const FingeringEntry& entry : kFingerings) names += (names.empty() ? "" : ", ") + std::string(entry.name);
    return names;
}

void AddKeyboardOptions(OptionTable& options, PlayRequest& request) {
    const KeyboardSettings defaults;
    options.push_back(TextOption("--midi-in", "PORT", kKeyboardGroup,
                                 "follows the chords a keyboard's left hand plays on PORT (a name as ports lists it, "
                                 "or a part only one port's name has); the style waits for the first chord, MIDI "
                                 "Start and Stop start and stop it, and it plays until Ctrl+C unless --loops says",
                                 request.midiIn));
    options.push_back(TextOption("--midi-out", "PORT", kKeyboardGroup,
                                 "sends the style to PORT, with its own voices, in place of the synthesizer",
                                 request.midiOut));
    options.push_back({"--fingering", "MODE", kKeyboardGroup,
                       "how the left hand's keys name a chord: " + FingeringNames() + " (default " +
                           std::string(FingeringName(defaults.fingering)) + ")",
                       [&request](const std::string& value) -> std::optional<std::string> {
                           const std::optional<Fingering> mode = ParseFingering(value);
                           if (!mode) return "--fingering takes one of " + FingeringNames();
                           request.keyboard.fingering = *mode;
                           return std::nullopt;
                       }});
    options.push_back({"--split", "NOTE", kKeyboardGroup,
                       "the highest key of the left hand, a name where C3 is 60 or a number 0-127 (default " +
                           SplitKeyName(defaults.splitKey) + ")",
                       [&request](const std::string& value) -> std::optional<std::string> {
                           const std::optional<int> key = ParseSplitKey(value);
                           if (!key) return "--split takes a note such as F#2 or Bb1, or a number from 0 to 127";
                           request.keyboard.splitKey = *key;
                           return std::nullopt;
                       }});
    options.push_back({"--right-voice", "N", kKeyboardGroup,
                       "the General MIDI voice of the right hand, " + RangeText(kRightVoiceRange, "-") +
                           " (default " + std::to_string(defaults.rightVoice + 1) + ", a piano)",
                       [&request](const std::string& value) -> std::optional<std::string> {
                           const std::optional<int> voice = NumberIn(value, kRightVoiceRange);
                           if (!voice) return "--right-voice takes a voice from " + RangeText(kRightVoiceRange);
                           request.keyboard.rightVoice = *voice - 1;
                           return std::nullopt;
                       }});
    options.push_back(SwitchOption("--verbose", kKeyboardGroup,
                                   "with --midi-in, prints each chord followed, one line each: \"Chord: Am7\"",
                                   request.verbose));
}

}  // namespace

OptionTable PlayCommandOptions(std::string_view command, PlayRequest& request) {
    const PlayRequest defaults;
    OptionTable options;
    AddEditOptions(options, request.edits);
    options.push_back(TextOption("--section", "NAME", kPlayGroup,
                                 "the section to play (default \"" + defaults.section +
                                     "\"): a Main or Fill In loops, an Intro leads into its Main, an Ending plays once",
                                 request.section));
    options.push_back({"--loops", "N", kPlayGroup,
                       "how often a Main or Fill In plays, " + RangeText(kLoopsRange, "-") + " (default " +
                           std::to_string(defaults.loops) + ")",
                       [&request](const std::string& value) -> std::optional<std::string> {
                           const std::optional<int> loops = NumberIn(value, kLoopsRange);
                           if (!loops) return "--loops takes a whole number from " + RangeText(kLoopsRange);
                           request.loops = *loops;
                           request.loopsGiven = true;
                           return std::nullopt;
                       }});
    options.push_back(TextOption("--chords", "TEXT", kPlayGroup,
                                 "the chords held, bar by bar: \"C | Am7 | F G7 | %\" (a bar's chords share its "
                                 "beats, % repeats the bar before), looping while the style plays; C Maj7 is held "
                                 "without it",
                                 request.chords));
    options.push_back(SwitchOption("--as-recorded", kPlayGroup,
                                   "every channel as the style stores it, without its channel rules",
                                   request.asRecorded));
    options.push_back(PathOption("--soundfont", "FILE", kPlayGroup,
                                 "in place of the setting \"SoundFont\" of the section \"Playback\" (default " +
                                     std::string(kDefaultSoundFont) + ")",
                                 request.soundFont));
    if (command == "play") AddKeyboardOptions(options, request);
    if (command != "render") return options;
    options.push_back(PathOption("-o", "OUT.wav|OUT.mid", kRenderGroup,
                                 "OUT.wav as 16-bit stereo sound and its decay, OUT.mid as a Standard MIDI File "
                                 "with the style's own voices",
                                 request.output));
    options.push_back({"--rate", "HZ", kRenderGroup,
                       "the sample rate of OUT.wav, " + RangeText(kSampleRateRange) + " (default " +
                           std::to_string(defaults.sampleRate) + ")",
                       [&request](const std::string& value) -> std::optional<std::string> {
                           const std::optional<int> rate = NumberIn(value, kSampleRateRange);
                           if (!rate) return "--rate takes a sample rate from " + RangeText(kSampleRateRange) + " Hz";
                           request.sampleRate = *rate;
                           return std::nullopt;
                       }});
    options.push_back(PathOption("--stems", "DIR", kRenderGroup,
                                 "writes also one dry WAV per channel that plays into DIR (11-Bass.wav)",
                                 request.stems));
    options.push_back(SwitchOption("--verbose", kRenderGroup,
                                   "lists the chords played, with their bar and beat, and the voices the SoundFont "
                                   "plays in place of the style's",
                                   request.verbose));
    options.push_back(SwitchOption("--json", kRenderGroup,
                                   "prints one JSON object: the style, the section, the files written, the chords "
                                   "played and the voices put in place",
                                   request.json));
    return options;
}

std::optional<std::string> ParsePlayRequest(const std::string& command, const std::vector<std::string>& args,
                                            PlayRequest& request) {
    const bool render = command == "render";
    const OptionTable options = PlayCommandOptions(command, request);
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
    if (request.midiIn && (request.chords || request.asRecorded)) {
        return "--midi-in takes the chords from the keyboard: it excludes --chords and --as-recorded";
    }
    if (request.midiIn && request.files.size() != 1) return "--midi-in plays exactly one style file";
    const bool keyboardOptions = request.keyboard.fingering != KeyboardSettings{}.fingering ||
                                 request.keyboard.splitKey != KeyboardSettings{}.splitKey ||
                                 request.keyboard.rightVoice != KeyboardSettings{}.rightVoice;
    if (!render && !request.midiIn && (keyboardOptions || request.verbose)) {
        return "--fingering, --split, --right-voice and --verbose need --midi-in";
    }
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
    if (!error) error = BuildTimeline(style.doc.Image(), style.doc.CurrentTrackEdits(), style.timeline);
    if (!error) error = FindPlaySection(style.timeline, request.section, style.section);
    if (error) return error;
    style.chords.asRecorded = request.asRecorded;
    if (request.chords) {
        // A bar holds as many chords as the style's bar has beats. The symbols go into
        // messages, JSON and the MIDI file's markers as written, so bytes that are no
        // UTF-8 are replaced first.
        if (std::optional<ProgressionError> refused =
                Progression::Parse(SanitizeUtf8(*request.chords), BeatsPerBar(style.doc), style.chords.progression)) {
            return refused->text;
        }
    }
    // Rules that could not be read change what is heard: said, and the style still plays.
    if (!CasmDamage(style).empty()) ReportFileMessage(err, file, CasmDamage(style));
    if (!style.timeline.HasNotes(style.section)) {
        ReportFileMessage(err, file,
                          FillIn(play_messages::kSilentSection, {std::string(kSectionNames[style.section])}));
    }
    return std::nullopt;
}

std::string CasmDamage(const PlayableStyle& style) {
    return style.chords.asRecorded ? std::string() : style.timeline.rules.damage;
}

std::filesystem::path ChosenSoundFont(const PlayRequest& request) {
    return request.soundFont ? *request.soundFont : ChosenSoundFont(AppProfile());
}
