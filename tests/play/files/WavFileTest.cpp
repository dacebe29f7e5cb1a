// SPDX-License-Identifier: GPL-3.0-or-later
// A WAV file written block by block, as a render writes it, is the file that all the
// samples at once would make, and a write that fails leaves no part of it.

#include <gtest/gtest.h>

#include <set>

#include "FailingFileSystem.h"
#include "TempDir.h"
#include "play/files/WavFile.h"

namespace fs = std::filesystem;

namespace {

// A sound that no writer could mistake for another: every sample differs from its
// neighbours, full scale included.
std::vector<std::int16_t> Samples(std::size_t count) {
    std::vector<std::int16_t> samples(count);
    std::uint32_t state = 12345;
    for (std::int16_t& sample : samples) {
        state = state * 1664525u + 1013904223u;
        sample = static_cast<std::int16_t>(state >> 16);
    }
    samples[1] = 32767;
    samples[2] = -32768;
    return samples;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// In blocks of one sample, of an odd size and larger than the writer's buffer.
TEST(WavFileWriter, BlocksGiveTheFileAllSamplesAtOnceGive) {
    TempDir dir;
    const std::vector<std::int16_t> samples = Samples(2 * 100003);
    for (const std::size_t block : {std::size_t{1}, std::size_t{1021}, std::size_t{70000}}) {
        const fs::path path = dir / ("Out-" + std::to_string(block) + ".wav");
        WavFileWriter wav(SystemFileSystem(), path, 48000);
        for (std::size_t at = 0; at < samples.size(); at += block) {
            ASSERT_TRUE(wav.Write(std::span(samples).subspan(at, std::min(block, samples.size() - at))));
        }
        EXPECT_EQ(wav.Finish().outcome, WriteOutcome::Written);
        EXPECT_EQ(ReadFileBytes(path).data, WavFileBytes(samples, 48000)) << "blocks of " << block;
    }
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"Out-1.wav", "Out-1021.wav", "Out-70000.wav"}));
}

// A disk that fills up midway: the old file stays whole and no part of the new one is left.
TEST(WavFileWriter, FailedWriteLeavesTheOldFileAndNothingElse) {
    TempDir dir;
    const fs::path path = dir.Write("Out.wav", Bytes::Text("an older file"));
    FailingFileSystem files;
    files.FailAt(FailingFileSystem::Call::Write, 3, FailingFileSystem::Fault::FailAfterPart);
    WavFileWriter wav(files, path, 44100);
    const std::vector<std::int16_t> samples = Samples(1 << 16);
    bool stopped = false;
    for (int block = 0; block < 8 && !stopped; ++block) stopped = !wav.Write(samples);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(wav.Finish().outcome, WriteOutcome::WriteFailed);
    EXPECT_EQ(ReadFileBytes(path).str(), "an older file");
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"Out.wav"});
}

// Without Finish (a render that failed on the way) nothing takes the name.
TEST(WavFileWriter, UnfinishedFileIsNeverPutInPlace) {
    TempDir dir;
    {
        WavFileWriter wav(SystemFileSystem(), dir / "Out.wav", 44100);
        EXPECT_TRUE(wav.Write(Samples(1000)));
    }
    EXPECT_TRUE(Names(dir.path()).empty());
}

}  // namespace
