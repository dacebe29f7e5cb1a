// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window with its Play menu over an audio output that the test drives: Pump
// runs the sound as the sound card's thread would, and the synthesizer writes down the
// volumes it is sent.

#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "FrameFixture.h"
#include "RecordingSynth.h"
#include "app/CommandIds.h"
#include "app/PlayCommands.h"
#include "play/AudioOutput.h"
#include "play/PlayMessages.h"
#include "play/SoundFontSetting.h"

struct VolumeSent {
    int channel;
    int value;
    bool operator==(const VolumeSent&) const = default;
};

// The controller-7 messages the synthesizer was sent, from the index-th message on.
inline std::vector<VolumeSent> VolumesSent(const RecordingSynth& synth, std::size_t from = 0) {
    std::vector<VolumeSent> volumes;
    for (std::size_t i = from; i < synth.messages.size(); ++i) {
        const SentMessage& m = synth.messages[i];
        if ((m.status >> 4) == 0xB && m.data1 == 7) volumes.push_back({m.status & 0x0F, m.data2});
    }
    return volumes;
}

struct PumpedOutput : AudioOutput {
    PlayError LoadSoundFont(const std::filesystem::path& soundFont) override {
        soundFonts.push_back(soundFont);
        if (!readableFont) return style_messages::FillIn(play_messages::kSoundFontUnreadable, {soundFont.string()});
        return std::nullopt;
    }
    Synth& GetSynth() override { return synth; }
    int SampleRate() const override { return 44100; }
    PlayError Start(AudioSource& started) override {
        if (!audioThere) return style_messages::FillIn(play_messages::kNoAudioOutput, {"pulseaudio, alsa"});
        source = &started;
        return std::nullopt;
    }
    void Stop() override { source = nullptr; }

    // Seconds of sound, as the sound card asks for it.
    void Pump(double seconds) {
        std::vector<float> left(512), right(512);
        for (int n = static_cast<int>(seconds * 44100 / 512); n > 0 && source; --n)
            source->Fill(left.data(), right.data(), 512);
    }

    RecordingSynth synth;
    AudioSource* source = nullptr;
    bool audioThere = true;
    bool readableFont = true;
    std::vector<std::filesystem::path> soundFonts;
};

// Tempo 120, 4/4, volume 100 on channels 9 and 10, the sections named, each a bar of
// quarter notes on channel 9.
inline Bytes SectionedStyle(std::string_view title, const std::vector<std::string>& sections) {
    Bytes events =
        BasicEvents(title) + TempoEvent(500000) + TimeSignatureEvent(4, 2) + VolumeEvent(8, 100) + VolumeEvent(9, 100);
    for (const std::string& section : sections) {
        events += MarkerEvent(section);
        for (int beat = 0; beat < 4; ++beat) {
            events += NoteOn(8, 60, 100) + Bytes{0x78, 0x98, 60, 0};  // a quarter (120 ticks) later it ends
        }
    }
    return StyleFile(events + EndOfTrack());
}

class PlayFixture : public FrameFixture {
protected:
    PlayFixture() {
        profile.WriteProfileString(kPlaybackSection, kSoundFontEntry, "/fonts/General.sf2");
        SetUpPlayer();
    }

    // A new main window (FrameFixture::NewFrame) needs its output again.
    void SetUpPlayer() {
        frame->PlayCommands().SetOutputFactory([this](PlayError& error) -> std::unique_ptr<AudioOutput> {
            ++outputsMade;
            if (!outputMade) {
                error = noOutputText;
                return nullptr;
            }
            auto made = std::make_unique<PumpedOutput>();
            made->audioThere = audioThere;
            made->readableFont = readableFont;
            output = made.get();
            return made;
        });
    }

    CPlayCommands& Play() const { return frame->PlayCommands(); }
    QMenu* PlayMenu() const { return Play().Menu(); }
    CChildFrame* Open(const std::string& name, const std::vector<std::string>& sections) {
        const auto path = dir.Write(name, SectionedStyle(name, sections));
        EXPECT_TRUE(frame->OpenStyle(path));
        return frame->ActiveChildFrame();
    }
    QString Status() const { return frame->statusBar()->currentMessage(); }
    // The texts of the section entries, a "*" after the one with the check mark.
    std::vector<std::string> SectionEntries() const {
        Play().FillSectionList();
        std::vector<std::string> entries;
        for (QAction* action : PlayMenu()->actions()) {
            const int id = action->objectName().toInt();
            if (id < ID_PLAY_SECTION_FIRST) continue;
            entries.push_back(action->text().toStdString() + (action->isChecked() ? "*" : ""));
        }
        return entries;
    }
    QAction* SectionEntry(const std::string& name) const {
        Play().FillSectionList();
        for (QAction* action : PlayMenu()->actions()) {
            if (action->text().toStdString() == name) return action;
        }
        return nullptr;
    }

    int outputsMade = 0;
    PumpedOutput* output = nullptr;
    bool outputMade = true;
    bool audioThere = true;
    bool readableFont = true;
    std::string noOutputText = "no output";
};
