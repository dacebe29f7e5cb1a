// SPDX-License-Identifier: GPL-3.0-or-later
// Playing with a MIDI keyboard and to a MIDI output, as Settings > MIDI chooses them.

#include <QAccessible>
#include <QStatusBar>

#include "PlayFixture.h"
#include "app/PlayBar.h"
#include "options/MidiSettings.h"

namespace {

const MidiPort kKeyboard{"Digital Piano:MIDI 1", "jack"};

}  // namespace

class PlayKeyboard : public PlayFixture {
protected:
    PlayKeyboard() { Choose(kKeyboard, std::nullopt); }

    void Choose(const std::optional<MidiPort>& input, const std::optional<MidiPort>& output) {
        WriteMidiSettings(profile, MidiSettings{input, {}, output});
    }
    QAction* SyncStart() const { return PlayMenu()->findChild<QAction*>(QString::number(ID_PLAY_SYNC_START)); }
    // Keys let go, then keys struck.
    void Keys(std::initializer_list<std::uint8_t> down, std::initializer_list<std::uint8_t> up) const {
        std::vector<std::vector<std::uint8_t>> messages;
        for (const std::uint8_t key : up) messages.push_back({0x80, key, 0});
        for (const std::uint8_t key : down) messages.push_back({0x90, key, 100});
        midi->Send(messages);
    }
    // Runs the sound and the event loop until the status bar says text ("-" for a dash).
    bool StatusBecomes(QString text) const {
        text.replace(" - ", QString::fromUtf8(" \u2013 "));
        return QTest::qWaitFor(
            [&] {
                output->Pump(512);
                return Status() == text;
            },
            3000);
    }
};

// Sync Start arms the active window's section; the keyboard's first chord starts it
// and turns Sync Start off. Each chord is followed and named in the status bar, and
// holds over the window's typed chords through a switch of section and the keyboard's
// own Stop and Start.
TEST_F(PlayKeyboard, SyncStartWaitsForTheLeftHandWhichLeadsTheStyle) {
    CChildFrame* pop = Open("Pop.sty", {"Main A", "Main B"});
    Play().EnterChords(*pop, "Dm7");
    EXPECT_FALSE(midi->InputOpen()) << "connected on its first use";
    SyncStart()->trigger();
    EXPECT_TRUE(midi->InputOpen());
    EXPECT_TRUE(StatusBecomes("Main A - waiting for a chord - Pop.sty - 120 bpm"));
    output->PumpSeconds(1.0);
    EXPECT_TRUE(output->synth.NoteOns().empty()) << "it stands still";
    EXPECT_TRUE(SyncStart()->isChecked());

    Keys({36, 40, 43}, {});
    EXPECT_TRUE(StatusBecomes("Main A - C - Pop.sty - 120 bpm")) << Status().toStdString();
    EXPECT_FALSE(SyncStart()->isChecked());
    EXPECT_FALSE(output->synth.NoteOns().empty());
    Keys({45, 48, 52}, {36, 40, 43});
    EXPECT_TRUE(StatusBecomes("Main A - Am - Pop.sty - 120 bpm")) << Status().toStdString();
    Play().ChooseSection(*pop, "Main B");
    EXPECT_TRUE(StatusBecomes("Main B - Am - Pop.sty - 120 bpm")) << Status().toStdString();
    midi->Send({{0xFC}});
    EXPECT_TRUE(QTest::qWaitFor([&] { return Play().PlayingFrame() == nullptr; }, 3000));
    midi->Send({{0xFA}});
    EXPECT_TRUE(StatusBecomes("Main B - Am - Pop.sty - 120 bpm")) << Status().toStdString();
    EXPECT_TRUE(presenter.boxes.empty());
}

// Regression: a screen reader toggles the play bar's button rather than clicking it,
// which left Sync Start checked and nothing armed.
TEST_F(PlayKeyboard, AScreenReaderTogglesSyncStartOnAndOff) {
    Open("Pop.sty", {"Main A"});
    QWidget* button = Play().Bar()->widgetForAction(SyncStart());
    EXPECT_EQ(button->accessibleName(), "Sync Start");
    QAccessibleActionInterface* actions = QAccessible::queryAccessibleInterface(button)->actionInterface();
    for (const bool on : {true, false}) {
        actions->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_EQ(SyncStart()->isChecked(), on);
        EXPECT_EQ(Play().PlayingFrame() != nullptr, on);
    }
}

// A keyboard that cannot be connected is named once with the reason: Sync Start turns
// off without arming anything, while Play plays on without it.
TEST_F(PlayKeyboard, AnInputThatCannotBeOpenedIsNamedOnce) {
    midi->refused = {kKeyboard.name};
    const std::string text = FillIn(play_messages::kPortUnopenable, {kKeyboard.name, "it is busy"});
    Open("Pop.sty", {"Main A"});
    SyncStart()->trigger();
    ExpectOneBox(text);
    EXPECT_FALSE(SyncStart()->isChecked());
    EXPECT_EQ(Play().PlayingFrame(), nullptr);
    presenter.boxes.clear();
    Play().OnPlay();
    ExpectOneBox(text);
    EXPECT_NE(Play().PlayingFrame(), nullptr);
}

// The output chosen in Settings is the one the next Play sounds through.
TEST_F(PlayKeyboard, TheOutputChosenInSettingsTakesEffectAtTheNextPlay) {
    const MidiPort synth{"Synth:in", "jack"};
    Choose(std::nullopt, std::nullopt);
    Open("Pop.sty", {"Main A"});
    Play().OnPlay();
    Choose(std::nullopt, synth);
    EXPECT_NE(output->source, nullptr) << "playing on until the next Play";
    Play().OnPlay();
    EXPECT_EQ(midi->opened, std::vector<MidiPort>{synth});
    EXPECT_EQ(output, nullptr) << "the synthesizer's output was stopped and freed";
    Choose(std::nullopt, std::nullopt);
    Play().OnPlay();
    EXPECT_EQ(outputsMade, 2);
    EXPECT_TRUE(presenter.boxes.empty());
}
