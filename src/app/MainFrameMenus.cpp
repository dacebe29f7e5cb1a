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
    m_windowList = new QActionGroup(m_windowMenu);
    m_playCommands = new CPlayCommands(*this, [this] { return ActiveChildFrame(); });
    fill(menuBar()->addMenu("&?"), kHelpMenu);
    for (std::size_t i = 0; i < CRecentFileList::kSize; ++i) {
        auto* action = new QAction(m_fileMenu);
        action->setObjectName(QString::number(ID_FILE_MRU_FILE1 + static_cast<int>(i)));
        action->setVisible(false);
        m_fileMenu->insertAction(Action(ID_FILE_MRU_FILE1), action);
        connect(action, &QAction::triggered, this, [this, i] { OnOpenRecentFile(i); });
        m_recentActions.push_back(action);
    }

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

// The entries of the recent files and of the style windows are kept, and those not
// needed are hidden: choosing one changes its own list (the file moves to the top, the
// window becomes the active one) while its triggered signal is still being delivered,
// so an update must never delete an entry.
void CMainFrame::UpdateRecentFileMenu() {
    const std::size_t count = m_recentFiles ? m_recentFiles->Paths().size() : 0;
    QAction* placeholder = Action(ID_FILE_MRU_FILE1);
    placeholder->setVisible(count == 0);
    placeholder->setEnabled(false);
    for (qsizetype i = 0; i < m_recentActions.size(); ++i) {
        const auto index = static_cast<std::size_t>(i);
        m_recentActions[i]->setVisible(index < count);
        m_recentActions[i]->setText(index < count ? m_recentFiles->MenuText(index) : QString());
    }
}

void CMainFrame::UpdateWindowMenu() {
    const QList<CChildFrame*> frames = ChildFrames();
    while (m_windowActions.size() < frames.size()) {
        const qsizetype index = m_windowActions.size();
        auto* action = new QAction(m_windowList);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, index] {
            const QList<CChildFrame*> now = ChildFrames();
            if (index < now.size()) m_mdiArea->setActiveSubWindow(now[index]);
        });
        m_windowMenu->addAction(action);
        m_windowActions.push_back(action);
    }
    for (qsizetype i = 0; i < m_windowActions.size(); ++i) {
        QAction* action = m_windowActions[i];
        const bool shown = i < frames.size();
        action->setVisible(shown);
        action->setChecked(shown && frames[i] == m_mdiArea->activeSubWindow());
        action->setText(shown ? NumberedMenuEntry(static_cast<std::size_t>(i) + 1, frames[i]->windowTitle())
                              : QString());
    }
}
