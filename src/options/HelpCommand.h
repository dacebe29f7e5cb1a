// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

class QWidget;

// Hands a help page to the program that shows web pages: the desktop's default unless
// a test puts another in. False when no program could be started for it.
using HelpViewer = std::function<bool(const QUrl&)>;
void SetHelpViewer(HelpViewer viewer);

// What Help says when its page does not open, "%s" filled in as FillIn
// does: the page and the folders looked in; the page's path.
namespace help_messages {
inline constexpr const char* kPageNotFound = "The help page \"%s\" was not found!\n\n(Looked in %s.)";
inline constexpr const char* kPageNotOpened =
    "The help page \"%s\" could not be opened!\n\n(Please check that a program to show web pages is installed.)";
}  // namespace help_messages

// The Help command: asks for the language the first time, then opens "korvane.htm"
// (German) or "korvane_e.htm" (English) from the help folder. A page that no folder
// holds, or that no program could be started for, gets one error box naming the page
// and where it was looked for.
void OnHelp(QWidget* owner);

// The folders that may hold the help pages, in the order they are tried: the one in
// "InstallPath" (stored) when it is set, then the installation's own, where a package
// puts the pages without writing anybody's settings (InstalledHelpFolder, in
// framework/platform/qt/QtPaths.h).
QStringList HelpFolders(const QString& stored, const QString& programFolder);
// The first of those folders that holds page; nothing when none does.
std::optional<QString> HelpFolder(const QString& stored, const QString& programFolder, const QString& page);

// F1 anywhere in the program runs Help; with Shift, Ctrl or Alt it does not.
// Installed on the application object.
class CHelpKeyFilter : public QObject {
public:
    explicit CHelpKeyFilter(std::function<QWidget*()> mainWindow, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<QWidget*()> m_mainWindow;
};
