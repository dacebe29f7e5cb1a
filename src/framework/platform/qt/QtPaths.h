// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <filesystem>

// The Qt side of the platform room: paths as Qt takes and shows them, and the folders
// the Qt programs keep their files in. One file per system: QtPathsPosix.cpp,
// QtPathsWindows.cpp.

// Paths go to the file system as the names it uses: on Windows their UTF-16, elsewhere
// their bytes (QFile's encoding), so that a name in any encoding opens.
std::filesystem::path PathFromQString(const QString& text);
QString QStringFromPath(const std::filesystem::path& path);

// The user's own folder for what lives only while the editor runs (its start-up lock and
// its socket): on Linux the runtime folder, the temporary folder when there is none; on
// Windows the temporary folder (Qt's runtime location there is the home folder, where
// they would show).
QString UserRuntimeFolder();

// Where an installation keeps the help pages, from the program's own folder: in
// "share/korvane" beside it on Linux (programFolder/../share/korvane), in the program's
// folder itself on Windows.
QString InstalledHelpFolder(const QString& programFolder);
