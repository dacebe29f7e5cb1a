// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "FailingFileSystem.h"
#include "../PlayStyles.h"
#include "TempDir.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "play/files/Render.h"
#include "play/sound/SynthFactory.h"
#include "play/files/WavFile.h"

namespace {

// The small General MIDI SoundFont that libfluidsynth3 brings along (Debian
// timgm6mb-soundfont): its sound is what these figures were measured with.
const std::filesystem::path kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

class Sound : public testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kSoundFont)) GTEST_SKIP() << kSoundFont << " is not installed";
    }

    static std::unique_ptr<Synth> MakeSynth(int channel) {
        PlayError error;
        std::unique_ptr<Synth> synth = MakeRenderSynth(SystemFileSystem(), kSoundFont, kRate, channel < 0, error);
        EXPECT_TRUE(synth) << error.value_or("");
        return synth;
    }

    static std::vector<std::int16_t> Render(const Bytes& style, int channel, std::optional<int> tempo = std::nullopt,
                                            double gainDb = kOutputGainDb) {
        const Timeline timeline = Build(style, tempo);
        std::unique_ptr<Synth> synth = MakeSynth(channel);
        if (!synth) return {};
        RenderSettings settings{kSectionMainA, 1, kRate, channel, kAsRecorded};
        settings.gainDb = gainDb;
        return RenderSound(timeline, settings, *synth);
    }

    static int Peak(const std::vector<std::int16_t>& samples) {
        int peak = 0;
        for (const std::int16_t s : samples) peak = std::max(peak, std::abs(int{s}));
        return peak;
    }

    static double RmsDb(const std::vector<std::int16_t>& samples) {
        double sum = 0;
        for (const std::int16_t s : samples) sum += double(s) * s;
        return 10 * std::log10(sum / samples.size());
    }
};

// Regression: a file that is no SoundFont reached fluidsynth's loaders, and one of their
// libraries printed its own complaint before Korvane's message. Now only the message comes.
TEST(SoundFont, AnythingElseIsRefusedWithOnlyKorvanesMessage) {
    TempDir dir;
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"text.sf2", Bytes::Text("This is no SoundFont at all.")},
        {"wave.sf2", Bytes::Text("RIFF") + Bytes{4, 0, 0, 0} + Bytes::Text("WAVE")},
        {"short.sf2", Bytes::Text("RIFF")},
        {"empty.sf2", Bytes{}},
    };
    for (const auto& c : cases) {
        const auto path = dir.Write(c.name, c.bytes);
        PlayError error;
        testing::internal::CaptureStderr();
        EXPECT_EQ(MakeRenderSynth(SystemFileSystem(), path, kRate, true, error), nullptr) << c.name;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.name;
        EXPECT_EQ(error, FillIn(play_messages::kSoundFontUnreadable, {path.string()})) << c.name;
    }
}

// The SoundFont is read through the file system the caller hands in: a read that fails
// there refuses the SoundFont before fluidsynth opens it, however good the file is.
TEST(SoundFont, FailedReadOfTheHeaderRefusesIt) {
    FailingFileSystem files;
    files.FailAt(FailingFileSystem::Call::Read, 1, FailingFileSystem::Fault::Refuse);
    PlayError error;
    EXPECT_EQ(MakeRenderSynth(files, kSoundFont, kRate, true, error), nullptr);
    EXPECT_EQ(error, FillIn(play_messages::kSoundFontUnreadable, {std::filesystem::path(kSoundFont).string()}));
}

// A bass on channel 1 and a piano on channel 2, each with a volume, notes for a bar.
Bytes TwoChannelStyle(std::uint8_t bassVolume, std::uint32_t quarter = 500000) {
    return PlayStyle(480, TempoAt(0, quarter) + At(0, 0xB0, 0, 0) + ProgramAt(0, 0, 33) + At(0, 0xB0, 7, bassVolume) +
                              At(0, 0xB1, 0, 0) + ProgramAt(0, 1, 0) + At(0, 0xB1, 7, 100) + At(0, 0xB2, 7, 100) +
                              MarkerAt(0, "Main A") + At(0, 0x90, 36, 100) + At(0, 0x91, 64, 90) +
                              At(960, 0x80, 36, 0) + At(0, 0x81, 64, 0) + At(0, 0x90, 43, 100) + At(0, 0x91, 67, 90) +
                              At(960, 0x80, 43, 0) + At(0, 0x81, 67, 0) + EndAt(0));
}

// Halving a channel's volume (100 to 50) lowers its stem by 12 dB, as the General MIDI
// volume curve has it, and leaves every other stem as it was, sample for sample.
TEST_F(Sound, HalvedVolumeLowersItsStemByTwelveDecibels) {
    const std::vector<std::int16_t> loud = Render(TwoChannelStyle(100), 0);
    const std::vector<std::int16_t> soft = Render(TwoChannelStyle(50), 0);
    ASSERT_FALSE(loud.empty());
    // The softer one falls below -90 dBFS sooner: compare what both hold.
    const std::size_t common = std::min(loud.size(), soft.size());
    const double step = RmsDb({loud.begin(), loud.begin() + common}) - RmsDb({soft.begin(), soft.begin() + common});
    RecordProperty("decibels", std::to_string(step));
    EXPECT_NEAR(step, 12.0, 0.3);
    EXPECT_EQ(Render(TwoChannelStyle(100), 1), Render(TwoChannelStyle(50), 1));
}

// Every render passes the output stage: a stem that stays below its ceiling is the
// synthesizer's sound raised by the output gain, to the hundredth of a decibel.
TEST_F(Sound, RenderIsRaisedByTheOutputGain) {
    const std::vector<std::int16_t> raised = Render(TwoChannelStyle(50), 0);
    const std::vector<std::int16_t> plain = Render(TwoChannelStyle(50), 0, std::nullopt, 0.0);
    ASSERT_FALSE(plain.empty());
    EXPECT_LT(Peak(raised), 29204) << "below the ceiling, so the limiter leaves it alone";
    // The quieter one falls below -90 dBFS sooner: compare what both hold.
    const std::size_t common = std::min(raised.size(), plain.size());
    EXPECT_NEAR(RmsDb({raised.begin(), raised.begin() + common}) - RmsDb({plain.begin(), plain.begin() + common}),
                kOutputGainDb, 0.01);
}

// Ten channels of loud chords, far over full scale once raised: no sample passes the
// limiter's ceiling of -1 dBFS (29,204 of 32,767), and the loudest still reach it.
TEST_F(Sound, LoudStyleNeverClips) {
    Bytes events = TempoAt(0, 500000) + MarkerAt(0, "Main A");
    for (std::uint8_t channel = 0; channel < 10; ++channel) {
        events += At(0, std::uint8_t(0xB0 | channel), 7, 127) + ProgramAt(0, channel, std::uint8_t(channel * 8));
    }
    for (std::uint8_t channel = 0; channel < 10; ++channel) {
        for (const std::uint8_t note : {48, 55, 60, 64, 67}) events += At(0, std::uint8_t(0x90 | channel), note, 127);
    }
    events += At(1920, 0x80, 48, 0) + EndAt(0);
    const std::vector<std::int16_t> sound = Render(PlayStyle(480, events), -1);
    ASSERT_FALSE(sound.empty());
    EXPECT_LE(Peak(sound), 29204);
    EXPECT_GE(Peak(sound), 28000);
}

// The WAV file a render writes block by block holds the bytes the whole render in
// memory would give.
TEST_F(Sound, RenderWrittenInBlocksIsTheRenderInMemory) {
    TempDir dir;
    const Timeline timeline = Build(TwoChannelStyle(100));
    std::unique_ptr<Synth> synth = MakeSynth(-1);
    ASSERT_TRUE(synth);
    WavFileWriter wav(SystemFileSystem(), dir / "Out.wav", kRate);
    EXPECT_TRUE(RenderSound(timeline, RenderSettings{kSectionMainA, 1, kRate, -1, kAsRecorded}, *synth,
                            [&wav](std::span<const std::int16_t> block) { return wav.Write(block); }));
    ASSERT_EQ(wav.Finish().outcome, WriteOutcome::Written);
    EXPECT_EQ(ReadFileBytes(dir / "Out.wav").data, WavFileBytes(Render(TwoChannelStyle(100), -1), kRate));
}

// A channel that has a volume but no notes renders exact silence.
TEST_F(Sound, ChannelWithoutNotesIsSilent) {
    const std::vector<std::int16_t> stem = Render(TwoChannelStyle(100), 2);
    ASSERT_FALSE(stem.empty());
    EXPECT_TRUE(std::all_of(stem.begin(), stem.end(), [](std::int16_t s) { return s == 0; }));
}

// The same input gives the same samples, run after run.
TEST_F(Sound, TwoRendersAreIdentical) {
    const std::vector<std::int16_t> first = Render(TwoChannelStyle(100), -1);
    EXPECT_GT(*std::max_element(first.begin(), first.end()), 1000);
    EXPECT_EQ(first, Render(TwoChannelStyle(100), -1));
}

// The sound of the last note starts at half the time when the tempo doubles.
TEST_F(Sound, DoubledTempoHalvesTheSound) {
    // The dry sound of the second note begins after the first has rung out to silence.
    const auto lastOnset = [](const std::vector<std::int16_t>& samples) {
        bool heard = false;
        std::size_t silentFrames = 0;
        for (std::size_t frame = 0; frame < samples.size() / 2; ++frame) {
            const bool silent = samples[2 * frame] == 0 && samples[2 * frame + 1] == 0;
            if (!silent && heard && silentFrames > 2000) return frame;
            if (!silent) heard = true;
            silentFrames = silent ? silentFrames + 1 : 0;
        }
        return std::size_t{0};
    };
    // One short note, a rest, and a second note two quarters later.
    const auto style = [] {
        return PlayStyle(480, TempoAt(0, 500000) + At(0, 0xB0, 0, 0) + ProgramAt(0, 0, 115) + MarkerAt(0, "Main A") +
                                  At(0, 0x90, 76, 100) + At(30, 0x80, 76, 0) + At(1890, 0x90, 76, 100) +
                                  At(30, 0x80, 76, 0) + EndAt(0));
    };
    const std::size_t normal = lastOnset(Render(style(), 0));
    const std::size_t doubled = lastOnset(Render(style(), 0, 240));
    ASSERT_GT(normal, 0u);
    EXPECT_NEAR(double(doubled), normal / 2.0, 64.0);
    // fluidsynth starts a note at its next block of 64 samples, and the first samples
    // of an attack round to 0.
    EXPECT_NEAR(double(normal), 1920.0 / 480 * 0.5 * kRate, 2 * 64.0);
}

}  // namespace
