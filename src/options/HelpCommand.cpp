// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/HelpCommand.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

#include "framework/Profile.h"
#include "options/HelpSettings.h"
#include "options/LanguageDlg.h"

namespace {

HelpViewer& Viewer() {
    static HelpViewer viewer = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    return viewer;
}

bool LanguageChosen(const std::string& language) { return language == kGermanLanguage || language == kEnglishLanguage; }

std::string StoredLanguage() { return AppProfile().GetProfileString(kSettingsSection, kLanguageEntry, ""); }

}  // namespace

void SetHelpViewer(HelpViewer viewer) { Viewer() = std::move(viewer); }

QString HelpFolder(const QString& stored, const QString& programFolder, const QString& page) {
    if (!stored.isEmpty() && QFileInfo::exists(QDir(stored).absoluteFilePath(page))) return stored;
    const QString beside = QDir::cleanPath(programFolder + "/../share/korvane");
    if (QFileInfo::exists(QDir(beside).absoluteFilePath(page))) return beside;
    return stored;
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
    if (LanguageChosen(language)) {
        const QString page = language == kEnglishLanguage ? "korvane_e.htm" : "korvane.htm";
        const QString stored =
            QString::fromStdString(AppProfile().GetProfileString(kSettingsSection, kInstallPathEntry, ""));
        const QString folder = HelpFolder(stored, QCoreApplication::applicationDirPath(), page);
        Viewer()(QUrl::fromLocalFile(QDir(folder).absoluteFilePath(page)));
    }
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
