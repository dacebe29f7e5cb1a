#include "framework/Document.h"

namespace {

std::function<void(const std::filesystem::path&)>& RecentFileSink() {
    static std::function<void(const std::filesystem::path&)> sink;
    return sink;
}

}  // namespace

void SetRecentFileSink(std::function<void(const std::filesystem::path&)> sink) { RecentFileSink() = std::move(sink); }

void CDocument::SetPathName(const std::filesystem::path& pathName, bool addToRecentFiles) {
    m_pathName = pathName;
    // As UTF-8: string() fails for a name the system's code page cannot hold.
    const std::u8string name = pathName.filename().u8string();
    m_title.assign(name.begin(), name.end());
    if (addToRecentFiles && RecentFileSink()) RecentFileSink()(pathName);
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    m_pathName.clear();
    m_title.clear();
    m_modified = false;
    return true;
}

bool CDocument::OnOpenDocument(const std::filesystem::path& /*pathName*/) {
    DeleteContents();
    m_modified = false;
    return true;
}

bool CDocument::OnSaveDocument(const std::filesystem::path& /*pathName*/) {
    m_modified = false;
    return true;
}

void CDocument::OnCloseDocument() { DeleteContents(); }
