#include "app/KorvaneApp.h"

#include "app/MainFrame.h"
#include "framework/Profile.h"
#include "msg/qt/QtMessagePresenter.h"
#include "options/HelpCommand.h"
#include "options/SettingsProfile.h"

namespace {

// File names as the system gives them: on Windows as wide characters, elsewhere as
// the bytes of argv, so that no name is changed on its way to the file system.
std::vector<std::filesystem::path> FileArguments(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
#ifdef Q_OS_WIN
    (void)argc;
    (void)argv;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) files.emplace_back(arguments[i].toStdWString());
#else
    for (int i = 1; i < argc; ++i) files.emplace_back(argv[i]);
#endif
    return files;
}

}  // namespace

CKorvaneApp::CKorvaneApp(int& argc, char** argv) : QApplication(argc, argv), m_files(FileArguments(argc, argv)) {}

CKorvaneApp::~CKorvaneApp() {
    m_mainFrame.reset();
    InstallMessagePresenter(nullptr);
    SetAppProfile(nullptr);
}

void CKorvaneApp::InitInstance() {
    m_profile = std::make_unique<CSettingsProfile>();
    SetAppProfile(m_profile.get());
    m_presenter = std::make_unique<CQtMessagePresenter>([this]() -> QWidget* { return m_mainFrame.get(); });
    InstallMessagePresenter(m_presenter.get());
    installEventFilter(new CHelpKeyFilter([this]() -> QWidget* { return m_mainFrame.get(); }, this));

    m_mainFrame = std::make_unique<CMainFrame>();
    m_mainFrame->show();
    for (const std::filesystem::path& file : m_files) m_mainFrame->OpenStyle(file);
}
