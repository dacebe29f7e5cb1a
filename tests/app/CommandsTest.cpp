// The menus and document commands of the main window, with the file dialogs and
// questions answered by the test.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>

#include "FakePresenter.h"
#include "QtTestApp.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/FileDialogs.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "framework/Document.h"
#include "framework/Profile.h"
#include "msg/MessageBoxStyle.h"
#include "style/KorvaneDoc.h"
#include "view/FormTemplate.h"
#include "view/StyleDialog.h"

namespace fs = std::filesystem;

namespace {

Bytes Style(std::string_view title) {
    return StyleFile(BasicEvents(title) + TempoEvent(500000) + VolumeEvent(9, 100) + EndOfTrack());
}

struct ScriptedDialogs : CFileDialogs {
    std::optional<fs::path> AskOpenPath(QWidget*) override {
        ++openAsked;
        return openAnswer;
    }
    std::optional<fs::path> AskSavePath(QWidget*, const fs::path& proposed) override {
        proposedPaths.push_back(proposed);
        return saveAnswer;
    }
    std::optional<fs::path> openAnswer;
    std::optional<fs::path> saveAnswer;
    int openAsked = 0;
    std::vector<fs::path> proposedPaths;
};

// The visible entries of a menu: their texts, "-" for a separator, "(off)" after a
// disabled one.
QStringList Entries(const QMenu* menu) {
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible()) continue;
        entries << (action->isSeparator() ? "-" : action->text() + (action->isEnabled() ? "" : " (off)"));
    }
    return entries;
}

QStringList MenuBar(const CMainFrame& frame) {
    QStringList titles;
    for (const QAction* action : frame.menuBar()->actions()) {
        if (action->isVisible()) titles << action->text();
    }
    return titles;
}

const QMenu* FileMenu(const CMainFrame& frame) { return frame.menuBar()->actions().front()->menu(); }

class Commands : public testing::Test {
protected:
    Commands() {
        QtTestApp();
        // Styles keep their names unless a test ticks "Set filename = title".
        profile.WriteProfileInt(kSettingsSection, "AdaptFilename", 0);
        profile.WriteProfileInt(kSettingsSection, "FormatFilename", 0);
        SetAppProfile(&profile);
        SetAppFileDialogs(&dialogs);
        SetRecentFileSink([this](const fs::path& path) {
            recent.Add(path);
            frame->SetRecentFileList(&recent);
        });
        frame = std::make_unique<CMainFrame>();
        frame->SetRecentFileList(&recent);
        for (const char* name : {"Pop.sty", "Rock.sty"}) dir.Write(name, Style(fs::path(name).stem().string()));
    }
    ~Commands() override {
        frame.reset();
        SetRecentFileSink(nullptr);
        SetAppFileDialogs(nullptr);
        SetAppProfile(nullptr);
    }
    void EditTitle(const char* title) {
        static_cast<QLineEdit*>(frame->ActiveStyleDialog()->Control(form_id::kTitle))->setText(title);
    }
    void TickAdaptFilename() { static_cast<QCheckBox*>(frame->ActiveStyleDialog()->Control(1005))->click(); }

    CMemoryProfile profile;
    FakePresenter presenter;
    ScriptedDialogs dialogs;
    TempDir dir;
    CRecentFileList recent{profile};
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(Commands, MenusSwitchWithTheFirstAndLastStyleWindow) {
    EXPECT_EQ(MenuBar(*frame), (QStringList{"&File", "&?"}));
    EXPECT_EQ(Entries(FileMenu(*frame)),
              (QStringList{"O&pen...\tStrg+O", "-", "Last File (off)", "-", "S&ettings", "-", "E&xit"}));
    EXPECT_FALSE(frame->Action(ID_FILE_SAVE)->isEnabled());  // nor its key

    ASSERT_TRUE(frame->OpenStyle(dir / "Pop.sty"));
    ASSERT_TRUE(frame->OpenStyle(dir / "Rock.sty"));
    EXPECT_EQ(MenuBar(*frame), (QStringList{"&File", "&Window", "&?"}));
    const QString rock = QString::fromStdString(AbbreviatedPath(dir / "Rock.sty", 30));
    const QString pop = QString::fromStdString(AbbreviatedPath(dir / "Pop.sty", 30));
    EXPECT_EQ(Entries(FileMenu(*frame)), (QStringList{"O&pen...\tStrg+O", "&Close", "S&ave\tStrg+S", "Save &As...", "-",
                                                      "&1 " + rock, "&2 " + pop, "-", "S&ettings", "-", "E&xit"}));
    const QMenu* window = frame->menuBar()->actions()[1]->menu();
    EXPECT_EQ(Entries(window), (QStringList{"&Cascade", "&Tile", "-", "&1 Pop.sty", "&2 Rock.sty"}));
    EXPECT_EQ(frame->Action(ID_FILE_OPEN)->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(frame->Action(ID_FILE_SAVE)->shortcut(), QKeySequence("Ctrl+S"));

    for (CChildFrame* child : frame->ChildFrames()) child->close();
    QApplication::processEvents();
    EXPECT_EQ(MenuBar(*frame), (QStringList{"&File", "&?"}));
}

TEST_F(Commands, OpenAsksForAFileAndAnOpenStyleIsOnlyActivated) {
    dialogs.openAnswer = dir / "Pop.sty";
    frame->OnFileOpen();
    frame->OnFileOpen();
    EXPECT_EQ(dialogs.openAsked, 2);
    EXPECT_EQ(frame->ChildFrames().size(), 1);
    dialogs.openAnswer.reset();
    frame->OnFileOpen();
    EXPECT_EQ(frame->ChildFrames().size(), 1);
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
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text,
              "The file \"Rock.sty\" already exists!\n\nDo you want to replace it with this style?");
    EXPECT_EQ(ReadFileBytes(dir / "Rock.sty").data, Style("Rock").data);
    EXPECT_EQ(ReadFileBytes(dir / "Pop.sty").data, Style("Pop").data);
    presenter.answer = msgbox::IdYes;
    EXPECT_TRUE(frame->OnFileSave());
    EXPECT_EQ(frame->ActiveChildFrame()->GetDocument().GetPathName(), dir / "Rock.sty");
}

TEST_F(Commands, FailedSaveAsLeavesTheFileOfTheChosenNameAlone) {
    ASSERT_TRUE(frame->OpenStyle(dir / "Pop.sty"));
    EditTitle("");
    dialogs.saveAnswer = dir / "Rock.sty";
    EXPECT_FALSE(frame->OnFileSaveAs());
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, "File title may not be empty!");
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

TEST_F(Commands, ExitAsksForEachModifiedStyleAndCancelStopsIt) {
    ASSERT_TRUE(frame->OpenStyle(dir / "Pop.sty"));
    EditTitle("Pop 2");
    ASSERT_TRUE(frame->OpenStyle(dir / "Rock.sty"));
    EditTitle("Rock 2");
    frame->show();
    presenter.answer = msgbox::IdCancel;
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(frame->ChildFrames().size(), 2);

    presenter.boxes.clear();
    presenter.answer = msgbox::IdYes;
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(presenter.boxes.size(), 2u);
    EXPECT_EQ(ReadFileBytes(dir / "Pop.sty").data, Style("Pop 2").data);
    EXPECT_EQ(ReadFileBytes(dir / "Rock.sty").data, Style("Rock 2").data);
}

TEST(RecentFileList, EntriesAreShortenedForTheMenu) {
    const struct {
        const char* path;
        const char* shown;
    } cases[] = {
        {"/styles/Pop.sty", "/styles/Pop.sty"},
        {"/home/user/styles/folk/Polka.sty", "/.../styles/folk/Polka.sty"},
        {"/home/user/a very long folder name/Polka.sty", "/.../Polka.sty"},
        {"/home/A Style Name Longer Than Thirty.sty", "A Style Name Longer Than Thirty.sty"},
    };
    for (const auto& c : cases) EXPECT_EQ(AbbreviatedPath(c.path, 30), c.shown) << c.path;
    CMemoryProfile profile;
    CRecentFileList list(profile);
    list.Add("/styles/Rock & Roll.sty");
    EXPECT_EQ(list.MenuText(0), "&1 /styles/Rock && Roll.sty");
}

}  // namespace
