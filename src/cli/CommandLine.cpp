#include "cli/CommandLine.h"

#include <ostream>

#include "cli/InfoCommand.h"
#include "cli/SaveCommand.h"

#ifndef KORVANE_VERSION
#define KORVANE_VERSION "0.1.0"
#endif

namespace {

constexpr const char* kUsage =
    "usage: korvane-cli info [--json] FILE...\n"
    "       korvane-cli save [EDITS] [-o NAME=0|1]... [--save-as PATH] FILE...\n"
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
    "         --tempo BPM             0 to 250 (0 leaves the tempo as it is)\n"
    "         --time-signature N/D    each 1 to 128\n"
    "         --volume CH=V           channel 1-16 to volume 0-127; repeatable;\n"
    "                                 switches to single-channel volumes\n"
    "         --percent P             0 to 200: every volume scaled by P percent\n"
    "       The save options are the stored settings, each overridden by -o NAME=0|1:\n"
    "       AdaptFilename, FormatFilename, DeleteOldFile, DeleteAllCnttDefinitions,\n"
    "       DeleteOTS, ExportOTS, ImportOTS, DeleteCASM, ExportCASM, ImportCASM.\n"
    "\n"
    "Exit status: 0 when every file succeeded, 1 when any file failed, 2 for a\n"
    "usage error.\n";

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
        out << kUsage;
        return kExitSuccess;
    }
    if (command == "--version") {
        out << "korvane-cli " << KORVANE_VERSION << "\n";
        return kExitSuccess;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "info") return RunInfoCommand(rest, out, err);
    if (command == "save") return RunSaveCommand(rest, out, err, errIsTerminal);
    return UsageError(err, "unknown command '" + command + "'");
}
