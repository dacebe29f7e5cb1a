// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>

#include "RunProgram.h"
#include "StyleBytes.h"
#include "TempDir.h"

namespace {

// The companion runs with its own configuration folder, holding a settings file
// written by hand where the editor keeps its settings.
class CliSettings : public testing::Test {
protected:
    CliSettings() { std::filesystem::create_directories(config / "Talvenhorn"); }

    void WriteSettings(const std::string& text) {
        std::ofstream(config / "Talvenhorn" / "Korvane - Yamaha Styles bearbeiten.conf") << text;
    }
    ProgramResult Run(const std::string& program, const std::vector<std::string>& args) {
        return RunProgram(program, args, scratch.path(), {"XDG_CONFIG_HOME=" + config.string()});
    }

    TempDir dir;
    TempDir scratch;
    TempDir home;
    std::filesystem::path config = home / "config";
};

#ifdef KORVANE_WITH_FLUIDSYNTH
// The setting "SoundFont" in the section "Playback" names the SoundFont a render uses;
// --soundfont overrides it for one call.
TEST_F(CliSettings, StoredSoundFontIsTheOneRendered) {
    const std::string chosen = (dir / "Chosen.sf2").string();
    WriteSettings("[Playback]\nSoundFont=" + chosen + "\n");
    const auto path = dir.Write("Play.sty", StyleFile(BasicEvents() + MarkerEvent("Main A") + EndOfTrack()));
    const ProgramResult stored = Run(KORVANE_CLI_PATH, {"render", "-o", (dir / "a.wav").string(), path.string()});
    EXPECT_EQ(stored.status, 1);
    EXPECT_NE(stored.err.find("The SoundFont \"" + chosen + "\" could not be read!"), std::string::npos) << stored.err;
    const std::string given = (dir / "Given.sf2").string();
    const ProgramResult overridden =
        Run(KORVANE_CLI_PATH, {"render", "--soundfont", given, "-o", (dir / "a.wav").string(), path.string()});
    EXPECT_NE(overridden.err.find("The SoundFont \"" + given + "\" could not be read!"), std::string::npos)
        << overridden.err;
}
#endif

TEST_F(CliSettings, StoredOptionsDecideTheFileNameAndTheSideFiles) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps the stored options in the registry; this test stores them in an INI file, which "
                    "only the Linux build reads (the start under Wine checks the registry)";
#endif
    WriteSettings("[Settings]\nAdaptFilename=1\nFormatFilename=0\nExportCASM=1\nDeleteOTS=1\n");
    const Bytes casm = Casm(Cseg(Sdec() + Ctab(9, 8)));
    const auto path = dir.Write("012_Old.sty", StyleFile(BasicEvents("Old") + EndOfTrack(), casm + Ots()));
    const ProgramResult result = Run(KORVANE_CLI_PATH, {"save", "--title", "Bossa", path.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, (dir / "012_Bossa.sty").string() + "\n");
    EXPECT_EQ(ReadFileBytes(dir / "012_Bossa.csm").data, casm.data);
    EXPECT_EQ(ReadFileBytes(dir / "012_Bossa.sty").data, StyleFile(BasicEvents("Bossa") + EndOfTrack(), casm).data);

    // -o overrides a stored option for one call.
    const ProgramResult overridden =
        Run(KORVANE_CLI_PATH, {"save", "-o", "AdaptFilename=0", "-o", "DeleteOTS=0", path.string()});
    EXPECT_EQ(overridden.out, path.string() + "\n");
}

#ifdef KORVANE_SETTINGS_MODULE
// korvane-cli reads the settings through its module. A copy without a loadable module
// still answers info, but refuses a save rather than act on other options than the
// user's, and leaves the style as it was.
TEST_F(CliSettings, WithoutItsSettingsModuleASaveIsRefusedAndNothingChanges) {
    const Bytes style = StyleFile(BasicEvents("Old") + EndOfTrack(), Casm(Cseg(Sdec() + Ctab(9, 8))) + Ots());
    const auto path = dir.Write("Old.sty", style);
    struct Case {
        const char* name;
        Bytes module;  // empty: no module file at all
        std::string said;
    };
    for (const Case& c : {Case{"no module", Bytes(), "The settings module \"korvane-settings\" was not found!"},
                          Case{"a module that is no library", Bytes::Text("not a shared object") + Bytes::Repeat(0x20, 100),
                               "invalid ELF header"}}) {
        SCOPED_TRACE(c.name);
        TempDir programs;
        const std::filesystem::path cli = programs / "korvane-cli";
        std::filesystem::copy_file(KORVANE_CLI_PATH, cli);
        if (!c.module.data.empty()) programs.Write("korvane-settings.so", c.module);

        const ProgramResult save = Run(cli.string(), {"save", "--title", "New", path.string()});
        EXPECT_EQ(save.status, 1);
        EXPECT_NE(save.err.find(c.said), std::string::npos) << save.err;
        EXPECT_EQ(ReadFileBytes(path).data, style.data);
        const ProgramResult info = Run(cli.string(), {"info", path.string()});
        EXPECT_EQ(info.status, 0) << info.err;
    }
}
#endif

TEST_F(CliSettings, InstallationRecordsTheHelpFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows installation finds its help beside the program and records nothing";
#endif
    const ProgramResult result = Run(KORVANE_REGISTER_HELP_PATH, {(dir / "help").string()});
    EXPECT_EQ(result.status, 0);
    std::ifstream file(config / "Talvenhorn" / "Korvane - Yamaha Styles bearbeiten.conf");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[Settings]\nInstallPath=" + (dir / "help").string()), std::string::npos) << text;
}

}  // namespace
