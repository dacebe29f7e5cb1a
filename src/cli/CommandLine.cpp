// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include <ostream>

#include "cli/InfoCommand.h"
#include "cli/PlayOptions.h"
#include "cli/RenderCommand.h"
#include "cli/SaveCommand.h"
#include "document/EditRules.h"
#include "framework/Version.h"
#include "play/sound/SoundFontSetting.h"

namespace {

std::string Range(const ValueRange& range, const char* separator = " to ") {
    return std::to_string(range.low) + separator + std::to_string(range.high);
}

// The save options that -o takes, as lines of at most 80 characters.
std::string SaveOptionNames(const char* indent) {
    std::string text = indent;
    std::size_t lineStart = 0;
    bool first = true;
    for (const std::string_view option : DashOOptionNames()) {
        std::string name = std::string(first ? "" : ", ") + std::string(option);
        if (text.size() - lineStart + name.size() > 78) {
            text += ",\n";
            lineStart = text.size();
            text += indent;
            name.erase(0, 2);
        }
        text += name;
        first = false;
    }
    return text + ".\n";
}

// Laid out as GNU programs lay out their help, so that help2man makes the manual page
// from it.
std::string UsageText() {
    return "Usage: korvane-cli info [--json] FILE...\n"
           "  or:  korvane-cli save [EDITS] [OPTIONS] FILE...\n"
           "  or:  korvane-cli render [EDITS] [PLAY OPTIONS] [--rate HZ] [--stems DIR]\n"
           "                          [--verbose] [--json] -o OUT.wav|OUT.mid FILE\n"
           "  or:  korvane-cli play [EDITS] [PLAY OPTIONS] FILE...\n"
           "  or:  korvane-cli --help | --version\n"
           "Shows, edits and plays keyboard accompaniment style files (.sty) with the\n"
           "editor's engine and stored options, for scripts and for many files at once.\n"
           "\n"
           "Commands:\n"
           "  info                    loads each style file and prints its title, copyright,\n"
           "                          tempo, time signature, sections, channel volumes and\n"
           "                          voices, and chunks; with --json one JSON object per\n"
           "                          file and line\n"
           "  save                    loads each file, applies the edits and saves it as the\n"
           "                          editor's Save does, and prints the path written\n"
           "  render                  writes what a section plays, with the edits as a save\n"
           "                          would write them: OUT.wav as 16-bit stereo sound and\n"
           "                          its decay, OUT.mid as a Standard MIDI File with the\n"
           "                          style's own voices\n"
           "  play                    plays each file with the edits through the sound\n"
           "                          system until done; Ctrl+C stops the sound at once\n"
           "A file that fails is reported with the editor's message, and the others are\n"
           "still done. Each channel plays as a keyboard plays it, through its channel\n"
           "rules (CASM) over the chords given, C Maj7 held when none are.\n"
           "\n"
           "Edits:\n"
           "  --title TEXT            the style title (at most 32 characters are kept)\n"
           "  --copyright TEXT        the copyright text; empty removes it\n"
           "  --tempo BPM             " +
           Range(kTempoRange) +
           " (0 leaves the tempo as it is)\n"
           "  --time-signature N/D    each " +
           Range(kTimeSignatureRange) +
           "\n"
           "  --volume CH=V           channel " +
           Range(kChannelNumberRange, "-") + " to volume " + Range(kVolumeRange, "-") +
           "; repeatable; switches to\n"
           "                          single-channel volumes\n"
           "  --percent P             " +
           Range(kPercentRange) +
           ": every volume scaled by P percent\n"
           "\n"
           "Options of save:\n"
           "  -o NAME=0|1             one save option on or off, the others as stored; NAME:\n" +
           SaveOptionNames("                          ") +
           "  --overwrite             replace a file the save may not simply replace: another\n"
           "                          existing file whose name the options choose, or the\n"
           "                          style file itself when another program changed or\n"
           "                          replaced it after the load (without it such a save is\n"
           "                          refused and writes nothing)\n"
           "  --save-as PATH          saves as Save As does, to PATH (one FILE only); a file\n"
           "                          at PATH is replaced as cp would\n"
           "\n"
           "Play options (render and play):\n"
           "  --section NAME          the section to play (default \"Main A\"): a Main or\n"
           "                          Fill In loops, an Intro leads into its Main, an\n"
           "                          Ending plays once\n"
           "  --loops N               how often a Main or Fill In plays, " +
           Range(kLoopsRange, "-") + " (default " + std::to_string(PlayRequest{}.loops) +
           ")\n"
           "  --chords TEXT           the chords held, bar by bar: \"C | Am7 | F G7 | %\" (a\n"
           "                          bar's chords share its beats, % repeats the bar\n"
           "                          before), looping while the style plays; without it\n"
           "                          C Maj7 is held\n"
           "  --as-recorded           every channel as the style stores it, without its\n"
           "                          channel rules\n"
           "  --soundfont FILE        in place of the setting \"SoundFont\" of the section\n"
           "                          \"Playback\" (default " +
           std::string(kDefaultSoundFont) +
           ")\n"
           "  --rate HZ               the sample rate of render, " +
           RangeText(kSampleRateRange) +
           "\n"
           "                          (default 44100)\n"
           "  --stems DIR             render also writes one dry WAV per channel that plays\n"
           "                          (11-Bass.wav)\n"
           "  --verbose               lists the chords played, with their bar and beat, and\n"
           "                          the voices the SoundFont plays in place of the style's\n"
           "  --json                  render prints one JSON object: the style, the section,\n"
           "                          the files written, the chords played and the voices\n"
           "                          put in place\n"
           "\n"
           "Exit status: 0 when every file succeeded, 1 when any file failed, 2 for a\n"
           "usage error, 3 when this build has no synthesizer (render to .wav, play),\n"
           "130 when play was stopped with Ctrl+C.\n";
}

}  // namespace

int UsageError(std::ostream& err, const std::string& problem) {
    err << "korvane-cli: " << problem << "\n"
        << "Try 'korvane-cli --help'.\n";
    return kExitUsage;
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    if (args.empty()) return UsageError(err, "no command given");
    const std::string& command = args.front();
    if (command == "--help" || command == "-h") {
        out << UsageText();
        return kExitSuccess;
    }
    if (command == "--version") {
        out << "korvane-cli " << kKorvaneVersion << "\n";
        return kExitSuccess;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "info") return RunInfoCommand(rest, out, err);
    if (command == "save") return RunSaveCommand(rest, out, err, errIsTerminal);
    if (command == "render") return RunRenderCommand(rest, out, err);
    if (command == "play") return RunPlayCommand(rest, out, err, errIsTerminal);
    return UsageError(err, "unknown command '" + command + "'");
}
