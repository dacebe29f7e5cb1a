// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/HelpCommand.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>

#include "framework/Cp1252.h"
#include "framework/Profile.h"
#include "framework/platform/qt/QtPaths.h"
#include "msg/FillIn.h"
#include "msg/Messages.h"
#include "msg/StyleMessages.h"
#include "options/HelpSettings.h"
#include "options/LanguageDlg.h"
#include "storage/SafeFile.h"

namespace {

HelpViewer& Viewer() {
    static HelpViewer viewer = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return viewer;
}

std::string ForMessage(const QString& text) { return Cp1252ForDisplay(text.toStdString()); }

std::string LookedIn(const QStringList& folders) {
    QStringList quoted;
    for (const QString& folder : folders) quoted << '"' + QDir::toNativeSeparators(QDir(folder).absolutePath()) + '"';
    return ForMessage(quoted.join(" and "));
}

// Without a page to open, or a program to show it, F1 would do nothing at all: the
// user is told which page and where, as a desktop shell tells of a missing file.
void OpenHelpPage(const QString& page) {
    const QString stored =
        QString::fromStdString(AppProfile().GetProfileString(kSettingsSection, kInstallPathEntry, ""));
    const QString programFolder = QCoreApplication::applicationDirPath();
    const std::optional<QString> folder = HelpFolder(stored, programFolder, page);
    if (!folder) {
        ShowError(
            FillIn(help_messages::kPageNotFound, {ForMessage(page), LookedIn(HelpFolders(stored, programFolder))}));
        return;
    }
    const QString path = QDir(*folder).absoluteFilePath(page);
    if (!Viewer()(QUrl::fromLocalFile(path))) {
        ShowError(FillIn(help_messages::kPageNotOpened, {ForMessage(QDir::toNativeSeparators(path))}));
    }
}

bool LanguageChosen(const std::string& language) { return language == kGermanLanguage || language == kEnglishLanguage; }

std::string StoredLanguage() { return AppProfile().GetProfileString(kSettingsSection, kLanguageEntry, ""); }

}  // namespace

void SetHelpViewer(HelpViewer viewer) { Viewer() = std::move(viewer); }

QStringList HelpFolders(const QString& stored, const QString& programFolder) {
    QStringList folders;
    if (!stored.isEmpty()) folders << stored;
    const QString beside = InstalledHelpFolder(programFolder);
    if (!folders.contains(beside)) folders << beside;
    return folders;
}

std::optional<QString> HelpFolder(const QString& stored, const QString& programFolder, const QString& page) {
    for (const QString& folder : HelpFolders(stored, programFolder)) {
        if (CanReadRegularFile(SystemFileSystem(), PathFromQString(QDir(folder).absoluteFilePath(page)))) {
            return folder;
        }
    }
    return std::nullopt;
}

void OnHelp(QWidget* owner) {
    // F1 inside the language dialog must not ask again.
    static bool running = false;
    if (running) return;
    running = true;

    std::string language = StoredLanguage();
    if (!LanguageChosen(language)) {
        CLanguageDlg dialog(owner);
        if (dialog.exec() == QDialog::Accepted) language = StoredLanguage();
    }
    if (LanguageChosen(language)) OpenHelpPage(language == kEnglishLanguage ? "korvane_e.htm" : "korvane.htm");
    running = false;
}

CHelpKeyFilter::CHelpKeyFilter(std::function<QWidget*()> mainWindow, QObject* parent)
    : QObject(parent), m_mainWindow(std::move(mainWindow)) {}

bool CHelpKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers held =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (key->key() == Qt::Key_F1 && held == Qt::NoModifier) {
            OnHelp(m_mainWindow ? m_mainWindow() : nullptr);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
