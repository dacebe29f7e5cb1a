// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <filesystem>
#include <optional>

class QWidget;

// The file dialogs of the document commands. The program shows Qt's; tests install
// their own answers.
class CFileDialogs {
public:
    virtual ~CFileDialogs() = default;
    // "Öffnen": an existing file, or nothing when cancelled.
    virtual std::optional<std::filesystem::path> AskOpenPath(QWidget* owner) = 0;
    // "Speichern unter", proposing proposed; the dialog asks before an existing file
    // is replaced. Nothing when cancelled.
    virtual std::optional<std::filesystem::path> AskSavePath(QWidget* owner, const std::filesystem::path& proposed) = 0;
    // Play > SoundFont...: an existing file, starting at the one in use; nothing when cancelled.
    virtual std::optional<std::filesystem::path> AskSoundFontPath(QWidget* owner,
                                                                  const std::filesystem::path& current) = 0;
};

CFileDialogs& AppFileDialogs();
// nullptr returns to Qt's dialogs.
void SetAppFileDialogs(CFileDialogs* dialogs);
