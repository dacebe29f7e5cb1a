// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include <ostream>

#include "cli/InfoCommand.h"
#include "cli/PlayOptions.h"
#include "cli/RenderCommand.h"
#include "cli/SaveCommand.h"
#include "framework/Version.h"
#include "play/SoundFontSetting.h"
#include "style/EditRules.h"

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

std::string UsageText() {
    return "usage: korvane-cli info [--json] FILE...\n"
           "       korvane-cli save [EDITS] [-o NAME=0|1]... [--overwrite] [--save-as PATH] FILE...\n"
           "       korvane-cli render [EDITS] [--section NAME] [--loops N] [--soundfont FILE] [--rate HZ]\n"
           "                          [--stems DIR] [--verbose] -o OUT.wav|OUT.mid FILE\n"
           "       korvane-cli play [EDITS] [--section NAME] [--loops N] [--soundfont FILE] FILE...\n"
           "       korvane-cli --help | --version\n"
           "\n"
           "info   loads each style file and prints its title, copyright, tempo, time\n"
           "       signature, sections, channel volumes and chunks; with --json one JSON\n"
           "       object per file and line. A file that fails to load is reported with\n"
           "       the editor's message and the others are still done.\n"
           "\n"
           "save   loads each file, applies the edits and saves it as the editor's Save\n"
           "       does (with --save-as, as Save As to PATH; one FILE only), and prints the\n"
           "       path written. Edits:\n"
           "         --title TEXT            the style title (at most 32 characters are kept)\n"
           "         --copyright TEXT        the copyright text; empty removes it\n"
           "         --tempo BPM             " +
           Range(kTempoRange) +
           " (0 leaves the tempo as it is)\n"
           "         --time-signature N/D    each " +
           Range(kTimeSignatureRange) +
           "\n"
           "         --volume CH=V           channel " +
           Range(kChannelNumberRange, "-") + " to volume " + Range(kVolumeRange, "-") +
           "; repeatable;\n"
           "                                 switches to single-channel volumes\n"
           "         --percent P             " +
           Range(kPercentRange) +
           ": every volume scaled by P percent\n"
           "       The save options are the stored settings, each overridden by -o NAME=0|1:\n" +
           SaveOptionNames("       ") +
           "       A name the options choose never replaces another existing file, unless\n"
           "       --overwrite is given; a PATH given to --save-as is replaced as cp would.\n"
           "\n"
           "render writes what a section plays, with the edits as a save would write\n"
           "       them: OUT.wav as 16-bit stereo sound and its decay, OUT.mid as a\n"
           "       Standard MIDI File with the style's own voices. The style plays as\n"
           "       recorded, in its source chord. --section NAME (default \"Main A\"):\n"
           "       a Main or Fill In loops --loops N times (default 2), an Intro leads\n"
           "       into its Main, an Ending plays once. --soundfont FILE replaces the\n"
           "       setting \"SoundFont\" of the section \"Playback\" (default\n"
           "       " + std::string(kDefaultSoundFont) + "); --rate HZ: the sample rate,\n"
           "       " + RangeText(kSampleRateRange) + " (default 44100); --stems DIR also writes one dry WAV\n"
           "       per channel that plays (11-Bass.wav); --verbose lists the voices the\n"
           "       SoundFont plays in place of the style's.\n"
           "\n"
           "play   plays each file with the edits through the sound system until done,\n"
           "       as render orders the sections; Ctrl+C stops the sound at once.\n"
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
