// SPDX-License-Identifier: GPL-3.0-or-later
// Records in the user's settings the folder that holds the installed help pages
// ("InstallPath"); the installation runs it, the program only reads the value.

#include <QDir>
#include <cstdio>

#include "options/HelpSettings.h"
#include "options/SettingsProfile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s HELP_FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    CSettingsProfile profile;
    const bool stored =
        profile.WriteProfileString(kSettingsSection, kInstallPathEntry, QDir::toNativeSeparators(folder).toStdString());
    std::printf("%.*s: %s\n", static_cast<int>(kInstallPathEntry.size()), kInstallPathEntry.data(),
                QDir::toNativeSeparators(folder).toLocal8Bit().constData());
    return stored ? 0 : 1;
}
