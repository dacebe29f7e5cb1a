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
// (German) or "korvane_e.htm" (English) from the folder in "InstallPath". A missing
// page or viewer is not reported.
void OnHelp(QWidget* owner);

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
