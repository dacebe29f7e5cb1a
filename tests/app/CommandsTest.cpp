// SPDX-License-Identifier: GPL-3.0-or-later
// The menus and document commands of the main window.

#include <QAction>
#include <QCheckBox>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <functional>

#include "FrameFixture.h"
#include "app/CommandIds.h"
#include "document/SaveOptions.h"
#include "framework/AppTitle.h"

namespace fs = std::filesystem;

namespace {

// The visible entries of a menu or menu bar: their texts, "-" for a separator, "(off)"
// after a disabled one.
QStringList Entries(const QWidget* menu) {
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible()) continue;
        entries << (action->isSeparator() ? "-" : action->text() + (action->isEnabled() ? "" : " (off)"));
    }
    return entries;
}

class Commands : public FrameFixture {
protected:
    const QMenu* FileMenu() const { return frame->menuBar()->actions().front()->menu(); }
    void Tick(int option) { static_cast<QCheckBox*>(frame->ActiveStyleDialog()->Control(option))->click(); }
    void TickAdaptFilename() { Tick(option_id::kAdaptFilename); }
};

TEST_F(Commands, MenusSwitchWithTheFirstAndLastStyleWindow) {
    EXPECT_EQ(Entries(frame->menuBar()), (QStringList{"&File", "&?"}));
    EXPECT_EQ(Entries(FileMenu()),
              (QStringList{"O&pen...\tStrg+O", "-", "Last File (off)", "-", "S&ettings", "-", "E&xit"}));
    EXPECT_FALSE(frame->Action(ID_FILE_SAVE)->isEnabled());  // nor its key

    ASSERT_TRUE(frame->OpenStyle(dir / "Pop.sty"));
    ASSERT_TRUE(frame->OpenStyle(dir / "Rock.sty"));
    EXPECT_EQ(Entries(frame->menuBar()), (QStringList{"&File", "&Window", "&Play", "&?"}));
    const QString rock = QString::fromStdString(AbbreviatedPath(dir / "Rock.sty", 30));
    const QString pop = QString::fromStdString(AbbreviatedPath(dir / "Pop.sty", 30));
    EXPECT_EQ(Entries(FileMenu()), (QStringList{"O&pen...\tStrg+O", "&Close", "S&ave\tStrg+S", "Save &As...", "-",
                                                "&1 " + rock, "&2 " + pop, "-", "S&ettings", "-", "E&xit"}));
    const QMenu* window = frame->menuBar()->actions()[1]->menu();
    EXPECT_EQ(Entries(window), (QStringList{"&Cascade", "&Tile", "-", "&1 Pop.sty", "&2 Rock.sty"}));
    EXPECT_EQ(frame->Action(ID_FILE_OPEN)->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(frame->Action(ID_FILE_SAVE)->shortcut(), QKeySequence("Ctrl+S"));

    for (CChildFrame* child : frame->ChildFrames()) child->close();
    QApplication::processEvents();
    EXPECT_EQ(Entries(frame->menuBar()), (QStringList{"&File", "&?"}));
}

TEST_F(Commands, OpenAsksForAFileAndAnOpenStyleIsOnlyActivated) {
    Show();
    for (const char* name : {"Pop.sty", "Rock.sty", "Pop.sty"}) {
        dialogs.openAnswer = dir / name;
        frame->OnFileOpen();
    }
    EXPECT_EQ(dialogs.openAsked, 3);
    ASSERT_EQ(frame->ChildFrames().size(), 2);
    EXPECT_EQ(frame->MdiArea()->activeSubWindow(), frame->ChildFrames()[0]);
    EXPECT_EQ(frame->windowTitle(), kAppTitle);
    dialogs.openAnswer.reset();  // cancelled: nothing opens
    frame->OnFileOpen();
    EXPECT_EQ(frame->ChildFrames().size(), 2);
}

TEST_F(Commands, SaveOfAVanishedFileContinuesAsSaveAsAndFollowsTheFileWritten) {
    ASSERT_TRUE(frame->OpenStyle(dir / "Pop.sty"));
    CKorvaneDoc& doc = frame->ActiveChildFrame()->GetDocument();
    fs::remove(dir / "Pop.sty");
    EditTitle("Pop New");

    dialogs.saveAnswer.reset();  // cancelled: nothing saved
    EXPECT_FALSE(frame->OnFileSave());
    EXPECT_TRUE(doc.IsModified());
    dialogs.saveAnswer = dir / "Saved.sty";
    EXPECT_TRUE(frame->OnFileSave());
    EXPECT_EQ(dialogs.proposedPaths.back(), dir / "Pop.sty");
    EXPECT_EQ(ReadFileBytes(dir / "Saved.sty").data, Style("Pop New").data);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(frame->ActiveChildFrame()->windowTitle(), "Saved.sty");
    EXPECT_EQ(recent.Paths().front(), dir / "Saved.sty");

    // Renamed by the naming options: the next Save writes the new file.
    TickAdaptFilename();
    EditTitle("Renamed");
    EXPECT_TRUE(frame->OnFileSave());
    EXPECT_EQ(doc.GetPathName(), dir / "Renamed.sty");
    EXPECT_EQ(frame->ActiveChildFrame()->windowTitle(), "Renamed.sty");
    EXPECT_TRUE(presenter.boxes.empty());
}

TEST_F(Commands, NameOfAnotherStyleIsReplacedOnlyWhenTheUserSaysSo) {
    ASSERT_TRUE(frame->OpenStyle(dir / "Pop.sty"));
    TickAdaptFilename();
    EditTitle("Rock");
    presenter.answer = msgbox::IdNo;
    EXPECT_FALSE(frame->OnFileSave());
    ExpectOneBox("The file \"Rock.sty\" already exists!\n\nDo you want to replace it with this style?");
    EXPECT_EQ(ReadFileBytes(dir / "Rock.sty").data, Style("Rock").data);
    EXPECT_EQ(ReadFileBytes(dir / "Pop.sty").data, Style("Pop").data);
    presenter.answer = msgbox::IdYes;
    EXPECT_TRUE(frame->OnFileSave());
    EXPECT_EQ(frame->ActiveChildFrame()->GetDocument().GetPathName(), dir / "Rock.sty");
}

// Another program copied its style over the open one: every way the editor saves asks
// first, naming the file, and No leaves the file and the window as they are.
TEST_F(Commands, StyleChangedOnDiskIsOverwrittenOnlyWhenTheUserSaysSo) {
    const std::string saveChanges = "\xC4nderungen in Pop.sty speichern?";
    const std::string question =
        "The file \"Pop.sty\" has been changed or replaced since it was opened!\n\nDo you want to overwrite it with "
        "this style?";
    const Bytes other = Style("Somebody Else's Style");
    const struct {
        const char* what;
        std::vector<int> answersBefore;  // to the boxes before the question
        std::function<void()> save;
    } ways[] = {
        {"File > Save", {}, [&] { frame->OnFileSave(); }},
        {"the form's Save",
         {},
         [&] { static_cast<QPushButton*>(frame->ActiveStyleDialog()->Control(form_id::kSave))->click(); }},
        {"closing the window, Yes to saving", {msgbox::IdYes}, [&] { frame->ActiveChildFrame()->close(); }},
    };
    for (const auto& way : ways) {
        for (const int answer : {msgbox::IdNo, msgbox::IdYes}) {
            SCOPED_TRACE(std::string(way.what) + (answer == msgbox::IdYes ? ", Yes" : ", No"));
            dir.Write("Pop.sty", Style("Pop"));
            ASSERT_TRUE(frame->OpenStyle(dir / "Pop.sty"));
            EditTitle("Pop New");
            dir.Write("Pop.sty", other);
            presenter.boxes.clear();
            presenter.answers = way.answersBefore;
            presenter.answers.push_back(answer);

            way.save();

            ASSERT_EQ(presenter.boxes.size(), way.answersBefore.size() + 1);
            EXPECT_EQ(presenter.boxes.back().text, question);
            if (answer == msgbox::IdNo) {
                EXPECT_EQ(ReadFileBytes(dir / "Pop.sty").data, other.data);
                ASSERT_EQ(frame->ChildFrames().size(), 1);
                EXPECT_TRUE(frame->ActiveChildFrame()->GetDocument().IsModified());
                EXPECT_EQ(Title()->text(), "Pop New");
            } else {
                EXPECT_EQ(ReadFileBytes(dir / "Pop.sty").data, Style("Pop New").data);
            }
            presenter.answer = msgbox::IdNo;  // closes what is left without saving
            for (CChildFrame* child : frame->ChildFrames()) child->close();
            QApplication::processEvents();
            presenter.answer = msgbox::IdOk;
        }
    }
}

// Save As writes into the folder chosen, under the name the naming options make of
// the name typed, as the README and the help pages tell.
TEST_F(Commands, SaveAsWritesTheNameTheOptionsGive) {
    const std::tuple<std::vector<int>, std::string, bool> cases[] = {
        // options ticked, besides the stored ones (both naming options off); file written; original kept
        {{}, "012_Typed.sty", true},
        {{option_id::kAdaptFilename}, "012_Pop New.sty", true},
        {{option_id::kFormatFilename}, "012_Typed           $.sty", true},
        {{option_id::kAdaptFilename, option_id::kDeleteOldFile}, "012_Pop New.sty", false},
    };
    fs::create_directories(dir / "chosen");
    for (const auto& [options, written, originalKept] : cases) {
        const fs::path original = dir.Write("Original.sty", Style("Pop"));
        ASSERT_TRUE(frame->OpenStyle(original));
        for (const int option : options) Tick(option);
        EditTitle("Pop New");
        dialogs.saveAnswer = dir / "chosen" / "012_Typed.sty";
        ASSERT_TRUE(frame->OnFileSaveAs()) << written;
        EXPECT_EQ(ReadFileBytes(dir / "chosen" / written).data, Style("Pop New").data) << written;
        EXPECT_EQ(fs::exists(original), originalKept) << written;
        EXPECT_EQ(frame->ActiveChildFrame()->windowTitle(), QString::fromStdString(written));
        frame->ActiveChildFrame()->close();
        QApplication::processEvents();
        fs::remove_all(dir / "chosen");
        fs::create_directories(dir / "chosen");
    }
    EXPECT_TRUE(presenter.boxes.empty());
}

TEST_F(Commands, FailedSaveAsLeavesTheFileOfTheChosenNameAlone) {
    ASSERT_TRUE(frame->OpenStyle(dir / "Pop.sty"));
    EditTitle("");
    dialogs.saveAnswer = dir / "Rock.sty";
    EXPECT_FALSE(frame->OnFileSaveAs());
    ExpectOneBox("File title may not be empty!");
    EXPECT_EQ(ReadFileBytes(dir / "Rock.sty").data, Style("Rock").data);
    EXPECT_EQ(frame->ActiveChildFrame()->windowTitle(), "Pop.sty");
}

TEST_F(Commands, RecentFilesSurviveARestartAndOneThatFailsLeavesTheList) {
    ASSERT_TRUE(frame->OpenStyle(dir / "Pop.sty"));
    ASSERT_TRUE(frame->OpenStyle(dir / "Rock.sty"));
    CRecentFileList restarted(profile);
    restarted.ReadList();
    EXPECT_EQ(restarted.Paths(), (std::vector<fs::path>{dir / "Rock.sty", dir / "Pop.sty"}));

    for (CChildFrame* child : frame->ChildFrames()) child->close();
    fs::remove(dir / "Rock.sty");
    frame->OnOpenRecentFile(0);
    EXPECT_EQ(presenter.boxes.size(), 1u);  // the loader's message
    EXPECT_EQ(recent.Paths(), std::vector<fs::path>{dir / "Pop.sty"});
    frame->OnOpenRecentFile(0);
    EXPECT_EQ(frame->ChildFrames().size(), 1);
}

// Choosing a recent file or a window changes the list the entry belongs to (the file
// moves to the top, the window becomes the active one) while the entry's own signal is
// still being delivered: the entry must outlive it (the sanitizer build sees a use after
// free), and the menu then shows the lists as they are.
TEST_F(Commands, MenuEntriesOutliveTheirOwnSignal) {
    ASSERT_TRUE(frame->OpenStyle(dir / "Pop.sty"));
    ASSERT_TRUE(frame->OpenStyle(dir / "Rock.sty"));
    frame->ChildFrames().front()->close();
    QApplication::processEvents();
    const QString pop = QString::fromStdString(AbbreviatedPath(dir / "Pop.sty", 30));
    const QString rock = QString::fromStdString(AbbreviatedPath(dir / "Rock.sty", 30));
    const QMenu* window = frame->menuBar()->actions()[1]->menu();
    const auto entry = [](const QMenu* menu, const QString& text) -> QAction* {
        for (QAction* action : menu->actions()) {
            if (action->isVisible() && action->text() == text) return action;
        }
        return nullptr;
    };
    const std::tuple<const QMenu*, QString, QStringList> cases[] = {
        // menu, entry chosen, the entries of the list afterwards
        {FileMenu(), "&2 " + pop, {"&1 " + pop, "&2 " + rock}},
        {window, "&1 Rock.sty", {"&1 Rock.sty", "&2 Pop.sty"}},
    };
    for (const auto& [menu, chosen, afterwards] : cases) {
        QPointer<QAction> action = entry(menu, chosen);
        ASSERT_TRUE(action) << chosen.toStdString();
        // Chosen as a user does: the menu open, the entry under the cursor, Return.
        auto* open = const_cast<QMenu*>(menu);
        open->popup(frame->mapToGlobal(QPoint(0, 0)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(open));
        open->setActiveAction(action);
        QTest::keyClick(open, Qt::Key_Return);
        EXPECT_FALSE(action.isNull()) << chosen.toStdString();
        for (const QString& text : afterwards) EXPECT_TRUE(entry(menu, text)) << text.toStdString();
    }
    EXPECT_EQ(frame->ActiveChildFrame()->windowTitle(), "Rock.sty");
}

TEST(RecentFileList, EntriesAreShortenedForTheMenu) {
    const std::pair<const char*, const char*> cases[] = {
        {"/styles/Pop.sty", "/styles/Pop.sty"},
        {"/home/user/styles/folk/Polka.sty", "/.../styles/folk/Polka.sty"},
        {"/home/user/a very long folder name/Polka.sty", "/.../Polka.sty"},
        {"/home/A Style Name Longer Than Thirty.sty", "A Style Name Longer Than Thirty.sty"},
    };
    // The same names as Windows writes them, on drive C:.
    const auto native = [](std::string name) {
#ifdef _WIN32
        if (name.front() == '/') name.insert(0, "C:");
        std::replace(name.begin(), name.end(), '/', '\\');
#endif
        return name;
    };
    for (const auto& [path, shown] : cases) EXPECT_EQ(AbbreviatedPath(native(path), 30), native(shown)) << path;
    CMemoryProfile profile;
    CRecentFileList list(profile);
    list.Add(native("/styles/Rock & Roll.sty"));
    EXPECT_EQ(list.MenuText(0).toStdString(), "&1 " + native("/styles/Rock && Roll.sty"));
}

}  // namespace
