// SPDX-License-Identifier: GPL-3.0-or-later
// The menus of the main window: one set while no style is open, one while at least
// one is, with the recent files and the list of style windows kept current.

#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>

#include "app/AboutDlg.h"
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/MenuText.h"
#include "app/PlayCommands.h"
#include "app/RecentFileList.h"
#include "options/HelpCommand.h"
#include "options/SettingsDlg.h"

namespace {

// Which of the two menus shows an item.
enum class Shown { Always, WithStyles };

struct MenuItem {
    int id;            // 0: a separator
    const char* text;  // with the key after a tab, where the entry has one
    Shown shown = Shown::Always;
};

const MenuItem kFileMenu[] = {
    {ID_FILE_OPEN, "O&pen...\tStrg+O"},
    {ID_FILE_CLOSE, "&Close", Shown::WithStyles},
    {ID_FILE_SAVE, "S&ave\tStrg+S", Shown::WithStyles},
    {ID_FILE_SAVE_AS, "Save &As...", Shown::WithStyles},
    {0, nullptr},
    {ID_FILE_MRU_FILE1, "Last File"},
    {0, nullptr},
    {ID_FILE_SETTINGS, "S&ettings"},
    {0, nullptr},
    {ID_APP_EXIT, "E&xit"},
};
const MenuItem kWindowMenu[] = {
    {ID_WINDOW_CASCADE, "&Cascade", Shown::WithStyles},
    {ID_WINDOW_TILE, "&Tile", Shown::WithStyles},
};
const MenuItem kHelpMenu[] = {
    {ID_HELP, "&Help"},
    {ID_APP_ABOUT, "&About Korvane..."},
};

}  // namespace

void CMainFrame::CreateMenus() {
    const auto fill = [this](QMenu* menu, const auto& items) {
        for (const MenuItem& item : items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(item.text));
            action->setObjectName(QString::number(item.id));
            action->setData(item.shown == Shown::WithStyles);
            action->setShortcut(ShortcutInMenuText(action->text()));
            m_actions[item.id] = action;
        }
    };
    m_fileMenu = menuBar()->addMenu("&File");
    fill(m_fileMenu, kFileMenu);
    m_windowMenu = menuBar()->addMenu("&Window");
    fill(m_windowMenu, kWindowMenu);
    m_windowMenu->addSeparator();
    m_playCommands = new CPlayCommands(*this);
    fill(menuBar()->addMenu("&?"), kHelpMenu);

    connect(Action(ID_FILE_OPEN), &QAction::triggered, this, &CMainFrame::OnFileOpen);
    connect(Action(ID_FILE_CLOSE), &QAction::triggered, this, &CMainFrame::OnFileClose);
    connect(Action(ID_FILE_SAVE), &QAction::triggered, this, [this] { OnFileSave(); });
    connect(Action(ID_FILE_SAVE_AS), &QAction::triggered, this, [this] { OnFileSaveAs(); });
    connect(Action(ID_FILE_SETTINGS), &QAction::triggered, this, [this] { OnSettings(this); });
    connect(Action(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);
    connect(Action(ID_WINDOW_CASCADE), &QAction::triggered, m_mdiArea, &QMdiArea::cascadeSubWindows);
    connect(Action(ID_WINDOW_TILE), &QAction::triggered, m_mdiArea, &QMdiArea::tileSubWindows);
    connect(Action(ID_HELP), &QAction::triggered, this, [this] { OnHelp(this); });
    connect(Action(ID_APP_ABOUT), &QAction::triggered, this, [this] { OnAppAbout(this); });
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] { UpdateMenus(); });

    // The keys that move between the panes of a split window; no window here is split.
    auto* panes = new QAction(this);
    panes->setShortcuts({QKeySequence(Qt::Key_F6), QKeySequence(Qt::SHIFT | Qt::Key_F6)});
    addAction(panes);
    UpdateMenus();
}

QAction* CMainFrame::Action(int id) const {
    const auto it = m_actions.find(id);
    return it != m_actions.end() ? it->second : nullptr;
}

void CMainFrame::UpdateMenus() {
    const bool withStyles = !ChildFrames().isEmpty();
    for (const auto& [id, action] : m_actions) {
        const bool shown = !action->data().toBool() || withStyles;
        action->setVisible(shown);
        action->setEnabled(shown);
    }
    m_windowMenu->menuAction()->setVisible(withStyles);
    m_playCommands->UpdateMenu(withStyles);
    UpdateRecentFileMenu();
    UpdateWindowMenu();
}

void CMainFrame::UpdateRecentFileMenu() {
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    QAction* placeholder = Action(ID_FILE_MRU_FILE1);
    const std::size_t count = m_recentFiles ? m_recentFiles->Paths().size() : 0;
    placeholder->setVisible(count == 0);
    placeholder->setEnabled(false);
    for (std::size_t i = 0; i < count; ++i) {
        auto* action = new QAction(m_recentFiles->MenuText(i), m_fileMenu);
        action->setObjectName(QString::number(ID_FILE_MRU_FILE1 + static_cast<int>(i)));
        m_fileMenu->insertAction(placeholder, action);
        connect(action, &QAction::triggered, this, [this, i] { OnOpenRecentFile(i); });
        m_recentActions.push_back(action);
    }
}

void CMainFrame::UpdateWindowMenu() {
    delete m_windowList;  // and with it the entries of the windows that were
    m_windowList = new QActionGroup(m_windowMenu);
    const QList<CChildFrame*> frames = ChildFrames();
    for (qsizetype i = 0; i < frames.size(); ++i) {
        CChildFrame* frame = frames[i];
        auto* action =
            new QAction(NumberedMenuEntry(static_cast<std::size_t>(i) + 1, frame->windowTitle()), m_windowList);
        action->setCheckable(true);
        action->setChecked(frame == m_mdiArea->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, frame] { m_mdiArea->setActiveSubWindow(frame); });
        m_windowMenu->addAction(action);
    }
}
