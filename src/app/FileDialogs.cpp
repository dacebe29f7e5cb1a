// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FileDialogs.h"

#include <QFileDialog>
#include <QString>

#include "framework/platform/qt/QtPaths.h"

namespace {

// The filters as the user reads them; the second shows every file.
const char* const kStyleFilter = "Yamaha Style-Dateien (*.sty)";
const char* const kAllFilesFilter = "Alle Dateien (*.*)";
const char* const kDefaultSuffix = "sty";
const char* const kSoundFontFilter = "SoundFont-Dateien (*.sf2 *.sf3)";

QStringList Filters() { return {QString::fromUtf8(kStyleFilter), QString::fromUtf8(kAllFilesFilter)}; }

class CQtFileDialogs : public CFileDialogs {
public:
    std::optional<std::filesystem::path> AskOpenPath(QWidget* owner) override {
        QFileDialog dialog(owner, QString::fromUtf8("\xC3\x96"
                                                    "ffnen"));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(Filters());
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return PathFromQString(dialog.selectedFiles().front());
    }

    std::optional<std::filesystem::path> AskSavePath(QWidget* owner, const std::filesystem::path& proposed) override {
        QFileDialog dialog(owner, QString::fromUtf8("Speichern unter"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilters(Filters());
        dialog.setDefaultSuffix(QString::fromUtf8(kDefaultSuffix));
        dialog.selectFile(QStringFromPath(proposed));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return PathFromQString(dialog.selectedFiles().front());
    }

    std::optional<std::filesystem::path> AskSoundFontPath(QWidget* owner,
                                                          const std::filesystem::path& current) override {
        QFileDialog dialog(owner, QString::fromUtf8("SoundFont"));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters({QString::fromUtf8(kSoundFontFilter), QString::fromUtf8(kAllFilesFilter)});
        dialog.selectFile(QStringFromPath(current));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return PathFromQString(dialog.selectedFiles().front());
    }
};

CQtFileDialogs g_qtDialogs;
CFileDialogs* g_dialogs = nullptr;

}  // namespace

CFileDialogs& AppFileDialogs() { return g_dialogs ? *g_dialogs : g_qtDialogs; }
void SetAppFileDialogs(CFileDialogs* dialogs) { g_dialogs = dialogs; }
