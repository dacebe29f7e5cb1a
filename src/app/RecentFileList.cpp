// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecentFileList.h"

#include "app/MenuText.h"
#include "document/FileNaming.h"
#include "framework/Profile.h"
#include "framework/platform/PathText.h"
#include "storage/FileNames.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSection = "Recent File List";

std::string EntryName(std::size_t index) { return "File" + std::to_string(index + 1); }

bool SameFile(const fs::path& a, const fs::path& b) { return a == b || IsSameFile(SystemFileSystem(), a, b); }

}  // namespace

CRecentFileList::CRecentFileList(CProfile& profile) : m_profile(profile) {}

void CRecentFileList::ReadList() {
    m_paths.clear();
    for (std::size_t i = 0; i < kSize; ++i) {
        m_stored[i] = m_profile.GetProfileString(kSection, EntryName(i), "");
        if (!m_stored[i].empty()) m_paths.push_back(PathFromUtf8(m_stored[i]));
    }
}

// Only the entries that changed are written, and they reach the store together.
void CRecentFileList::WriteList() {
    const CProfileWriteBatch batch(m_profile);
    for (std::size_t i = 0; i < kSize; ++i) {
        std::string entry = i < m_paths.size() ? Utf8Of(m_paths[i]) : "";
        if (entry == m_stored[i]) continue;
        m_profile.WriteProfileString(kSection, EntryName(i), entry);
        m_stored[i] = std::move(entry);
    }
}

void CRecentFileList::Add(const fs::path& path) {
    std::erase_if(m_paths, [&](const fs::path& known) { return SameFile(known, path); });
    m_paths.insert(m_paths.begin(), path);
    if (m_paths.size() > kSize) m_paths.resize(kSize);
    WriteList();
}

void CRecentFileList::Remove(std::size_t index) {
    if (index >= m_paths.size()) return;
    m_paths.erase(m_paths.begin() + static_cast<std::ptrdiff_t>(index));
    WriteList();
}

QString CRecentFileList::MenuText(std::size_t index) const {
    return NumberedMenuEntry(index + 1, QString::fromStdString(AbbreviatedPath(m_paths.at(index), kMaxDisplayLength)));
}

std::string AbbreviatedPath(const fs::path& path, std::size_t maxLength) {
    const std::string whole = Utf8Of(path.lexically_normal());
    if (CharacterCount(whole) <= maxLength) return whole;
    const std::string name = FileNameOf(path);
    const std::string root = Utf8Of(path.root_path());
    const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
    std::string tail = name;
    std::vector<std::string> folders;
    for (const fs::path& part : path.parent_path().relative_path()) folders.push_back(Utf8Of(part));
    std::string best;
    for (auto folder = folders.rbegin();; ++folder) {
        const std::string candidate = root + "..." + separator + tail;
        if (CharacterCount(candidate) > maxLength) break;
        best = candidate;
        if (folder == folders.rend()) break;
        tail = *folder + separator + tail;
    }
    return best.empty() ? name : best;
}
