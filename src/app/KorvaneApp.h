#pragma once

#include <QApplication>
#include <filesystem>
#include <memory>
#include <vector>

class CMainFrame;
class CQtMessagePresenter;
class CSettingsProfile;

// The editor's application object: the settings store, the message boxes and the
// Help key for the whole program, the main window, and the styles named on the
// command line, each in its own window.
class CKorvaneApp : public QApplication {
public:
    CKorvaneApp(int& argc, char** argv);
    ~CKorvaneApp() override;

    // Shows the main window and opens the files.
    void InitInstance();
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }

private:
    std::vector<std::filesystem::path> m_files;
    std::unique_ptr<CSettingsProfile> m_profile;
    std::unique_ptr<CQtMessagePresenter> m_presenter;
    std::unique_ptr<CMainFrame> m_mainFrame;
};
