// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/Document.h"

#include "framework/platform/PathText.h"

namespace {

std::function<void(const std::filesystem::path&)>& RecentFileSink() {
    static std::function<void(const std::filesystem::path&)> sink;
    return sink;
}

}  // namespace

void SetRecentFileSink(std::function<void(const std::filesystem::path&)> sink) { RecentFileSink() = std::move(sink); }

void CDocument::SetPathName(const std::filesystem::path& pathName, bool addToRecentFiles) {
    m_pathName = pathName;
    m_title = Utf8Of(pathName.filename());
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
