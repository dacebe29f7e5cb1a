// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>

#include "PlayStyles.h"
#include "PumpedOutput.h"
#include "TempDir.h"
#include "document/EditRules.h"
#include "document/KorvaneDoc.h"
#include "msg/FillIn.h"
#include "play/sound/OutputStage.h"
#include "play/KeyboardInput.h"
#include "play/Player.h"

namespace {

class Player : public testing::Test {
protected:
    Player()
        : player([this](PlayError&) {
              ++outputsMade;
              auto made = std::make_unique<PumpedOutput>();
              made->readableFont = readableFont;
              output = made.get();
              return made;
          }) {
        // Volume 100 on channel 1, a note each quarter for four quarters on channel 9 (a style
        // without channel rules plays channels 9-16 only).
        Bytes section = MarkerAt(0, "Main A");
        for (int beat = 0; beat < 4; ++beat) section += At(0, 0x98, 60, 100) + At(480, 0x88, 60, 0);
        const auto path = dir.Write("Play.sty", PlayStyle(480, TempoAt(0, 500000) + At(0, 0xB0, 7, 100) + section +
                                                                   MarkerAt(0, "Main B") + EndAt(1920)));
        EXPECT_TRUE(doc.OnOpenDocument(path));
    }

    TempDir dir;
    CKorvaneDoc doc;
    int outputsMade = 0;
    bool readableFont = true;
    PumpedOutput* output = nullptr;
    CStylePlayer player;
};

TEST_F(Player, ListsTheSectionsForThePlayMenu) {
    EXPECT_EQ(PlayableSections(doc.Image(), doc.CurrentTrackEdits()), (std::vector<std::string>{"Main A", "Main B"}));
}

// The synthesizer is made on the first Play only, and kept for the next.
TEST_F(Player, MakesTheSynthesizerOnFirstPlayOnly) {
    EXPECT_EQ(outputsMade, 0);
    ASSERT_FALSE(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "font.sf2"));
    ASSERT_FALSE(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main B", "font.sf2"));
    EXPECT_EQ(outputsMade, 1);
    EXPECT_TRUE(player.IsPlaying());
}

// Errors come back as values, and nothing plays after one.
TEST_F(Player, ErrorsLeaveNothingPlaying) {
    EXPECT_EQ(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Intro A", "font.sf2"),
              "This style has no section \"Intro A\"!\n\n(Its sections: Main A, Main B.)");
    EXPECT_EQ(outputsMade, 0);
    readableFont = false;
    EXPECT_EQ(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "missing.sf2"), FillIn(play_messages::kSoundFontUnreadable, {"missing.sf2"}));
    EXPECT_FALSE(player.IsPlaying());
    CStylePlayer refused([](PlayError&) {
        auto made = std::make_unique<PumpedOutput>();
        made->audioThere = false;
        return made;
    });
    EXPECT_EQ(refused.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "font.sf2"), FillIn(play_messages::kNoAudioOutput, {"pulseaudio, alsa"}));
    EXPECT_FALSE(refused.IsPlaying());
    EXPECT_FALSE(refused.Status().playing);
}

// A volume or percentage edit is heard at the next buffer, without a restart; the
// status line follows a tempo edit.
TEST_F(Player, EditsAreHeardWhilePlaying) {
    ASSERT_FALSE(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "font.sf2"));
    output->Pump(4096);
    EXPECT_EQ(VolumesSent(output->synth), (std::vector<VolumeSent>{{0, 100}}));
    EXPECT_EQ(player.Status().section, "Main A");
    EXPECT_EQ(player.Status().bpm, 120);

    ASSERT_FALSE(EditAllChannelsPercent(doc, 50));
    ASSERT_FALSE(EditTempo(doc, 60));
    ASSERT_FALSE(player.UpdateEdits(doc.Image(), doc.CurrentTrackEdits()));
    const std::uint64_t before = output->synth.samples;
    output->Pump(512);
    EXPECT_EQ(VolumesSent(output->synth), (std::vector<VolumeSent>{{0, 100}, {0, 50}}));
    EXPECT_EQ(output->synth.messages.back().sample, before);
    EXPECT_EQ(player.Status().bpm, 60);

    // The second note comes a quarter after the first, at the tempo now in force: the
    // part of the quarter before the edit passed at 120 bpm, the rest at 60 (to a tick).
    output->Pump(44100);
    const std::vector<SentMessage> ons = output->synth.NoteOns();
    ASSERT_GE(ons.size(), 2u);
    EXPECT_NEAR(static_cast<double>(ons[1].sample), 4096 + (22050.0 - 4096) * 2, 44100.0 / 480);
}

TEST_F(Player, StopSilencesAtOnce) {
    ASSERT_FALSE(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "font.sf2"));
    output->Pump(1024);
    const int resets = output->synth.resets;
    player.Stop();
    EXPECT_EQ(output->source, nullptr);
    EXPECT_EQ(output->synth.resets, resets + 1);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(player.UpdateEdits(doc.Image(), doc.CurrentTrackEdits()));
}

// The handover between the caller's thread and the audio thread: edits arrive while
// the audio thread plays, and every one is taken or freed (the sanitizer build sees
// a leak or a use after free).
// Regression: an edit handed over while the previous one waited to be freed was never heard.
TEST_F(Player, EditsHandedOverWhileTheAudioThreadRuns) {
    ASSERT_FALSE(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "font.sf2"));
    output->Pump(64);
    std::atomic<bool> done{false};
    std::thread audio([&] {
        while (!done) output->Pump(64);
    });
    for (int percent = 0; percent <= 200; percent += 5) {
        ASSERT_FALSE(EditAllChannelsPercent(doc, percent));
        ASSERT_FALSE(player.UpdateEdits(doc.Image(), doc.CurrentTrackEdits()));
    }
    done = true;
    audio.join();
    // The last edit is heard, however the two threads met before it.
    output->Pump(64);
    EXPECT_EQ(VolumesSent(output->synth).back(), (VolumeSent{0, 127}));
    player.Stop();
}

// Live play passes the output stage that renders pass: what the synthesizer makes is
// heard with the output gain once the limiter's look-ahead has passed, and a sound too
// loud for it is held below the ceiling.
TEST_F(Player, SoundIsHeardAtTheLevelOfARender) {
    ASSERT_FALSE(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "font.sf2"));
    output->synth.level = 0.001f;
    output->keepSound = true;
    output->Pump(4096);
    const OutputStage stage(44100);
    ASSERT_EQ(output->heard.size(), 4096u);
    EXPECT_EQ(output->heard[stage.Latency() - 1], 0.0f);
    EXPECT_EQ(output->heard[stage.Latency()], 0.001f * stage.Gain());
    EXPECT_EQ(output->heard.back(), 0.001f * stage.Gain());

    output->synth.level = 0.9f;
    output->Pump(4096);
    const float loudest = *std::max_element(output->heard.begin(), output->heard.end());
    EXPECT_LE(loudest, static_cast<float>(std::pow(10.0, kLimiterCeilingDbfs / 20.0)));
    EXPECT_GT(loudest, 0.85f);
    player.Stop();
}

// A sound with a number of loops ends on its own once they and the decay are played.
TEST_F(Player, LoopedSoundEndsOnItsOwn) {
    ASSERT_FALSE(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "font.sf2", 1));
    output->Pump(44100 * 2);
    EXPECT_TRUE(player.IsPlaying());
    output->Pump(44100 * (kPlayDecaySeconds + 1));
    EXPECT_FALSE(player.IsPlaying());
}

}  // namespace

// A keyboard's sync start: the style stands still until the first chord, while the
// right hand already sounds on channel 1 with its voice; the chord starts the style.
TEST_F(Player, WaitsForTheFirstChordWhileTheRightHandSounds) {
    player.SetRightHandVoice(40);
    ASSERT_FALSE(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "font.sf2", 0, true));
    EXPECT_TRUE(player.IsWaiting());
    EXPECT_EQ(output->synth.voices.back().channel, kRightHandChannel);
    EXPECT_EQ(output->synth.voices.back().voice.program, 40);
    player.PlayRightHand(0x93, 72, 90);  // the channel of the keyboard is not the right hand's
    output->Pump(44100);
    EXPECT_EQ(output->synth.messages, (std::vector<SentMessage>{{0, 0x90, 72, 90}}));

    player.HoldChord(*ParseChord("F"));
    output->Pump(512);
    EXPECT_FALSE(player.IsWaiting());
    const std::vector<SentMessage> ons = output->synth.NoteOns();
    ASSERT_EQ(ons.size(), 2u);
    EXPECT_EQ(ons[1].status, 0x98);
    player.Stop();
}

// A keyboard's messages as the input hands them over: the left hand's keys decide a chord
// once settled, the right hand's keys and its pedal sound on channel 1, Start and Stop
// are passed on, and nothing else (a system-exclusive message) reaches the player.
TEST_F(Player, KeyboardInputRoutesEachHand) {
    CKeyboardInput keyboard(KeyboardSettings{}, nullptr);
    ASSERT_FALSE(player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "font.sf2", 0, true));
    const auto arrive = [&](std::initializer_list<std::uint8_t> bytes, std::uint64_t time) {
        keyboard.Arrive(std::span(bytes.begin(), bytes.size()), time);
    };
    arrive({0x90, 45, 100}, 1000);  // A and C: left hand
    arrive({0x90, 48, 100}, 3000);
    arrive({0x90, 52, 100}, 5000);  // E
    arrive({0x91, 76, 80}, 6000);   // right hand, on the keyboard's channel 2
    arrive({0xB1, 64, 127}, 6500);  // its sustain pedal
    arrive({0xF0, 0x7E, 0xF7}, 6600);
    arrive({0xFA}, 7000);
    CKeyboardInput::Taken taken = keyboard.Pump(player, 7000);
    EXPECT_FALSE(taken.chord);  // not settled yet
    EXPECT_TRUE(taken.start);
    EXPECT_EQ(keyboard.NextDecision(), 5000 + kChordSettleMicroseconds);
    taken = keyboard.Pump(player, 5000 + kChordSettleMicroseconds);
    ASSERT_TRUE(taken.chord);
    EXPECT_EQ(ChordText(*taken.chord), "Am");
    EXPECT_EQ(player.Status().chord, "Am");
    output->Pump(512);
    EXPECT_FALSE(player.IsWaiting());
    const std::vector<SentMessage> rightHand = {{0, 0x90, 76, 80}, {0, 0xB0, 64, 127}};
    EXPECT_EQ(std::vector<SentMessage>(output->synth.messages.begin(), output->synth.messages.begin() + 2), rightHand);
    arrive({0xFC}, 30000);
    EXPECT_TRUE(keyboard.Pump(player, 30000).stop);
    player.Stop();
}
