// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window with its Play menu over an audio output that the test drives, and
// MIDI systems of the test's own.

#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "FakeMidiSystem.h"
#include "FrameFixture.h"
#include "PumpedOutput.h"
#include "app/CommandIds.h"
#include "app/PlayCommands.h"
#include "options/AppMidi.h"
#include "options/PlaybackSettings.h"

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
        SetAppMidiSystem(midi);
        SetUpPlayer();
    }
    ~PlayFixture() override {
        frame.reset();
        SetAppMidiSystem(nullptr);
    }

    // An output that clears the fixture's pointer to it when the player frees it, so a
    // test never reads an output that is gone.
    struct FreedOutput : PumpedOutput {
        explicit FreedOutput(PumpedOutput*& pointer) : pointer(pointer) {}
        ~FreedOutput() override {
            if (pointer == this) pointer = nullptr;
        }
        PumpedOutput*& pointer;
    };

    // A new main window (FrameFixture::NewFrame) needs its output again.
    void SetUpPlayer() {
        frame->PlayCommands().SetSynthesizer([this](PlayError&) -> std::unique_ptr<AudioOutput> {
            ++outputsMade;
            auto made = std::make_unique<FreedOutput>(output);
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
    // The section an entry names, without the number before it ("&2 Main A": Main A).
    static std::string SectionOf(const QAction* action) { return action->text().section(' ', 1).toStdString(); }
    // The sections of the entries, a "*" after the one with the check mark.
    std::vector<std::string> SectionEntries() const {
        Play().FillSectionList();
        std::vector<std::string> entries;
        for (QAction* action : PlayMenu()->actions()) {
            const int id = action->objectName().toInt();
            if (id < ID_PLAY_SECTION_FIRST) continue;
            entries.push_back(SectionOf(action) + (action->isChecked() ? "*" : ""));
        }
        return entries;
    }
    QAction* SectionEntry(const std::string& name) const {
        Play().FillSectionList();
        for (QAction* action : PlayMenu()->actions()) {
            if (action->objectName().toInt() >= ID_PLAY_SECTION_FIRST && SectionOf(action) == name) return action;
        }
        return nullptr;
    }

    std::shared_ptr<FakeMidiSystem> midi = std::make_shared<FakeMidiSystem>();
    int outputsMade = 0;
    PumpedOutput* output = nullptr;
    bool audioThere = true;
    bool readableFont = true;
};
