// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt side on Windows: names are UTF-16, and an installation is one folder.
#include <QDir>

#include "framework/platform/qt/QtPaths.h"

std::filesystem::path PathFromQString(const QString& text) { return std::filesystem::path(text.toStdWString()); }

QString QStringFromPath(const std::filesystem::path& path) { return QString::fromStdWString(path.native()); }

QString UserRuntimeFolder() { return QDir::tempPath(); }

QString InstalledHelpFolder(const QString& programFolder) { return QDir::cleanPath(programFolder); }
