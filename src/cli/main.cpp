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
#else
#include <unistd.h>
bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }
#endif

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
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
    std::cout.flush();
    return status;
}
