// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QUrl>
#include <functional>

class QWidget;

// Shows a help page; the desktop's default viewer unless a test puts another in.
using HelpViewer = std::function<void(const QUrl&)>;
void SetHelpViewer(HelpViewer viewer);

// The Help command: asks for the language the first time, then opens "korvane.htm"
// (German) or "korvane_e.htm" (English) from the help folder. A missing page or
// viewer is not reported.
void OnHelp(QWidget* owner);

// The folder that holds page: the one in "InstallPath" (stored) when the page is
// there, otherwise "share/korvane" beside the program's own installation
// (programFolder/../share/korvane) when it is there, as a package installs it
// without writing anybody's settings; stored again when neither holds it.
QString HelpFolder(const QString& stored, const QString& programFolder, const QString& page);

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
