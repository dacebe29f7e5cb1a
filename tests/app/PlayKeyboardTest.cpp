// SPDX-License-Identifier: GPL-3.0-or-later
// Playing with a MIDI keyboard and to a MIDI output, as Settings > MIDI chooses them:
// Sync Start, the left hand's chords, the right hand, MIDI Start and Stop, and the
// output a Play sounds through.

#include <QAccessible>
#include <QStatusBar>

#include "PlayFixture.h"
#include "app/PlayBar.h"
#include "options/MidiSettings.h"

namespace {

const MidiPort kKeyboard{"Digital Piano:MIDI 1", "jack"};
const MidiPort kSynth{"Synth:in", "jack"};

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

class PlayKeyboard : public PlayFixture {
protected:
    PlayKeyboard() { Choose(kKeyboard, std::nullopt); }

    void Choose(const std::optional<MidiPort>& input, const std::optional<MidiPort>& output) {
        MidiSettings settings;
        settings.input = input;
        settings.output = output;
        WriteMidiSettings(profile, settings);
    }
    QAction* SyncStart() const { return PlayMenu()->findChild<QAction*>(QString::number(ID_PLAY_SYNC_START)); }
    // Keys let go, then keys struck, as the keyboard sends them.
    void Keys(std::initializer_list<std::uint8_t> down, std::initializer_list<std::uint8_t> up = {}) const {
        std::vector<std::vector<std::uint8_t>> messages;
        for (const std::uint8_t key : up) messages.push_back({0x80, key, 0});
        for (const std::uint8_t key : down) messages.push_back({0x90, key, 100});
        midi->Send(messages);
    }
    // Runs the sound and the event loop until the status bar says text.
    bool StatusBecomes(const char* text) const {
        return QTest::qWaitFor(
            [&] {
                output->Pump(512);
                return Status() == Text(text);
            },
            3000);
    }
};

// Sync Start, on the bar and in the menu under one name, arms the active window's
// section; the keyboard's first chord starts it and turns Sync Start off, each chord is
// followed at once and named in the status bar (through a switch of section too, over
// the chords typed for the window), the right hand sounds on channel 1, and the
// keyboard's Stop and Start stop and start the section.
TEST_F(PlayKeyboard, SyncStartWaitsForTheLeftHandWhichLeadsTheStyle) {
    CChildFrame* pop = Open("Pop.sty", {"Main A", "Main B"});
    Play().EnterChords(*pop, "Dm7");
    EXPECT_TRUE(SyncStart()->isCheckable());
    EXPECT_EQ(Play().Bar()->widgetForAction(SyncStart())->accessibleName(), "Sync Start");
    EXPECT_FALSE(midi->InputOpen()) << "the keyboard is connected on its first use";

    SyncStart()->trigger();
    EXPECT_TRUE(SyncStart()->isChecked());
    EXPECT_TRUE(midi->InputOpen());
    EXPECT_EQ(Play().PlayingFrame(), pop);
    EXPECT_EQ(Status(), Text("Main A \u2013 waiting for a chord \u2013 Pop.sty \u2013 120 bpm"));
    output->PumpSeconds(1.0);
    EXPECT_TRUE(output->synth.NoteOns().empty()) << "it stands still";

    Keys({36, 40, 43});
    ASSERT_TRUE(StatusBecomes("Main A \u2013 C \u2013 Pop.sty \u2013 120 bpm")) << Status().toStdString();
    EXPECT_FALSE(SyncStart()->isChecked());
    output->PumpSeconds(1.0);
    EXPECT_FALSE(output->synth.NoteOns().empty());
    Keys({45, 48, 52}, {36, 40, 43});
    EXPECT_TRUE(StatusBecomes("Main A \u2013 Am \u2013 Pop.sty \u2013 120 bpm")) << Status().toStdString();
    Keys({41, 45, 48}, {45, 48, 52});
    EXPECT_TRUE(StatusBecomes("Main A \u2013 F \u2013 Pop.sty \u2013 120 bpm")) << Status().toStdString();
    Play().ChooseSection(*pop, "Main B");
    EXPECT_TRUE(StatusBecomes("Main B \u2013 F \u2013 Pop.sty \u2013 120 bpm")) << Status().toStdString();

    const std::size_t before = output->synth.messages.size();
    Keys({72});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            output->Pump(512);
            const auto& sent = output->synth.messages;
            return std::any_of(sent.begin() + static_cast<std::ptrdiff_t>(before), sent.end(),
                               [](const SentMessage& m) { return m.status == 0x90 && m.data1 == 72; });
        },
        3000))
        << "the right hand on channel 1";

    midi->Send({{0xFC}});
    EXPECT_TRUE(QTest::qWaitFor([&] { return Play().PlayingFrame() == nullptr; }, 3000));
    midi->Send({{0xFA}});
    EXPECT_TRUE(StatusBecomes("Main B \u2013 F \u2013 Pop.sty \u2013 120 bpm")) << Status().toStdString();
    EXPECT_TRUE(presenter.boxes.empty());
}

// Turned off before a chord came, Sync Start stops the waiting section; Play starts it
// at once; Stop and closing the window leave Sync Start off.
TEST_F(PlayKeyboard, SyncStartOffPlayStopAndClosingDisarm) {
    struct Case {
        const char* what;
        std::function<void(CChildFrame&)> act;
        bool playing;
    };
    const Case cases[] = {
        {"Sync Start again", [this](CChildFrame&) { SyncStart()->trigger(); }, false},
        {"Stop", [this](CChildFrame&) { Play().OnStop(); }, false},
        {"closing the window", [](CChildFrame& window) { window.close(); }, false},
        {"Play", [this](CChildFrame&) { Play().OnPlay(); }, true},
    };
    for (const Case& c : cases) {
        NewFrame();
        SetUpPlayer();
        CChildFrame* pop = Open("Pop.sty", {"Main A"});
        SyncStart()->trigger();
        ASSERT_TRUE(SyncStart()->isChecked()) << c.what;
        c.act(*pop);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(SyncStart()->isChecked()) << c.what;
        EXPECT_EQ(Play().PlayingFrame() != nullptr, c.playing) << c.what;
        if (!c.playing) continue;
        output->PumpSeconds(1.0);
        EXPECT_FALSE(output->synth.NoteOns().empty()) << c.what << ": it plays without a chord";
    }
}

// A screen reader toggles the button rather than clicking it: Sync Start works alike.
TEST_F(PlayKeyboard, AScreenReaderTogglesSyncStart) {
    Open("Pop.sty", {"Main A"});
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(Play().Bar()->widgetForAction(SyncStart()));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    for (const bool on : {true, false}) {
        button->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
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
    Choose(std::nullopt, std::nullopt);
    Open("Pop.sty", {"Main A"});
    Play().OnPlay();
    EXPECT_EQ(outputsMade, 1);
    Choose(std::nullopt, kSynth);
    EXPECT_EQ(output->source != nullptr, true) << "playing on until the next Play";
    Play().OnPlay();
    EXPECT_EQ(midi->opened, std::vector<MidiPort>{kSynth});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !midi->Sent().empty(); }, 3000)) << "the style goes to the port";
    Choose(std::nullopt, std::nullopt);
    Play().OnPlay();
    EXPECT_EQ(outputsMade, 2);
    EXPECT_NE(output->source, nullptr);
    EXPECT_TRUE(presenter.boxes.empty());
}
