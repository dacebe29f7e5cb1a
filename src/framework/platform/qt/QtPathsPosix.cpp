// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt side on POSIX systems: names are bytes, and the session has a runtime folder.
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "framework/platform/qt/QtPaths.h"

std::filesystem::path PathFromQString(const QString& text) {
    return std::filesystem::path(QFile::encodeName(text).toStdString());
}

QString QStringFromPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

QString UserRuntimeFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

QString InstalledHelpFolder(const QString& programFolder) {
    return QDir::cleanPath(programFolder + "/../share/korvane");
}
