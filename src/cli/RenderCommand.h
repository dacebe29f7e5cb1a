// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "storage/FileSystem.h"

// korvane-cli render [EDITS] [--section NAME] [--loops N] [--soundfont FILE] [--rate HZ]
// [--stems DIR] [--verbose] -o OUT.wav|OUT.mid FILE: writes what the section plays, as
// the save would write the style with the edits, as sound or as a MIDI file. Prints
// the files written.
// Every file the render reads and writes (the style, the SoundFont, the sound files)
// goes through files: the system's, unless a test hands in one that fails on purpose.
int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     FileSystem& files = SystemFileSystem());

// korvane-cli play [EDITS] [--section NAME] [--loops N] [--soundfont FILE] FILE...:
// plays each file through the sound system until done or interrupted.
int RunPlayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal);
