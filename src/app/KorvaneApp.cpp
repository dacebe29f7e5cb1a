// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KorvaneApp.h"

#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/InstanceLink.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "framework/Document.h"
#include "framework/Profile.h"
#include "framework/platform/Arguments.h"
#include "framework/platform/PathText.h"
#include "msg/qt/QtMessagePresenter.h"
#include "options/HelpCommand.h"
#include "options/SettingsProfile.h"

namespace fs = std::filesystem;

namespace {

// A file name as bytes that the running copy reads back (BytesOfPath). Made absolute
// here, since the copy that opens it may run in another folder.
QByteArray AbsoluteFileName(const fs::path& given) {
    std::error_code error;
    const fs::path path = fs::absolute(given, error);
    return QByteArray::fromStdString(BytesOfPath(error ? given : path));
}

fs::path PathOfFileName(const QByteArray& fileName) { return PathFromBytes(fileName.toStdString()); }

}  // namespace

// The command line as main() got it, kept before QApplication takes its own options
// (-style and the like) out of argv: where each argument stood, and its bytes as both
// programs read them (ProgramArguments).
struct CKorvaneApp::GivenArguments {
    GivenArguments(int argc, char** argv) : bytes(ProgramArguments(argc, argv)) {
        for (int i = 1; i < argc; ++i) places.push_back(argv[i]);
    }

    // The files named on the command line, made absolute: every argument when
    // QApplication took none out of argv, else those it left there, found by their
    // place. (ProgramArguments may split a command line otherwise than argv does.)
    std::vector<QByteArray> Files(int argc, char** argv) const {
        std::vector<std::string> left;
        if (argc - 1 == static_cast<int>(places.size())) {
            left = bytes;
        } else {
            for (int i = 1; i < argc; ++i) {
                const auto place =
                    static_cast<std::size_t>(std::find(places.begin(), places.end(), argv[i]) - places.begin());
                if (place < bytes.size()) left.push_back(bytes[place]);
            }
        }
        std::vector<QByteArray> files;
        for (const std::string& file : left) files.push_back(AbsoluteFileName(PathFromBytes(file)));
        return files;
    }

    std::vector<const char*> places;
    std::vector<std::string> bytes;
};

CKorvaneApp::CKorvaneApp(int& argc, char** argv) : CKorvaneApp(argc, argv, GivenArguments(argc, argv)) {}

CKorvaneApp::CKorvaneApp(int& argc, char** argv, const GivenArguments& given)
    : QApplication(argc, argv), m_files(given.Files(argc, argv)), m_link(std::make_unique<CInstanceLink>()) {}

CKorvaneApp::~CKorvaneApp() {
    m_mainFrame.reset();
    SetRecentFileSink(nullptr);
    InstallMessagePresenter(nullptr);
    SetAppProfile(nullptr);
}

bool CKorvaneApp::InitInstance() {
    if (!m_link->LockStartup()) return false;

    // Another copy runs: it gets the files and comes to the front; this one ends
    // without touching the settings.
    if (m_link->ForwardToRunningCopy({})) {
        for (const QByteArray& file : m_files) m_link->ForwardToRunningCopy(file);
        m_link->UnlockStartup();
        return false;
    }

    m_profile = std::make_unique<CSettingsProfile>();
    SetAppProfile(m_profile.get());
    m_presenter = std::make_unique<CQtMessagePresenter>([this]() -> QWidget* { return m_mainFrame.get(); });
    InstallMessagePresenter(m_presenter.get());
    installEventFilter(new CHelpKeyFilter([this]() -> QWidget* { return m_mainFrame.get(); }, this));
    m_recentFiles = std::make_unique<CRecentFileList>(*m_profile);
    m_recentFiles->ReadList();

    m_mainFrame = std::make_unique<CMainFrame>();
    m_mainFrame->SetRecentFileList(m_recentFiles.get());
    SetRecentFileSink([this](const fs::path& path) {
        m_recentFiles->Add(path);
        if (m_mainFrame) m_mainFrame->SetRecentFileList(m_recentFiles.get());
    });
    std::vector<fs::path> paths;
    for (const QByteArray& file : m_files) paths.push_back(PathOfFileName(file));
    if (!m_mainFrame->OpenStartupFiles(paths)) {
        m_link->UnlockStartup();
        m_exitCode = 1;
        return false;
    }
    // Only now may later copies find this one: when no file opens above the program
    // ends, and the loop of a message box must not take over their files meanwhile.
    m_link->Listen();
    connect(m_link.get(), &CInstanceLink::OpenRequested, this, &CKorvaneApp::OnForwardOpen);
    connect(m_link.get(), &CInstanceLink::ActivateRequested, this, &CKorvaneApp::ActivateMainWindow);
    QTimer::singleShot(0, this, &CKorvaneApp::OnStartupDone);
    m_mainFrame->show();
    return true;
}

int CKorvaneApp::ExitInstance() {
    m_link->UnlockStartup();
    return m_exitCode;
}

void CKorvaneApp::OnStartupDone() { m_link->UnlockStartup(); }

// A name that fails to open gets the loader's message; the program runs on.
void CKorvaneApp::OnForwardOpen(const QByteArray& fileName) {
    if (m_mainFrame) m_mainFrame->OpenStyle(PathOfFileName(fileName));
}

void CKorvaneApp::ActivateMainWindow() {
    if (!m_mainFrame) return;
    if (m_mainFrame->isMinimized()) m_mainFrame->showNormal();
    m_mainFrame->raise();
    m_mainFrame->activateWindow();
}
