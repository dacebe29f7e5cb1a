#pragma once

#include <QList>
#include <QMainWindow>
#include <QRect>
#include <filesystem>
#include <optional>

#include "view/FormRules.h"

class CChildFrame;
class QMdiArea;
class StyleDialog;

// The one main window: the area that holds a window per open style, the keys of
// the clipboard commands, and its place on screen, kept between runs.
class CMainFrame : public QMainWindow {
public:
    explicit CMainFrame(QWidget* parent = nullptr);

    // Opens the style in a window of its own; a style already open gets its window
    // activated instead. false when the file could not be loaded (its message has
    // been shown).
    bool OpenStyle(const std::filesystem::path& path);

    QMdiArea* MdiArea() const { return m_mdiArea; }
    QList<CChildFrame*> ChildFrames() const;
    StyleDialog* ActiveStyleDialog() const;

protected:
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
    CChildFrame* FindChildFrame(const std::filesystem::path& path) const;

    QMdiArea* m_mdiArea;
    CCascade m_cascade;
    // The stored outer size, until the window system tells the frame's size.
    std::optional<QSize> m_outerSizeToRestore;
};
