#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#ifdef KORVANE_CLI_SETTINGS
#include "options/SettingsProfile.h"
#endif

#ifdef _WIN32
#include <io.h>
bool StandardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
void ReportBrokenPipesAsErrors() {}
#else
#include <unistd.h>

#include <csignal>
bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }
// A reader that went away (korvane-cli info ... | head -1) makes the write fail with
// an error instead of ending the program unseen.
void ReportBrokenPipesAsErrors() { std::signal(SIGPIPE, SIG_IGN); }
#endif

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    ReportBrokenPipesAsErrors();
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef KORVANE_CLI_SETTINGS
    // The save options of a new document are the editor's stored ones; only a save
    // needs them.
    std::unique_ptr<CSettingsProfile> settings;
    if (!args.empty() && args.front() == "save") {
        settings = std::make_unique<CSettingsProfile>();
        SetAppProfile(settings.get());
    }
#endif
    const int status = RunCommandLine(args, std::cout, std::cerr, StandardErrorIsTerminal());
    // What a script reads from standard output is the result; when it could not all be
    // written (a full disk, a closed pipe), the run failed.
    if (!std::cout.flush()) {
        std::cerr << "korvane-cli: could not write to standard output\n";
        return status == kExitSuccess ? kExitFileFailed : status;
    }
    return status;
}
