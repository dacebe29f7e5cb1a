// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QByteArray>
#include <memory>
#include <vector>

class CInstanceLink;
class CMainFrame;
class CQtMessagePresenter;
class CRecentFileList;
class CSettingsProfile;

// The editor's application object. One copy runs per user: a copy that finds
// another running hands it the files from its command line, brings it to the front
// and ends. The first copy sets up the settings store, the message boxes, the Help
// key, the recent-file list and the main window, and opens its files.
class CKorvaneApp : public QApplication {
public:
    CKorvaneApp(int& argc, char** argv);
    ~CKorvaneApp() override;

    // The start-up; true when the program is to run, false when it is to end now.
    bool InitInstance();
    // The exit status: 1 when files were given and none of them opened, else 0.
    int ExitInstance();
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }

private:
    // The command line read before QApplication takes its own options out of it.
    struct GivenArguments;
    CKorvaneApp(int& argc, char** argv, const GivenArguments& given);

    // Start-up is done once the event loop runs: later copies may now look for this one.
    void OnStartupDone();
    void OnForwardOpen(const QByteArray& fileName);
    void ActivateMainWindow();

    std::vector<QByteArray> m_files;  // as the system gave them, made absolute
    std::unique_ptr<CInstanceLink> m_link;
    std::unique_ptr<CSettingsProfile> m_profile;
    std::unique_ptr<CQtMessagePresenter> m_presenter;
    std::unique_ptr<CRecentFileList> m_recentFiles;
    std::unique_ptr<CMainFrame> m_mainFrame;
    int m_exitCode = 0;
};
