// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFileFailed = 1;
inline constexpr int kExitUsage = 2;
// render to sound and play in a build without a synthesizer.
inline constexpr int kExitNoSynthesizer = 3;
// play stopped with Ctrl+C, as shells count a SIGINT.
inline constexpr int kExitInterrupted = 130;

// Runs one call of korvane-cli; args are the arguments after the program name.
// With a terminal on standard error, work on many files shows a progress line.
// COMMAND --help (or -h) prints that command's usage and options. Returns the exit status.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   bool errIsTerminal = false);

// Whether the call args make reads the editor's stored settings (save, render and play
// do, unless asked for their help).
bool ReadsEditorSettings(const std::vector<std::string>& args);

// Reports a usage error and returns kExitUsage.
int UsageError(std::ostream& err, const std::string& problem);
