// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/qt/QtText.h"

#include <QFile>

#include "framework/Cp1252.h"

QString QStringFromCp1252(std::string_view text) { return QString::fromStdString(Cp1252ToUtf8(text)); }

std::optional<std::string> Cp1252FromQString(QStringView text) { return Utf8ToCp1252(text.toUtf8().toStdString()); }

std::filesystem::path PathFromQString(const QString& text) {
#ifdef Q_OS_WIN
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

QString QStringFromPath(const std::filesystem::path& path) {
#ifdef Q_OS_WIN
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}
