// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The program's texts and paths as Qt shows and takes them. Every conversion between
// QString and a style's code page 1252 or a native path is one of these.

// A text of a style or a message, single bytes in code page 1252, and back: nothing
// when the text holds a character the code page cannot.
QString QStringFromCp1252(std::string_view text);
std::optional<std::string> Cp1252FromQString(QStringView text);

// Paths go to the file system as the bytes it uses (QFile's encoding), so that a name
// in any encoding opens.
std::filesystem::path PathFromQString(const QString& text);
QString QStringFromPath(const std::filesystem::path& path);
