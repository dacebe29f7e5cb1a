// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramHelp.h"

#include <string_view>

#include "framework/Version.h"

namespace {

// Laid out as GNU programs lay out their help, so that help2man makes the manual page
// from it.
constexpr const char* kHelpText =
    "Usage: korvane [FILE]...\n"
    "Edits keyboard accompaniment style files (.sty, SFF1 and SFF2): their title,\n"
    "copyright, tempo, time signature and channel volumes, and the CASM and OTS\n"
    "sections they carry. A save changes only what was edited.\n"
    "\n"
    "Each FILE opens in a window of its own; a file that cannot be loaded gets the\n"
    "loader's message while the others open. One copy runs per user: a later start\n"
    "hands its files to the running copy, brings it to the front and ends.\n"
    "\n"
    "Options:\n"
    "  --help                  shows this text and ends\n"
    "  --version               shows the version and ends\n"
    "\n"
    "Exit status: 0, or 1 when files were given and none of them could be opened.\n";

}  // namespace

bool AsksForHelpOrVersion(int argc, char** argv) {
    if (argc < 2) return false;
    const std::string_view first = argv[1];
    return first == "--help" || first == "-h" || first == "--version";
}

std::optional<int> AnswerHelpOrVersion(int argc, char** argv, std::ostream& out) {
    if (!AsksForHelpOrVersion(argc, argv)) return std::nullopt;
    if (std::string_view(argv[1]) == "--version") {
        out << "korvane " << kKorvaneVersion << "\n";
    } else {
        out << kHelpText;
    }
    return out.flush() ? 0 : 1;
}
