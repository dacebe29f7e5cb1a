// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

// The program's texts as Qt shows and takes them. Every conversion between QString and
// a style's code page 1252 is one of these (a path's: framework/platform/qt/QtPaths.h).

// A text of a style or a message, single bytes in code page 1252, and back: nothing
// when the text holds a character the code page cannot.
QString QStringFromCp1252(std::string_view text);
std::optional<std::string> Cp1252FromQString(QStringView text);
