// SPDX-License-Identifier: GPL-3.0-or-later
// The play bar: there with the style windows, its section list in step with the Play
// menu, and the Chords box, whose chords each window keeps and the sound follows.

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>
#include <QToolBar>

#include "PlayFixture.h"
#include "app/MenuText.h"
#include "app/PlayBar.h"
#include "document/EditRules.h"
#include "msg/ChordMessages.h"
#include "msg/FillIn.h"

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// Main A and Main B of four quarters a bar (or notes enough for numerator beats), with
// the time signature given, or none.
Bytes StyleInTime(std::string_view title, std::optional<std::uint8_t> numerator) {
    Bytes events = BasicEvents(title) + TempoEvent(500000) + VolumeEvent(8, 100);
    if (numerator) events += TimeSignatureEvent(*numerator, 2);
    for (const char* section : {"Main A", "Main B"}) {
        events += MarkerEvent(section);
        for (int beat = 0; beat < numerator.value_or(4); ++beat)
            events += NoteOn(8, 60, 100) + Bytes{0x78, 0x98, 60, 0};
    }
    return StyleFile(events + EndOfTrack());
}

}  // namespace

class PlayBarTest : public PlayFixture {
protected:
    CPlayBar* Bar() const { return Play().Bar(); }
    QComboBox* Sections() const { return Bar()->SectionBox(); }
    QLineEdit* Chords() const { return Bar()->ChordsBox(); }
    QStringList SectionItems() const {
        QStringList items;
        for (int i = 0; i < Sections()->count(); ++i) items << Sections()->itemText(i);
        return items;
    }
    // Typed into the box and entered, as a user does.
    void EnterChords(const char* text) const {
        Chords()->setFocus();
        Chords()->selectAll();
        QTest::keyClicks(Chords(), Text(text));
        QTest::keyClick(Chords(), Qt::Key_Return);
    }
    QAction* Command(int id) const { return PlayMenu()->findChild<QAction*>(QString::number(id)); }
    // Into the next bar at 120 bpm in 4/4 (two seconds a bar), where a progression has begun.
    void PlayIntoTheNextBar() const { output->PumpSeconds(2.25); }
    std::string ChordPlayed() const {
        const QStringList parts = Play().StatusText().split(Text(" \u2013 "));
        return parts.size() == 4 ? parts[1].toStdString() : std::string("(none)");
    }
};

TEST_F(PlayBarTest, IsThereUnderTheMenuBarWhileAStyleWindowIsOpen) {
    EXPECT_EQ(frame->toolBarArea(Bar()), Qt::TopToolBarArea);
    EXPECT_FALSE(Bar()->isVisibleTo(frame.get()));
    CChildFrame* pop = Open("Pop.sty", {"Main A"});
    EXPECT_TRUE(Bar()->isVisibleTo(frame.get()));
    CChildFrame* rock = Open("Rock.sty", {"Main A"});
    pop->close();
    EXPECT_TRUE(Bar()->isVisibleTo(frame.get())) << "one window is still open";
    rock->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Bar()->isVisibleTo(frame.get()));
    EXPECT_EQ(Bar()->actions().mid(0, 3),
              (QList<QAction*>{Command(ID_PLAY_PLAY), Command(ID_PLAY_STOP), Command(ID_PLAY_SYNC_START)}))
        << "Play, Stop and Sync Start are the menu's own entries";
}

// A screen reader reads every part of the bar by the name the user sees, and the
// buttons show the entries' names without their keys.
TEST_F(PlayBarTest, EveryPartHasAnAccessibleName) {
#ifdef _WIN32
    GTEST_SKIP() << "at this width the Windows style's play bar puts the Chords box behind its extension button";
#endif
    Open("Pop.sty", {"Main A", "Main B"});
    Show();
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(Bar());
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->text(QAccessible::Name).isEmpty());
    QStringList names;
    for (int i = 0; i < bar->childCount(); ++i) {
        QAccessibleInterface* part = bar->child(i);
        if (part->role() == QAccessible::Separator) continue;
        const QString name = part->text(QAccessible::Name);
        EXPECT_FALSE(name.isEmpty()) << "part " << i << " of role " << part->role();
        if (part->object() && part->object()->isWidgetType() && static_cast<QWidget*>(part->object())->isVisible())
            names << name;
    }
    // On Linux a list is named by its label and read with its choice.
    EXPECT_EQ(names.join("/").toStdString(), "Play/Stop/Sync Start/Section:/Main A/Chords:/Chords");
    EXPECT_EQ(Sections()->accessibleName(), "Section");
    EXPECT_EQ(Chords()->accessibleName(), "Chords");
    for (QWidget* labelled : {static_cast<QWidget*>(Sections()), static_cast<QWidget*>(Chords())}) {
        QStringList labels;
        for (const auto& [label, relation] :
             QAccessible::queryAccessibleInterface(labelled)->relations(QAccessible::Label))
            labels << label->text(QAccessible::Name);
        EXPECT_EQ(labels, QStringList{labelled->accessibleName() + ":"});
    }
    for (QWidget* part : Bar()->findChildren<QWidget*>()) {
        if (part->focusPolicy() == Qt::NoFocus && !part->inherits("QAbstractButton")) continue;
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(part);
        if (!control || control->role() == QAccessible::Separator) continue;
        EXPECT_FALSE(control->text(QAccessible::Name).isEmpty()) << part->metaObject()->className();
    }
}

TEST(PlayBarText, EntryNamesLoseTheirKeys) {
    const std::pair<const char*, const char*> cases[] = {
        {"&Play\tF5", "Play"}, {"&Chords\tStrg+K", "Chords"}, {"Sound&Font...", "SoundFont..."}, {"R&&&B", "R&B"}};
    for (const auto& [entry, name] : cases) EXPECT_EQ(EntryName(Text(entry)), Text(name)) << entry;
}

// Choosing in either changes the other; each window lists its own sections and choice.
TEST_F(PlayBarTest, SectionListAndPlayMenuFollowEachOther) {
    CChildFrame* pop = Open("Pop.sty", {"Intro A", "Main A", "Main B"});
    EXPECT_EQ(SectionItems(), QStringList({"Intro A", "Main A", "Main B"}));
    EXPECT_EQ(Sections()->currentText(), "Main A");

    Show();
    Sections()->setFocus();
    QTest::keyClick(Sections(), Qt::Key_Down);  // as a user chooses: the list says so
    EXPECT_EQ(SectionEntries(), (std::vector<std::string>{"Intro A", "Main A", "Main B*"}));

    SectionEntry("Intro A")->trigger();
    EXPECT_EQ(Sections()->currentText(), "Intro A");

    Open("Rock.sty", {"Main C", "Ending B"});
    EXPECT_EQ(SectionItems(), QStringList({"Main C", "Ending B"}));
    EXPECT_EQ(Sections()->currentText(), "Main C");
    frame->MdiArea()->setActiveSubWindow(pop);
    EXPECT_EQ(SectionItems(), QStringList({"Intro A", "Main A", "Main B"}));
    EXPECT_EQ(Sections()->currentText(), "Intro A");

    // While the window plays, a choice in the list switches the sound at once.
    Play().OnPlay();
    Sections()->setFocus();
    QTest::keyClick(Sections(), Qt::Key_End);
    EXPECT_EQ(Play().StatusText(), Text("Main B \u2013 Pop.sty \u2013 120 bpm"));
    EXPECT_EQ(SectionEntries(), (std::vector<std::string>{"Intro A", "Main A", "Main B*"}));
}

// The key of Play > Chords reaches the box from wherever the focus is, and so does the
// label's letter; the box's text is selected to be typed over.
TEST_F(PlayBarTest, TheChordsKeyPutsTheFocusInTheBox) {
#ifdef _WIN32
    GTEST_SKIP() << "at this width the Windows style's play bar puts the Chords box behind its extension button";
#endif
    Open("Pop.sty", {"Main A"});
    Show();
    Chords()->setText("Am7");
    const QKeySequence key = Command(ID_PLAY_CHORDS)->shortcut();
    EXPECT_EQ(key, QKeySequence("Ctrl+K"));
    struct Case {
        const char* from;
        QWidget* focused;
        QKeySequence keys;
    };
    const Case cases[] = {
        {"the title field", Title(), key},
        {"the tempo field", frame->ActiveStyleDialog()->Control(form_id::kTempo), key},
        {"the section list", Sections(), key},
        {"the title field, by the label's letter", Title(), QKeySequence("Alt+C")},
    };
    for (const Case& c : cases) {
        c.focused->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), c.focused) << c.from;
        QTest::keySequence(QApplication::focusWidget(), c.keys);
        EXPECT_EQ(QApplication::focusWidget(), Chords()) << c.from;
        if (c.keys == key) {
            EXPECT_EQ(Chords()->selectedText(), "Am7") << c.from;
        }
    }
    EXPECT_EQ(Title()->text(), "Pop.sty") << "the key is none of the field's own";
}

// One chord is held at once; a progression, or one bar of several chords, is followed
// from the next bar. What the box held stays in it, and the style is not modified.
TEST_F(PlayBarTest, EnterGivesTheChordsToTheSound) {
    struct Case {
        const char* typed;
        const char* playedAtOnce;  // nullptr: what played before, until the next bar
        const char* playedNextBar;
    };
    const Case cases[] = {
        {"Am7", "Am7", "Am7"},     {"  F#m7b5 ", "F#m7b5", "F#m7b5"},  {"Bb/D", "Bb/D", "Bb/D"},
        {"NC", "NC", "NC"},        {"C | Am7 | Dm7 G7", nullptr, "C"}, {"Dm7 G7", nullptr, "Dm7"},
        {"| Em |", nullptr, "Em"},
    };
    for (const Case& c : cases) {
        NewFrame();
        SetUpPlayer();
        Open("Pop.sty", {"Main A"});
        Play().OnPlay();
        EnterChords("F");  // the chord before
        ASSERT_EQ(ChordPlayed(), "F");
        output->PumpSeconds(0.5);
        EnterChords(c.typed);
        if (c.playedAtOnce) {
            EXPECT_EQ(ChordPlayed(), c.playedAtOnce) << c.typed;
        }
        PlayIntoTheNextBar();
        EXPECT_EQ(ChordPlayed(), c.playedNextBar) << c.typed;
        // The status bar follows the sound on its next refresh.
        EXPECT_TRUE(QTest::qWaitFor([&] { return Status() == Play().StatusText(); }, 2000)) << c.typed;
        EXPECT_EQ(Chords()->text(), Text(c.typed));
        EXPECT_EQ(Play().PlayingFrame(), frame->ActiveChildFrame()) << c.typed << ": it plays on";
        EXPECT_FALSE(frame->ActiveChildFrame()->GetDocument().IsModified()) << c.typed;
        EXPECT_TRUE(presenter.boxes.empty()) << c.typed;
    }
}

// The status bar names the chord between the section and the file; "%" stays as it is.
TEST_F(PlayBarTest, StatusBarNamesTheChord) {
    Open("Pop%1 Ballad.sty", {"Main A"});
    EnterChords("Am7");
    EXPECT_EQ(outputsMade, 0) << "kept for the next Play; no synthesizer yet";
    Play().OnPlay();
    EXPECT_EQ(Status(), Text("Main A \u2013 Am7 \u2013 Pop%1 Ballad.sty \u2013 120 bpm"));
    Play().OnStop();
    EXPECT_EQ(Status(), Text("Stopped \u2013 Pop%1 Ballad.sty"));
}

// The bar a progression is read in has the style's beats: 3 in 3/4, 4 without a time
// signature; a bar of more chords than beats is refused with its bar named.
TEST_F(PlayBarTest, AProgressionHasTheBeatsOfTheStylesBar) {
    struct Case {
        const char* what;
        std::optional<std::uint8_t> numerator;
        const char* typed;
        std::string error;  // empty: taken
    };
    const Case cases[] = {
        {"3/4, three chords", 3, "C | F G Am", ""},
        {"3/4, four chords", 3, "C | F G Am Dm", OneLine(FillIn(chord_messages::kTooManyChords, {"2", "4", "3"}))},
        {"no time signature, four chords", std::nullopt, "F G Am Dm", ""},
        {"no time signature, five chords", std::nullopt, "F G Am Dm C",
         OneLine(FillIn(chord_messages::kTooManyChords, {"1", "5", "4"}))},
    };
    for (const Case& c : cases) {
        NewFrame();
        SetUpPlayer();
        ASSERT_TRUE(frame->OpenStyle(dir.Write("Waltz.sty", StyleInTime("Waltz", c.numerator))));
        EXPECT_EQ(BeatsPerBar(frame->ActiveChildFrame()->GetDocument()), c.numerator.value_or(4)) << c.what;
        Play().OnPlay();
        EnterChords(c.typed);
        EXPECT_EQ(Play().ChordsOf(*frame->ActiveChildFrame()).isEmpty(), !c.error.empty()) << c.what;
        if (!c.error.empty()) {
            EXPECT_EQ(Status().toStdString(), c.error) << c.what;
        }
    }
}

// A wrong symbol leaves the sound as it was, and the status bar names it in one line,
// however often the status is refreshed, until the box is edited; no box interrupts
// the music, and none comes while nothing plays either.
TEST_F(PlayBarTest, AWrongSymbolKeepsTheChordAndIsNamedInTheStatusBar) {
    struct Case {
        const char* typed;
        std::string error;
    };
    const Case cases[] = {
        {"C | Xq7 | G", FillIn(chord_messages::kUnknownChord, {"Xq7", "2"})},
        {"H7", FillIn(chord_messages::kUnknownChord, {"H7", "1"})},
        {"C7 | Am/Z", FillIn(chord_messages::kUnknownChord, {"Am/Z", "2"})},
        {"C | | G", FillIn(chord_messages::kEmptyBar, {"2"})},
        {"% | C", FillIn(chord_messages::kRepeatWithoutBar, {"1"})},
        {"   ", chord_messages::kEmptyProgression},
    };
    for (const Case& c : cases) {
        const QString expected = QString::fromStdString(OneLine(c.error));
        EXPECT_FALSE(expected.contains('\n')) << c.typed;
        for (const bool playing : {true, false}) {
            NewFrame();
            SetUpPlayer();
            presenter.boxes.clear();
            Open("Pop.sty", {"Main A"});
            EnterChords("F");
            Play().OnPlay();
            if (!playing) Play().OnStop();
            EnterChords(c.typed);
            EXPECT_EQ(Status(), expected) << c.typed << (playing ? " playing" : " stopped");
            EXPECT_TRUE(presenter.boxes.empty()) << c.typed;
            EXPECT_EQ(Play().ChordsOf(*frame->ActiveChildFrame()), "F") << c.typed;
            EXPECT_EQ(Chords()->text(), Text(c.typed)) << "kept to be put right";
            if (!playing) continue;
            EXPECT_EQ(ChordPlayed(), "F") << c.typed;
            output->PumpSeconds(0.5);
            QTest::qWait(450);  // the status is refreshed meanwhile
            EXPECT_EQ(Status(), expected) << c.typed;
            QTest::keyClick(Chords(), Qt::Key_Backspace);
            EXPECT_EQ(Status(), Text("Main A \u2013 F \u2013 Pop.sty \u2013 120 bpm")) << c.typed;
        }
    }
}

// Each window keeps the chords given in it while it is open; the sound follows the
// playing window's. A window without chords plays in the chord a keyboard holds when
// none is given.
TEST_F(PlayBarTest, EachWindowKeepsItsOwnChords) {
    CChildFrame* pop = Open("Pop.sty", {"Main A"});
    EnterChords("Am7");
    CChildFrame* rock = Open("Rock.sty", {"Main A"});
    EXPECT_EQ(Chords()->text(), "");
    EnterChords("Dm7 | G7");
    CChildFrame* jazz = Open("Jazz.sty", {"Main A"});

    const std::pair<CChildFrame*, const char*> shown[] = {{pop, "Am7"}, {rock, "Dm7 | G7"}, {jazz, ""}};
    for (const auto& [window, chords] : shown) {
        frame->MdiArea()->setActiveSubWindow(window);
        EXPECT_EQ(Chords()->text(), Text(chords)) << window->windowTitle().toStdString();
        EXPECT_EQ(Play().ChordsOf(*window), Text(chords));
        EXPECT_FALSE(window->GetDocument().IsModified());
    }

    const std::pair<CChildFrame*, const char*> played[] = {{pop, "Am7"}, {rock, "G7"}, {jazz, "CMaj7"}, {pop, "Am7"}};
    for (const auto& [window, chord] : played) {
        frame->MdiArea()->setActiveSubWindow(window);
        Play().OnPlay();
        PlayIntoTheNextBar();
        EXPECT_EQ(ChordPlayed(), chord) << window->windowTitle().toStdString();
    }

    // Chords typed into another window while one plays are that window's.
    frame->MdiArea()->setActiveSubWindow(jazz);
    EnterChords("E7");
    EXPECT_EQ(ChordPlayed(), "Am7");

    // Closed, the window's chords are gone: open again, it has none.
    rock->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(frame->OpenStyle(dir / "Rock.sty"));
    CChildFrame* again = frame->ChildFrames().back();
    frame->MdiArea()->setActiveSubWindow(again);
    EXPECT_EQ(Chords()->text(), "");
    EXPECT_EQ(Play().ChordsOf(*again), "");
}

// Enter in the box applies the chords and nothing else: the form's default button
// stays untouched, and the editing keys work in the box, not in the form.
TEST_F(PlayBarTest, KeysInTheBoxStayInTheBox) {
    Open("Pop.sty", {"Main A"});
    Show();
    EnterChords("Am7");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(frame->ChildFrames().size(), 1) << "Enter did not save and close the style";
    EXPECT_FALSE(frame->ActiveChildFrame()->GetDocument().IsModified());

    QApplication::clipboard()->setText(" | G7");
    Chords()->setFocus();
    Chords()->end(false);
    QTest::keySequence(Chords(), QKeySequence("Ctrl+V"));
    EXPECT_EQ(Chords()->text(), "Am7 | G7");
    QTest::keySequence(Chords(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(Chords()->text(), "Am7");
    EXPECT_EQ(Title()->text(), "Pop.sty");
}

TEST(WindowChords, OneChordOrAProgression) {
    struct Case {
        const char* text;
        bool oneChord;
        int bars;  // of a progression
    };
    const Case cases[] = {
        {"Am7", true, 0},      {" C#7sus4\t", true, 0}, {"NC", true, 0},         {"Dm7 G7", false, 1},
        {"C | Am7", false, 2}, {"C |", false, 1},       {"C | % | F", false, 3},
    };
    for (const Case& c : cases) {
        const auto read = ReadWindowChords(c.text, 4);
        ASSERT_TRUE(std::holds_alternative<WindowChords>(read)) << c.text;
        const WindowChords& chords = std::get<WindowChords>(read);
        EXPECT_EQ(std::holds_alternative<Chord>(chords.chords), c.oneChord) << c.text;
        if (!c.oneChord) {
            EXPECT_EQ(std::get<Progression>(chords.chords).Bars(), c.bars) << c.text;
        }
    }
    EXPECT_EQ(std::get<WindowChords>(ReadWindowChords(" Am7 ", 4)).text, "Am7");
}

TEST(WindowChords, OneLineJoinsTheLinesOfAMessage) {
    EXPECT_EQ(OneLine("Not known!\n\n(Write a root.)"), "Not known! (Write a root.)");
    EXPECT_EQ(OneLine("a\r\nb\nc"), "a b c");
    EXPECT_EQ(OneLine("one line"), "one line");
}
