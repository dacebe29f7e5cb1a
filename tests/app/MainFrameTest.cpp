#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "FakePresenter.h"
#include "QtTestApp.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/WindowPlacement.h"
#include "framework/AppTitle.h"
#include "framework/Profile.h"
#include "msg/MessageBoxStyle.h"
#include "style/KorvaneDoc.h"
#include "view/FormTemplate.h"
#include "view/StyleDialog.h"

namespace {

Bytes Style(std::string_view title) { return StyleFile(BasicEvents(title) + TempoEvent(500000) + EndOfTrack()); }

// Records the order in which values are written.
struct RecordingProfile : CMemoryProfile {
    bool WriteProfileInt(std::string_view section, std::string_view entry, int value) override {
        writes.emplace_back(entry);
        return CMemoryProfile::WriteProfileInt(section, entry, value);
    }
    std::vector<std::string> writes;
};

class MainFrameTest : public testing::Test {
protected:
    MainFrameTest() {
        QtTestApp();
        SetAppProfile(&profile);
    }
    ~MainFrameTest() override { SetAppProfile(nullptr); }

    void StorePlacement(int top, int left, int width, int height) {
        profile.WriteProfileInt(kSettingsSection, "WindowTop", top);
        profile.WriteProfileInt(kSettingsSection, "WindowLeft", left);
        profile.WriteProfileInt(kSettingsSection, "WindowWidth", width);
        profile.WriteProfileInt(kSettingsSection, "WindowHeight", height);
    }

    void Show(CMainFrame& frame) {
        frame.show();
        QApplication::setActiveWindow(&frame);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }

    RecordingProfile profile;
    FakePresenter presenter;
    TempDir dir;
};

}  // namespace

TEST_F(MainFrameTest, PlacementDefaultsAndStoredRectangles) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char* name;
        std::optional<QRect> stored;  // left, top, width, height
        QRect expected;               // empty: default size at the system's place
    };
    const Case cases[] = {
        {"first run", std::nullopt, {}},
        {"stored", QRect(100, 50, 400, 300), QRect(100, 50, 400, 300)},
        {"left edge at -1", QRect(-1, 50, 400, 300), {}},
        {"height -1", QRect(100, 50, 400, -1), {}},
        {"on a monitor that is gone", QRect(screen.right() + 500, 50, 400, 300), {}},
        {"partly on screen", QRect(screen.right() - 100, 50, 400, 300), QRect(screen.right() - 100, 50, 400, 300)},
    };
    for (const Case& c : cases) {
        profile = RecordingProfile();
        if (c.stored) StorePlacement(c.stored->top(), c.stored->left(), c.stored->width(), c.stored->height());
        CMainFrame frame;
        Show(frame);
        if (c.expected.isEmpty()) {
            EXPECT_EQ(frame.size(), kDefaultMainWindowSize) << c.name;
        } else {
            EXPECT_EQ(frame.frameGeometry(), c.expected) << c.name;
        }
    }
    // One value missing altogether is the default too.
    profile = RecordingProfile();
    profile.WriteProfileInt(kSettingsSection, "WindowTop", 10);
    EXPECT_FALSE(ReadWindowPlacement(profile));
}

// The placement is written before any question, in its order, and a Cancel keeps the
// program running; the next start opens where the window was.
TEST_F(MainFrameTest, CloseStoresThePlacementFirst) {
    QRect outer;
    {
        CMainFrame frame;
        Show(frame);
        frame.move(100, 50);
        frame.resize(500, 400);
        ASSERT_TRUE(frame.OpenStyle(dir.Write("Pop.sty", Style("Pop"))));
        static_cast<QLineEdit*>(frame.ActiveStyleDialog()->Control(form_id::kTitle))->setText("Pop 2");
        presenter.answer = msgbox::IdCancel;
        profile.writes.clear();
        outer = frame.frameGeometry();
        EXPECT_FALSE(frame.close());
        EXPECT_EQ(profile.writes, (std::vector<std::string>{"WindowTop", "WindowLeft", "WindowWidth", "WindowHeight"}));
        ASSERT_EQ(presenter.boxes.size(), 1u);
        EXPECT_EQ(presenter.boxes[0].text, "\xC4nderungen in Pop.sty speichern?");
        EXPECT_TRUE(frame.isVisible());
        EXPECT_EQ(frame.ChildFrames().size(), 1);

        presenter.answer = msgbox::IdNo;
        EXPECT_TRUE(frame.close());
    }
    EXPECT_EQ(outer.topLeft(), QPoint(100, 50));
    EXPECT_EQ(ReadWindowPlacement(profile), outer);
    CMainFrame again;
    Show(again);
    EXPECT_EQ(again.frameGeometry(), outer);
}

TEST_F(MainFrameTest, StyleWindows) {
    CMainFrame frame;
    Show(frame);
    ASSERT_TRUE(frame.OpenStyle(dir.Write("Pop.sty", Style("Pop"))));
    ASSERT_TRUE(frame.OpenStyle(dir.Write("Rock.sty", Style("Rock"))));
    EXPECT_EQ(frame.windowTitle(), kAppTitle);
    const QList<CChildFrame*> children = frame.ChildFrames();
    ASSERT_EQ(children.size(), 2);
    EXPECT_EQ(children[0]->windowTitle(), "Pop.sty");
    EXPECT_EQ(children[1]->windowTitle(), "Rock.sty");
    EXPECT_EQ(frame.ActiveStyleDialog(), children[1]->GetView());

    CChildFrame* child = children[0];
    EXPECT_FALSE(child->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(child->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(child->minimumSize(), child->maximumSize());  // no sizing
    const QSize size = child->size();
    const QPoint titleBar(child->width() / 2, child->widget()->y() / 2);
    QTest::mouseMove(child, titleBar);
    QTest::mouseDClick(child, Qt::LeftButton, {}, titleBar);
    EXPECT_FALSE(child->isMaximized());
    EXPECT_EQ(child->size(), size);
    child->showMinimized();
    child->showNormal();
    EXPECT_EQ(child->size(), size);
    EXPECT_TRUE(frame.findChildren<QToolBar*>().isEmpty());
    EXPECT_TRUE(frame.findChildren<QStatusBar*>().isEmpty());

    // The same file again only activates its window.
    ASSERT_TRUE(frame.OpenStyle(dir / "Pop.sty"));
    EXPECT_EQ(frame.ChildFrames().size(), 2);
    EXPECT_EQ(frame.MdiArea()->activeSubWindow(), child);
    EXPECT_EQ(frame.windowTitle(), kAppTitle);
}

TEST_F(MainFrameTest, AFileThatFailsOpensNoWindow) {
    CMainFrame frame;
    Show(frame);
    EXPECT_FALSE(frame.OpenStyle(dir.Write("Broken.sty", Bytes::Text("not a style at all, just some text"))));
    EXPECT_FALSE(frame.OpenStyle(dir / "Missing.sty"));
    EXPECT_TRUE(frame.ChildFrames().isEmpty());
    EXPECT_EQ(presenter.boxes.size(), 2u);
    EXPECT_EQ(presenter.boxes[0].caption, std::string("Fehler"));
}

TEST_F(MainFrameTest, WindowsCascadeIntoColumns) {
    CMainFrame frame;
    Show(frame);
    ASSERT_TRUE(frame.OpenStyle(dir.Write("0.sty", Style("Zero"))));
    const QSize window = frame.ChildFrames().front()->size();
    // Room for two steps down, not three.
    frame.resize(window.width() + 200,
                 window.height() + 3 * 22 - 1 + (frame.height() - frame.MdiArea()->viewport()->height()));
    QApplication::processEvents();
    for (int i = 1; i < 5; ++i) ASSERT_TRUE(frame.OpenStyle(dir.Write(std::to_string(i) + ".sty", Style("Style"))));
    std::vector<QPoint> places;
    for (CChildFrame* child : frame.ChildFrames()) places.push_back(child->pos());
    EXPECT_EQ(places, (std::vector<QPoint>{{0, 0}, {22, 22}, {44, 44}, {22, 0}, {44, 22}}));
}

TEST_F(MainFrameTest, ClipboardKeysGoToTheActiveForm) {
    CMainFrame frame;
    Show(frame);
    QGuiApplication::clipboard()->setText("before");
    QTest::keyClick(&frame, Qt::Key_C, Qt::ControlModifier);  // no style open: nothing
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");

    ASSERT_TRUE(frame.OpenStyle(dir.Write("Pop.sty", Style("Latin Pop"))));
    auto* title = static_cast<QLineEdit*>(frame.ActiveStyleDialog()->Control(form_id::kTitle));
    title->setFocus();
    title->setSelection(0, 5);
    QTest::keyClick(title, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Latin");
    QTest::keyClick(title, Qt::Key_X);
    EXPECT_EQ(title->text(), "x Pop");
    QTest::keyClick(title, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(title->text(), "Latin Pop");
}
