// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include <ostream>

#include "cli/InfoCommand.h"
#include "cli/SaveCommand.h"
#include "framework/Version.h"
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

// Laid out as GNU programs lay out their help, so that help2man makes the manual page
// from it.
std::string UsageText() {
    return "Usage: korvane-cli info [--json] FILE...\n"
           "  or:  korvane-cli save [EDITS] [OPTIONS] FILE...\n"
           "  or:  korvane-cli --help | --version\n"
           "Shows and edits keyboard accompaniment style files (.sty) with the editor's\n"
           "engine and stored save options, for scripts and for many files at once.\n"
           "\n"
           "Commands:\n"
           "  info                    loads each style file and prints its title, copyright,\n"
           "                          tempo, time signature, sections, channel volumes and\n"
           "                          chunks; with --json one JSON object per file and line\n"
           "  save                    loads each file, applies the edits and saves it as the\n"
           "                          editor's Save does, and prints the path written\n"
           "A file that fails to load or save is reported with the editor's message, and the\n"
           "others are still done.\n"
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
           "  --overwrite             a name the options choose may replace another existing\n"
           "                          file (without it such a save is refused)\n"
           "  --save-as PATH          saves as Save As does, to PATH (one FILE only); a file\n"
           "                          at PATH is replaced as cp would\n"
           "\n"
           "Exit status: 0 when every file succeeded, 1 when any file failed, 2 for a\n"
           "usage error.\n";
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
    return UsageError(err, "unknown command '" + command + "'");
}
