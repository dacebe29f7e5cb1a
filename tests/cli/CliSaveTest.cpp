// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "RunProgram.h"
#include "StyleBytes.h"
#include "TempDir.h"

namespace {

const std::vector<std::string> kPlainNames = {"-o", "AdaptFilename=0", "-o", "FormatFilename=0"};

Bytes Events(const std::string& title, const Bytes& copyright, std::uint32_t tempo, std::uint8_t numerator,
             std::uint8_t power, std::uint8_t volume9, std::uint8_t volume2) {
    return TitleEvent(title) + copyright + Sff1Marker() + TempoEvent(tempo) + TimeSignatureEvent(numerator, power) +
           VolumeEvent(9, volume9) + VolumeEvent(2, volume2) + EndOfTrack();
}

Bytes Original() { return StyleFile(Events("Pop", {}, 500000, 4, 2, 100, 64), Ots()); }

class CliSave : public testing::Test {
protected:
    ProgramResult Save(std::vector<std::string> args) {
        args.insert(args.begin(), "save");
        return RunProgram(KORVANE_CLI_PATH, args, scratch.path());
    }
    static std::vector<std::string> With(std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    TempDir dir;
    TempDir scratch;
};

TEST_F(CliSave, EditsAreWrittenAndThePathPrinted) {
    const auto path = dir.Write("Pop.sty", Original());
    const ProgramResult result = Save(With(kPlainNames, {"--title", "Café", "--copyright", "(C) Me", "--tempo", "60",
                                                         "--time-signature", "6/8", "--percent", "50", path.string()}));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, path.string() + "\n");
    EXPECT_EQ(ReadFileBytes(path).data,
              StyleFile(Events("Caf\xE9", CopyrightEvent("(C) Me"), 1000000, 6, 3, 50, 32), Ots()).data);
}

TEST_F(CliSave, SingleChannelVolumes) {
    const auto path = dir.Write("Pop.sty", Original());
    const ProgramResult result = Save(With(kPlainNames, {"--volume", "10=80", path.string()}));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadFileBytes(path).data, StyleFile(Events("Pop", {}, 500000, 4, 2, 80, 64), Ots()).data);
}

TEST_F(CliSave, StoredOptionsNameTheFileUnlessOverridden) {
    // A new document's defaults: the name follows the title and is formatted.
    const auto path = dir.Write("Pop.sty", Original());
    const ProgramResult formatted = Save({"--title", "Rock", path.string()});
    EXPECT_EQ(formatted.status, 0);
    const std::string rock = (dir / ("Rock" + std::string(16, ' ') + "$.sty")).string();
    EXPECT_EQ(formatted.out, rock + "\n");

    const ProgramResult plain = Save({"-o", "FormatFilename=0", "-o", "ExportOTS=1", "--title", "Jazz", path.string()});
    EXPECT_EQ(plain.out, (dir / "Jazz.sty").string() + "\n");
    EXPECT_EQ(ReadFileBytes(dir / "Jazz.ots").data, Ots().data);
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(CliSave, SaveAsWritesAnotherFile) {
    const auto path = dir.Write("Pop.sty", Original());
    const auto copy = dir / "Copy.sty";
    const ProgramResult result = Save(With(kPlainNames, {"--save-as", copy.string(), path.string()}));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, copy.string() + "\n");
    EXPECT_EQ(ReadFileBytes(copy).data, Original().data);
}

// Names reach the system whole, in any script: on Windows through its wide calls, as
// the narrow ones know only the code page ("Café ü€" once could not be opened there).
TEST_F(CliSave, NamesBeyondTheCodePageAreOpenedAndSaved) {
    const auto utf8 = [](const std::filesystem::path& path) {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    };
    const auto path = dir.Write("Café ü€ Ω.sty", Original());
    const ProgramResult result =
        Save({"-o", "FormatFilename=0", "-o", "DeleteOldFile=1", "--title", "Crème €", utf8(path)});
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, utf8(dir / "Crème €.sty") + "\n");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(ReadFileBytes(dir / "Crème €.sty").data,
              StyleFile(Events("Cr\xE8me \x80", {}, 500000, 4, 2, 100, 64), Ots()).data);
}

TEST_F(CliSave, FailuresAreReportedPerFileAndTheOthersSaved) {
    const auto good = dir.Write("Good.sty", Original());
    const Bytes noTempo = StyleFile(BasicEvents() + VolumeEvent(0, 90) + EndOfTrack());
    const auto plain = dir.Write("NoTempo.sty", noTempo);
    const auto bad = dir.Write("Bad.sty", Bytes::Repeat('x', 60));
    const ProgramResult result =
        Save(With(kPlainNames, {"--tempo", "90", bad.string(), plain.string(), good.string()}));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, good.string() + "\n");
    EXPECT_EQ(result.err, bad.string() + ":\nThis file is not a Yamaha style file!\n\n(Invalid header.)\n" +
                              plain.string() + ":\nThis style has no tempo to change.\n");
    EXPECT_EQ(ReadFileBytes(plain).data, noTempo.data);
    EXPECT_EQ(ReadFileBytes(good).data, StyleFile(Events("Pop", {}, 666666, 4, 2, 100, 64), Ots()).data);
}

TEST_F(CliSave, SaveMessagesGoToStandardError) {
    const auto path = dir.Write("Pop.sty", Original());
    const ProgramResult empty = Save(With(kPlainNames, {"--title", "", path.string()}));
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, path.string() + ":\nFile title may not be empty!\n");
    EXPECT_EQ(empty.out, "");

    // A folder that is not there is named, before any side file is tried there.
    const auto nowhere = dir / "nowhere";
    const ProgramResult missing =
        Save(With(kPlainNames, {"-o", "ExportOTS=1", "--save-as", (nowhere / "Pop.sty").string(), path.string()}));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, path.string() + ":\nError creating/writing style file!\n\n(The folder \"" +
                               nowhere.string() + "\" does not exist.)\n");
    EXPECT_EQ(ReadFileBytes(path).data, Original().data);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST_F(CliSave, UsageErrorsChangeNothing) {
    const auto path = dir.Write("Pop.sty", Original());
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"--tempo", "251", path.string()},
        {"--tempo", "fast", path.string()},
        {"--time-signature", "4", path.string()},
        {"--time-signature", "4/0", path.string()},
        {"--volume", "17=5", path.string()},
        {"--volume", "1=128", path.string()},
        {"--percent", "201", path.string()},
        {"--percent", "50", "--volume", "1=5", path.string()},
        {"-o", "AllChannels=1", path.string()},
        {"-o", "DeleteOTS=2", path.string()},
        {"--title", "日本", path.string()},
        {"--save-as", "x.sty", path.string(), path.string()},
        {"--frobnicate", path.string()},
        {path.string(), "--title"},
    };
    for (const auto& args : wrong) {
        const ProgramResult result = Save(args);
        EXPECT_EQ(result.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("korvane-cli: ", 0), 0u) << result.err;
    }
    EXPECT_EQ(ReadFileBytes(path).data, Original().data);
}

#ifdef _WIN32
// What Windows, and Wine that runs these tests there, cannot show: each is skipped
// by name, saying why.
TEST_F(CliSave, ProgressLineOnATerminalOnly) { GTEST_SKIP() << "no script(1) to give the companion a terminal"; }
TEST_F(CliSave, FailedWriteToStandardOutputIsAFailure) { GTEST_SKIP() << "Windows has no /dev/full"; }
TEST_F(CliSave, NamesThatAreNotUtf8ArePrintedLosslessly) {
    GTEST_SKIP() << "Windows names are UTF-16: every name is valid text";
}
TEST_F(CliSave, SpecialFileDoesNotHoldUpTheFilesAfterIt) { GTEST_SKIP() << "Windows has no FIFOs"; }
#else
TEST_F(CliSave, ProgressLineOnATerminalOnly) {
    const auto first = dir.Write("One.sty", Original());
    const auto second = dir.Write("Two.sty", Original());
    std::string command = ShellQuote(KORVANE_CLI_PATH) + " save";
    for (const std::string& arg : With(kPlainNames, {first.string(), second.string()}))
        command += " " + ShellQuote(arg);
    // script(1) gives the program a terminal and copies what it shows.
    const ProgramResult shown = RunProgram("script", {"-qec", command, "/dev/null"}, scratch.path());
    EXPECT_EQ(shown.status, 0);
    EXPECT_NE(shown.out.find("[2/2] " + second.string() + "\r\033[K" + second.string()), std::string::npos)
        << shown.out;
    const ProgramResult piped = Save(With(kPlainNames, {first.string(), second.string()}));
    EXPECT_EQ(piped.err, "");
    EXPECT_EQ(piped.out, first.string() + "\n" + second.string() + "\n");
}

TEST_F(CliSave, FailedWriteToStandardOutputIsAFailure) {
    const auto path = dir.Write("Pop.sty", Original());
    for (const char* redirect : {">/dev/full", ">&-"}) {
        const std::string script = std::string("exec \"$0\" info \"$1\" ") + redirect;
        const ProgramResult result = RunProgram("sh", {"-c", script, KORVANE_CLI_PATH, path.string()}, scratch.path());
        EXPECT_EQ(result.status, 1) << redirect;
        EXPECT_EQ(result.err, "korvane-cli: could not write to standard output\n") << redirect;
    }
}

TEST_F(CliSave, NamesThatAreNotUtf8ArePrintedLosslessly) {
    const std::string name = "Caf\xE9 \xFF.sty";  // Latin-1 bytes, as an old system wrote them
    const auto path = dir.Write(name, Original());
    const ProgramResult saved = Save(With(kPlainNames, {path.string()}));
    EXPECT_EQ(saved.status, 0);
    EXPECT_EQ(saved.out, path.string() + "\n");
    const ProgramResult info = RunProgram(KORVANE_CLI_PATH, {"info", "--json", path.string()}, scratch.path());
    const std::string folder = dir.path().string();
    EXPECT_EQ(info.out.substr(0, info.out.find(',')), "{\"path\": \"" + folder + "/Caf\\udce9 \\udcff.sty\"");
}

TEST_F(CliSave, SpecialFileDoesNotHoldUpTheFilesAfterIt) {
    const auto fifo = dir / "Pipe.sty";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto path = dir.Write("Pop.sty", Original());
    const ProgramResult result = Save(With(kPlainNames, {"--title", "Rock", fifo.string(), path.string()}));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, path.string() + "\n");
    EXPECT_EQ(result.err, fifo.string() +
                              ":\nError opening style file!\n\n(Please check if file is in use by another "
                              "application.)\n");
}
#endif

}  // namespace

namespace {

TEST_F(CliSave, BatchNeverOverwritesAStyleTheNamingRulesCollideWith) {
    // a.sty titled "B" must not replace B.sty before B.sty is read.
    const auto a = dir.Write("a.sty", StyleFile(Events("B", {}, 500000, 4, 2, 100, 64)));
    const auto b = dir.Write("B.sty", Original());
    const std::vector<std::string> options = {"-o", "FormatFilename=0", "--percent", "50"};
    const ProgramResult refused = Save(With(options, {a.string(), b.string()}));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, a.string() +
                               ":\nThe file \"B.sty\" already exists!\n\n(Saving would replace another file; "
                               "nothing was saved.)\n");
    EXPECT_EQ(ReadFileBytes(a).data, StyleFile(Events("B", {}, 500000, 4, 2, 100, 64)).data);
    // B.sty, titled "Pop", was read and saved under its own title.
    EXPECT_EQ(ReadFileBytes(b).data, Original().data);
    EXPECT_EQ(ReadFileBytes(dir / "Pop.sty").data, StyleFile(Events("Pop", {}, 500000, 4, 2, 50, 32), Ots()).data);

    const ProgramResult replaced = Save(With(options, {"--overwrite", a.string()}));
    EXPECT_EQ(replaced.status, 0);
    EXPECT_EQ(ReadFileBytes(b).data, StyleFile(Events("B", {}, 500000, 4, 2, 50, 32)).data);
}

}  // namespace
