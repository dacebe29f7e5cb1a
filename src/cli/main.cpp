// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/EditorSettings.h"

#ifdef _WIN32
// windows.h before the headers that build on it.
#include <windows.h>
// clang-format off
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
// clang-format on

bool StandardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
void ReportBrokenPipesAsErrors() {}

// The arguments as UTF-8, read from the wide command line: the narrow one holds only
// what the system's code page can spell, so "Café ü€.sty" would arrive as "Caf? ??.sty".
std::vector<std::string> Arguments(int, char**) {
    std::vector<std::string> args;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide && i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(size > 0 ? size - 1 : 0, '\0');
        if (size > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), size, nullptr, nullptr);
        args.push_back(std::move(arg));
    }
    LocalFree(wide);
    // What is printed is UTF-8 too, so a console shows it right, and lines end in a
    // line feed alone, as on every other system.
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return args;
}
#else
#include <unistd.h>

#include <csignal>
#ifdef __GLIBC__
#include <malloc.h>
#endif
bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }
// A reader that went away (korvane-cli info ... | head -1) makes the write fail with
// an error instead of ending the program unseen.
void ReportBrokenPipesAsErrors() { std::signal(SIGPIPE, SIG_IGN); }
std::vector<std::string> Arguments(int argc, char** argv) { return {argv + 1, argv + argc}; }
#endif

// info takes and frees a buffer of each file's size, on several threads. Handing that
// memory back to the system after each file, as the allocator does by default above
// 128 KiB, costs a page fault for every page the next file touches and, with threads,
// interrupts every other processor to flush its address cache; a run of info is short,
// so it keeps what it freed instead. (32 MiB is the most the allocator takes from its
// heap rather than mapping it apart.)
void KeepFreedMemory() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_TOP_PAD, 16 << 20);
#endif
}

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    ReportBrokenPipesAsErrors();
    const std::vector<std::string> args = Arguments(argc, argv);
    if (!args.empty() && args.front() == "info") KeepFreedMemory();
    // The save options of a new document and the SoundFont are the editor's stored
    // ones; only a save, a render and play read them (not their help), and only they pay
    // for opening the store. Without its store the call would quietly act on other
    // settings than the user's, so it does not run.
    std::unique_ptr<CProfile> settings;
    if (ReadsEditorSettings(args)) {
        std::string error;
        settings = OpenEditorSettings(error);
        if (!error.empty()) {
            std::cerr << error << "\n";
            return kExitFileFailed;
        }
        if (settings) SetAppProfile(settings.get());
    }
    const int status = RunCommandLine(args, std::cout, std::cerr, StandardErrorIsTerminal());
    // What a script reads from standard output is the result; when it could not all be
    // written (a full disk, a closed pipe), the run failed.
    if (!std::cout.flush()) {
        std::cerr << "korvane-cli: could not write to standard output\n";
        return status == kExitSuccess ? kExitFileFailed : status;
    }
    return status;
}
