// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/qt/QtText.h"

#include "framework/Cp1252.h"

QString QStringFromCp1252(std::string_view text) { return QString::fromStdString(Cp1252ToUtf8(text)); }

std::optional<std::string> Cp1252FromQString(QStringView text) { return Utf8ToCp1252(text.toUtf8().toStdString()); }
