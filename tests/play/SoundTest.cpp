// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "PlayStyles.h"
#include "TempDir.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "play/Render.h"
#include "play/SynthFactory.h"

namespace {

// The small General MIDI SoundFont that libfluidsynth3 brings along (Debian
// timgm6mb-soundfont): its sound is what these figures were measured with.
const std::filesystem::path kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

class Sound : public testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kSoundFont)) GTEST_SKIP() << kSoundFont << " is not installed";
    }

    static std::vector<std::int16_t> Render(const Bytes& style, int channel, std::optional<int> tempo = std::nullopt) {
        const Timeline timeline = Build(style, tempo);
        PlayError error;
        std::unique_ptr<Synth> synth = MakeRenderSynth(kSoundFont, kRate, channel < 0, error);
        EXPECT_TRUE(synth) << error.value_or("");
        if (!synth) return {};
        return RenderSound(timeline, RenderSettings{kPlaySectionMainA, 1, kRate, channel, kAsRecorded}, *synth);
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
        EXPECT_EQ(MakeRenderSynth(path, kRate, true, error), nullptr) << c.name;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.name;
        EXPECT_EQ(error, FillIn(play_messages::kSoundFontUnreadable, {path.string()})) << c.name;
    }
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
