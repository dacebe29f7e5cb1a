// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "FailingFileSystem.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "cli/RenderCommand.h"

namespace {

using Call = FailingFileSystem::Call;
using Fault = FailingFileSystem::Fault;

// A render reads the style and writes its file through the file system it is handed:
// each failure there ends the render with its message, exit status 1 and no file.
TEST(RenderFaults, AFailedReadOrWriteLeavesNoFileAndSaysWhy) {
    const struct {
        const char* what;
        Call call;
        Fault fault;
        const char* message;
    } cases[] = {
        {"style cannot be read", Call::Read, Fault::Refuse, "Error loading file into internal buffer!"},
        {"sound file cannot be made", Call::CreateTemporary, Fault::Refuse, "Error creating/writing file"},
        {"write fails halfway", Call::Write, Fault::FailAfterPart, "Error creating/writing file"},
        {"flush fails", Call::Flush, Fault::Refuse, "Error creating/writing file"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const auto style = dir.Write("Bass.sty", StyleFile(BasicEvents() + MarkerEvent("Main A") + NoteOn(10, 36, 100) +
                                                           Bytes{0x83, 0x60, 0x8A, 36, 0} + EndOfTrack()));
        const auto out = dir / "Bass.mid";
        FailingFileSystem files;
        files.FailAt(c.call, 1, c.fault);
        std::ostringstream printed;
        std::ostringstream errors;
        EXPECT_EQ(RunRenderCommand({"-o", out.string(), style.string()}, printed, errors, files), 1) << c.what;
        EXPECT_NE(errors.str().find(c.message), std::string::npos) << c.what << ": " << errors.str();
        EXPECT_FALSE(std::filesystem::exists(out)) << c.what;
        EXPECT_EQ(printed.str(), "") << c.what;
    }
}

}  // namespace
