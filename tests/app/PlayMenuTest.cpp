// SPDX-License-Identifier: GPL-3.0-or-later
// The Play menu with a recording output: what it offers, which window plays, what
// stops it, the edits heard while it plays, the status bar and the error boxes.

#include <QAccessible>
#include <QCheckBox>
#include <QMdiArea>
#include <QSlider>
#include <QStatusBar>
#include <functional>

#include "PlayFixture.h"
#include "app/SoundModuleLoader.h"
#include "framework/platform/qt/QtPaths.h"
#include "msg/FillIn.h"
#include "options/MidiSettings.h"

namespace id = form_id;

// A screen reader reads each entry by its name, its key after a tab as in the other
// menus, and each section entry has a number key; the keys are none of the form's.
TEST_F(PlayFixture, EntriesHaveNamesAndKeysOfTheirOwn) {
    Open("Pop.sty", {"Intro A", "Main A", "Fill In AA", "Ending A"});
    Play().FillSectionList();
    QStringList names;
    QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(PlayMenu());
    ASSERT_NE(menu, nullptr);
    for (int i = 0; i < menu->childCount(); ++i) {
        const QString name = menu->child(i)->text(QAccessible::Name);
        if (!name.isEmpty()) names << name;
    }
    EXPECT_EQ(names, QStringList({"Play\tF5", "Stop\tF8", "Sync Start", "Chords\tStrg+K", "1 Intro A", "2 Main A",
                                  "3 Fill In AA", "4 Ending A", "SoundFont..."}));

    const QKeySequence formKeys[] = {
        QKeySequence("Ctrl+C"),   QKeySequence("Ctrl+X"),    QKeySequence("Ctrl+V"),    QKeySequence("Ctrl+Z"),
        QKeySequence("Ctrl+Ins"), QKeySequence("Shift+Del"), QKeySequence("Shift+Ins"), QKeySequence("Alt+Backspace"),
        QKeySequence("Ctrl+O"),   QKeySequence("Ctrl+S"),    QKeySequence("F1"),        QKeySequence("F6")};
    for (const int command : {ID_PLAY_PLAY, ID_PLAY_STOP, ID_PLAY_CHORDS}) {
        const QKeySequence key = PlayMenu()->findChild<QAction*>(QString::number(command))->shortcut();
        EXPECT_FALSE(key.isEmpty()) << command;
        for (const QKeySequence& taken : formKeys) EXPECT_NE(key, taken) << key.toString().toStdString();
    }
}

// Each window keeps its own choice; "Main A" is the first, or the style's first section.
TEST_F(PlayFixture, SectionListFollowsTheActiveWindowWithItsChoiceChecked) {
    CChildFrame* pop = Open("Pop.sty", {"Main A", "Main B", "Fill In AA"});
    EXPECT_EQ(SectionEntries(), (std::vector<std::string>{"Main A*", "Main B", "Fill In AA"}));
    SectionEntry("Main B")->trigger();
    EXPECT_EQ(SectionEntries(), (std::vector<std::string>{"Main A", "Main B*", "Fill In AA"}));

    Open("Rock.sty", {"SInt", "Intro B", "Main C", "Ending B"});
    EXPECT_EQ(SectionEntries(), (std::vector<std::string>{"Intro B", "Main C*", "Ending B"}));
    frame->MdiArea()->setActiveSubWindow(pop);
    EXPECT_EQ(SectionEntries(), (std::vector<std::string>{"Main A", "Main B*", "Fill In AA"}));
}

// A "%3" in the file name stays as it is in the status bar.
TEST_F(PlayFixture, PlaysTheActiveWindowAndSaysSoUntilStopped) {
    Open("Pop%3 Ballad.sty", {"Intro A", "Main A"});
    EXPECT_EQ(frame->findChild<QStatusBar*>(), nullptr);
    EXPECT_EQ(outputsMade, 0) << "no synthesizer before the first Play";

    PlayMenu()->findChild<QAction*>(QString::number(ID_PLAY_PLAY))->trigger();
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(Play().PlayingFrame(), frame->ActiveChildFrame());
    EXPECT_EQ(output->soundFonts, std::vector<std::filesystem::path>{"/fonts/General.sf2"});
    output->PumpSeconds(1.0);
    EXPECT_EQ(output->synth.NoteOns().size(), 2u) << "Main A at 120 bpm: two quarters a second";
    EXPECT_EQ(Status(), QString::fromUtf8("Main A \u2013 Pop%3 Ballad.sty \u2013 120 bpm"));
    // A screen reader finds the status bar with its text and no nameless part in it.
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(frame->statusBar());
    ASSERT_NE(bar, nullptr);
    for (int i = 0; i < bar->childCount(); ++i) EXPECT_FALSE(bar->child(i)->text(QAccessible::Name).isEmpty()) << i;

    SectionEntry("Intro A")->trigger();
    EXPECT_EQ(Status(), QString::fromUtf8("Intro A \u2013 Pop%3 Ballad.sty \u2013 120 bpm"));

    PlayMenu()->findChild<QAction*>(QString::number(ID_PLAY_STOP))->trigger();
    EXPECT_EQ(Play().PlayingFrame(), nullptr);
    EXPECT_EQ(output->source, nullptr);
    EXPECT_EQ(Status(), QString::fromUtf8("Stopped \u2013 Pop%3 Ballad.sty"));
    EXPECT_EQ(outputsMade, 1);
    EXPECT_TRUE(presenter.boxes.empty());
}

TEST_F(PlayFixture, AnEndingStopsByItselfAndTheStatusBarSaysSo) {
    Open("Pop.sty", {"Main A", "Ending A"});
    SectionEntry("Ending A")->trigger();
    Play().OnPlay();
    output->PumpSeconds(1.0);
    QTest::qWait(300);
    EXPECT_EQ(Status(), QString::fromUtf8("Ending A \u2013 Pop.sty \u2013 120 bpm"));
    output->PumpSeconds(1.0 + kPlayDecaySeconds + 0.1);  // the bar, then its decay
    QTest::qWait(300);
    EXPECT_EQ(Status(), QString::fromUtf8("Stopped \u2013 Pop.sty"));
    EXPECT_EQ(Play().PlayingFrame(), nullptr);
}

TEST_F(PlayFixture, TheKeysPlayAndStop) {
    Open("Pop.sty", {"Main A"});
    Show();
    QTest::keyClick(frame->ActiveStyleDialog(), Qt::Key_F5);
    EXPECT_NE(Play().PlayingFrame(), nullptr);
    QTest::keyClick(frame->ActiveStyleDialog(), Qt::Key_F8);
    EXPECT_EQ(Play().PlayingFrame(), nullptr);
}

// What stops the sound and what leaves it playing.
TEST_F(PlayFixture, OneWindowPlaysUntilItOrItsDocumentCloses) {
    struct Case {
        const char* what;
        std::function<void(CChildFrame& playing, CChildFrame& other)> act;
        bool stillPlaying;
    };
    const Case cases[] = {
        {"closing the playing window", [](CChildFrame& playing, CChildFrame&) { playing.close(); }, false},
        {"the form's Cancel closing its document",
         [](CChildFrame& playing, CChildFrame&) {
             QTest::mouseClick(playing.GetView()->Control(id::kCancel), Qt::LeftButton);
         },
         false},
        {"closing the main window, as at the program's end", [this](CChildFrame&, CChildFrame&) { frame->close(); },
         false},
        {"closing another window", [](CChildFrame&, CChildFrame& other) { other.close(); }, true},
        {"activating another window",
         [this](CChildFrame&, CChildFrame& other) { frame->MdiArea()->setActiveSubWindow(&other); }, true},
    };
    for (const Case& c : cases) {
        NewFrame();
        SetUpPlayer();
        CChildFrame* other = Open("Rock.sty", {"Main A"});
        CChildFrame* playing = Open("Pop.sty", {"Main A"});
        Play().OnPlay();
        ASSERT_EQ(Play().PlayingFrame(), playing) << c.what;
        c.act(*playing, *other);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(Play().PlayingFrame() != nullptr, c.stillPlaying) << c.what;
        EXPECT_EQ(output->source != nullptr, c.stillPlaying) << c.what;
    }
}

TEST_F(PlayFixture, PlayInAnotherWindowStopsTheFirst) {
    CChildFrame* pop = Open("Pop.sty", {"Main A"});
    Play().OnPlay();
    CChildFrame* rock = Open("Rock.sty", {"Main A"});
    Play().OnPlay();
    EXPECT_EQ(Play().PlayingFrame(), rock);
    EXPECT_EQ(Status(), QString::fromUtf8("Main A \u2013 Rock.sty \u2013 120 bpm"));
    pop->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Play().PlayingFrame(), rock);
    EXPECT_EQ(outputsMade, 1);
}

// Each change is heard within a beat, without starting the section again.
TEST_F(PlayFixture, EditsReachTheSoundWhilePlaying) {
    struct Case {
        const char* what;
        std::function<void(StyleDialog&)> edit;
        std::vector<VolumeSent> volumes;  // sent after the edit
        const char* status;
    };
    const auto setText = [](int control, const char* text) {
        return [control, text](StyleDialog& form) { static_cast<QLineEdit*>(form.Control(control))->setText(text); };
    };
    const Case cases[] = {
        {"the slider at 0%",
         [](StyleDialog& form) { static_cast<QSlider*>(form.Control(id::kSlider))->setValue(0); },
         {{8, 0}, {9, 0}},
         "Main A \u2013 Pop.sty \u2013 120 bpm"},
        {"the slider at 50%",
         [](StyleDialog& form) { static_cast<QSlider*>(form.Control(id::kSlider))->setValue(50); },
         {{8, 50}, {9, 50}},
         "Main A \u2013 Pop.sty \u2013 120 bpm"},
        {"a channel's volume",
         [setText](StyleDialog& form) {
             static_cast<QCheckBox*>(form.Control(id::kAllChannels))->setChecked(false);
             setText(id::kFirstChannelVolume + 8, "64")(form);
         },
         {{8, 64}, {9, 100}},
         "Main A \u2013 Pop.sty \u2013 120 bpm"},
        {"the tempo", setText(id::kTempo, "60"), {{8, 100}, {9, 100}}, "Main A \u2013 Pop.sty \u2013 60 bpm"},
        {"a tempo on its way to be typed", setText(id::kTempo, "1"), {}, "Main A \u2013 Pop.sty \u2013 120 bpm"},
    };
    for (const Case& c : cases) {
        NewFrame();
        SetUpPlayer();
        Open("Pop.sty", {"Main A"});
        Play().OnPlay();
        output->PumpSeconds(0.5);
        const std::size_t notesBefore = output->synth.NoteOns().size();
        const std::size_t sentBefore = output->synth.messages.size();
        c.edit(*frame->ActiveStyleDialog());
        output->PumpSeconds(0.05);
        // Edits made in one moment may reach the sound together: the last ones count.
        const std::vector<VolumeSent> sent = VolumesSent(output->synth, sentBefore);
        ASSERT_GE(sent.size(), c.volumes.size()) << c.what;
        EXPECT_EQ(std::vector<VolumeSent>(sent.end() - static_cast<std::ptrdiff_t>(c.volumes.size()), sent.end()),
                  c.volumes)
            << c.what;
        if (c.volumes.empty()) {
            EXPECT_TRUE(sent.empty()) << c.what;
        }
        output->PumpSeconds(0.5);
        EXPECT_GT(output->synth.NoteOns().size(), notesBefore) << c.what << ": the sound goes on";
        EXPECT_EQ(Play().StatusText(), QString::fromUtf8(c.status)) << c.what;
        EXPECT_TRUE(presenter.boxes.empty()) << c.what;
    }
}

// One box with the text the player gives; the window and the menus stay as they were.
// Without the sound module (a build without a synthesizer) the editor plays through the
// system's synthesizer; where there is none either, it says what it tried, once, and runs on.
TEST_F(PlayFixture, FailuresShowOneBoxAndChangeNothingElse) {
    struct Case {
        const char* what;
        bool moduleThere, audioThere, readableFont;
        const char* outputPort;  // chosen under Settings > MIDI; nullptr: the built-in synthesizer
        std::string text;
    };
    const Case cases[] = {
        {"no audio output", true, false, true, nullptr,
         "No audio output could be opened!\n\n(Tried: pulseaudio, alsa. Please check that a sound server or sound "
         "card is there.)"},
        {"no sound module and no system synthesizer", false, true, true, nullptr,
         FillIn(play_messages::kNoMidiOutput, {"no system synthesizer here"})},
        {"an unreadable SoundFont", true, true, false, nullptr,
         FillIn(play_messages::kSoundFontUnreadable, {"/fonts/General.sf2"})},
        {"a MIDI output that cannot be opened", true, true, true, "Synth:in",
         FillIn(play_messages::kPortUnopenable, {"Synth:in", "it is busy"})},
    };
    for (const Case& c : cases) {
        NewFrame();
        audioThere = c.audioThere;
        readableFont = c.readableFont;
        // The editor as installed: the sound module looked for beside the program.
        if (c.moduleThere) SetUpPlayer();
        MidiSettings settings;
        if (c.outputPort) settings.output = MidiPort{c.outputPort, "jack"};
        WriteMidiSettings(profile, settings);
        midi->refused = {"Synth:in"};
        presenter.boxes.clear();
        Open("Pop.sty", {"Main A"});
        Play().OnPlay();
        ASSERT_EQ(presenter.boxes.size(), 1u) << c.what;
        EXPECT_EQ(presenter.boxes[0].text, c.text) << c.what;
        EXPECT_EQ(Play().PlayingFrame(), nullptr) << c.what;
        EXPECT_EQ(frame->findChild<QStatusBar*>(), nullptr) << c.what;
        EXPECT_FALSE(frame->ActiveChildFrame()->GetDocument().IsModified()) << c.what;
    }
}

// A module that is there but cannot be loaded is named with the loader's reason (a
// library or a symbol missing), never taken for a build without a synthesizer.
TEST(SoundModule, FailureNamesItsCause) {
    TempDir dir;
    const auto notALibrary =
        dir.Write("korvane-sound.so", Bytes::Text("not a shared object") + Bytes::Repeat(0x20, 100));
    struct Case {
        const char* what;
        std::filesystem::path module;  // as the editor names it, without the suffix
        std::string file;              // the file the message names, empty: none
        const char* reason;            // a part of the loader's words
    };
    const Case cases[] = {
        {"no module", dir / "nothing-here", "", ""},
#ifdef _WIN32
        {"a file that is no library", dir / "korvane-sound", notALibrary.string(), "Windows error 193"},
#else
        {"a file that is no library", dir / "korvane-sound", notALibrary.string(), "invalid ELF header"},
#endif
#ifdef KORVANE_UNRESOLVED_SOUND_MODULE_PATH
        {"a symbol no library has", KORVANE_UNRESOLVED_SOUND_MODULE_PATH, KORVANE_UNRESOLVED_SOUND_MODULE_PATH,
         "undefined symbol: KorvaneFunctionNoLibraryHas"},
#endif
    };
    for (const Case& c : cases) {
        PlayError error;
        EXPECT_EQ(SoundModuleOutput(QStringFromPath(c.module))(error), nullptr) << c.what;
        ASSERT_TRUE(error) << c.what;
        if (c.file.empty()) {
            EXPECT_EQ(*error, play_messages::kNoSynthesizer) << c.what;
            continue;
        }
        const std::string heading = FillIn(play_messages::kSoundModuleUnloadable, {c.file, ""});
        EXPECT_EQ(error->substr(0, heading.size() - 1), heading.substr(0, heading.size() - 1)) << c.what;
        EXPECT_NE(error->find(c.reason), std::string::npos) << c.what << ": " << *error;
    }
}

TEST_F(PlayFixture, SoundFontChoiceIsStoredOnlyForASoundFont) {
    const auto soundFont = dir.Write("Mine.sf2", Bytes::Text("RIFF") + Bytes{4, 0, 0, 0} + Bytes::Text("sfbk"));
    const auto notSoundFont = dir.Write("Kl\xC3\xA4nge.wav", Bytes::Text("RIFF....WAVE"));
    Open("Pop.sty", {"Main A"});
    Play().OnPlay();

    dialogs.soundFontAnswer = notSoundFont;
    Play().OnChooseSoundFont();
    // The name as the box's code page holds it.
    ExpectOneBox(FillIn(play_messages::kSoundFontUnreadable,
                        {dir.path().string() + char(std::filesystem::path::preferred_separator) + "Kl\xE4nge.wav"}));
    EXPECT_EQ(ChosenSoundFont(profile), "/fonts/General.sf2");

    dialogs.soundFontAnswer = soundFont;
    Play().OnChooseSoundFont();
    EXPECT_EQ(ChosenSoundFont(profile), soundFont);
    EXPECT_EQ(output->soundFonts.back(), soundFont) << "the sound goes on with the new SoundFont";
    EXPECT_EQ(dialogs.soundFontsProposed,
              (std::vector<std::filesystem::path>{"/fonts/General.sf2", "/fonts/General.sf2"}));
    EXPECT_EQ(presenter.boxes.size(), 1u);
}
