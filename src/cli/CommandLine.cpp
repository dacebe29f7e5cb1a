#include "cli/CommandLine.h"

#include <ostream>

#include "cli/InfoCommand.h"

#ifndef KORVANE_VERSION
#define KORVANE_VERSION "0.1.0"
#endif

namespace {

constexpr const char* kUsage =
    "usage: korvane-cli info [--json] FILE...\n"
    "       korvane-cli --help | --version\n"
    "\n"
    "info   loads each style file and prints its title, copyright, tempo, time\n"
    "       signature, sections, channel volumes and chunks; with --json one JSON\n"
    "       object per file and line. A file that fails to load is reported with\n"
    "       the editor's message and the others are still done.\n"
    "\n"
    "Exit status: 0 when every file succeeded, 1 when any file failed, 2 for a\n"
    "usage error.\n";

}  // namespace

int UsageError(std::ostream& err, const std::string& problem) {
    err << "korvane-cli: " << problem << "\n" << "Try 'korvane-cli --help'.\n";
    return kExitUsage;
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
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
    return UsageError(err, "unknown command '" + command + "'");
}
