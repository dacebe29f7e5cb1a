#include "framework/Document.h"

void CDocument::SetPathName(const std::filesystem::path& pathName, bool /*addToRecentFiles*/) {
    m_pathName = pathName;
    m_title = pathName.filename().string();
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
