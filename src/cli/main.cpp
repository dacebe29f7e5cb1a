// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/EditorSettings.h"
#include "framework/platform/Arguments.h"
#include "framework/platform/Console.h"

#ifdef __GLIBC__
#include <malloc.h>
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
    SetUpConsoleOutput();
    const std::vector<std::string> args = ProgramArguments(argc, argv);
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
