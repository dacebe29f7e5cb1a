// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

class CProfile;

// The styles opened or saved last, most recent first, kept in the settings section
// "Recent File List" as "File1" to "File10" and written at every change, so that a
// program that ends unexpectedly keeps them too.
class CRecentFileList {
public:
    static constexpr std::size_t kSize = 10;
    static constexpr std::size_t kMaxDisplayLength = 30;

    explicit CRecentFileList(CProfile& profile);

    void ReadList();
    // To the top; an entry for the same file moves up instead of appearing twice.
    void Add(const std::filesystem::path& path);
    void Remove(std::size_t index);

    const std::vector<std::filesystem::path>& Paths() const { return m_paths; }
    // The menu text of an entry: "&1 " and the path shortened to 30 characters.
    QString MenuText(std::size_t index) const;

private:
    void WriteList();

    CProfile& m_profile;
    std::vector<std::filesystem::path> m_paths;
    std::array<std::string, kSize> m_stored;  // the entries as the settings hold them
};

// A path shortened for a menu: whole when it fits; else its root, "...", and as many
// of its last folders as fit before the file name; else the file name alone.
std::string AbbreviatedPath(const std::filesystem::path& path, std::size_t maxLength);
