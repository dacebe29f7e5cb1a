// SPDX-License-Identifier: GPL-3.0-or-later
// The menus and document commands of the main window.

#include <QAction>
#include <QCheckBox>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>

#include "FrameFixture.h"
#include "app/CommandIds.h"
#include "framework/AppTitle.h"
#include "style/SaveOptions.h"

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

TEST(RecentFileList, EntriesAreShortenedForTheMenu) {
    const std::pair<const char*, const char*> cases[] = {
        {"/styles/Pop.sty", "/styles/Pop.sty"},
        {"/home/user/styles/folk/Polka.sty", "/.../styles/folk/Polka.sty"},
        {"/home/user/a very long folder name/Polka.sty", "/.../Polka.sty"},
        {"/home/A Style Name Longer Than Thirty.sty", "A Style Name Longer Than Thirty.sty"},
    };
    for (const auto& [path, shown] : cases) EXPECT_EQ(AbbreviatedPath(path, 30), shown) << path;
    CMemoryProfile profile;
    CRecentFileList list(profile);
    list.Add("/styles/Rock & Roll.sty");
    EXPECT_EQ(list.MenuText(0), "&1 /styles/Rock && Roll.sty");
}

}  // namespace
