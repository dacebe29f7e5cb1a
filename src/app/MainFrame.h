// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "app/WindowPlacement.h"

class CChildFrame;
class CPlayCommands;
class CRecentFileList;
class QAction;
class QActionGroup;
class QMdiArea;
class QMenu;
class StyleDialog;

// The one main window: the area that holds a window per open style, the menus and
// keys of the document and clipboard commands, and its place on screen, kept
// between runs.
class CMainFrame : public QMainWindow {
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Opens the style in a window of its own; a style already open gets its window
    // activated instead. false when the file could not be loaded (its message has
    // been shown).
    bool OpenStyle(const std::filesystem::path& path);
    // The files of the command line, each opened as by OpenStyle; one that cannot be
    // loaded gets its message and the others open all the same. false when files were
    // given and none of them opened.
    bool OpenStartupFiles(const std::vector<std::filesystem::path>& paths);

    QMdiArea* MdiArea() const { return m_mdiArea; }
    QList<CChildFrame*> ChildFrames() const;
    CChildFrame* ActiveChildFrame() const;
    StyleDialog* ActiveStyleDialog() const;
    // The menu item or key with the given command id (57601 ...); nullptr if none.
    QAction* Action(int id) const;
    // The list the File menu shows; the application sets it once at start-up.
    void SetRecentFileList(CRecentFileList* list);
    CPlayCommands& PlayCommands() const { return *m_playCommands; }

    // The document commands.
    void OnFileOpen();
    void OnFileClose();
    bool OnFileSave();
    bool OnFileSaveAs();
    void OnOpenRecentFile(std::size_t index);

protected:
    // What the window system's frame adds to the window's size; empty until the window
    // system tells it, which on X11 is only once the window is on screen.
    virtual QSize WindowFrameSize() const;
    // Stores the placement first, whatever the questions about unsaved styles then
    // decide; a Cancel there keeps the program running.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void PreCreateWindow();
    void RestoreOuterSize();
    void StorePlacement();
    void CreateEditCommands();
    void CreateMenus();
    // Shows the menu for no style or for open styles, with the recent files and the
    // style windows as they are now.
    void UpdateMenus();
    void UpdateRecentFileMenu();
    void UpdateWindowMenu();
    CChildFrame* FindChildFrame(const std::filesystem::path& path) const;
    bool DoFileSave(CChildFrame& frame);
    bool DoSaveAs(CChildFrame& frame);
    bool SaveDocumentTo(CChildFrame& frame, const std::filesystem::path& path);
    // New style windows take their places in the cascade against the window area as
    // the user sees it, so those opened before the main window is shown wait for it.
    void PlaceNewStyleWindows();
    void PlaceInCascade(const QList<QPointer<CChildFrame>>& frames, QSize area);

    QMdiArea* m_mdiArea;
    std::map<int, QAction*> m_actions;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QList<QAction*> m_recentActions;
    QActionGroup* m_windowList = nullptr;
    QList<QAction*> m_windowActions;
    CPlayCommands* m_playCommands = nullptr;  // the Play menu, a child of this frame
    CRecentFileList* m_recentFiles = nullptr;
    CCascade m_cascade;
    QList<QPointer<CChildFrame>> m_unplaced;
    // Placed while the stored outer size waits for the frame's size: placed again once
    // the window has its final size.
    QList<QPointer<CChildFrame>> m_placedBeforeFinalSize;
    // The stored outer size, until the window system tells the frame's size.
    std::optional<QSize> m_outerSizeToRestore;
};
