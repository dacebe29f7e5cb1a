// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <string>

// The least of a document framework that the style engine needs: a document knows
// the file it belongs to, the title shown for it and whether it holds unsaved edits.
class CDocument {
public:
    virtual ~CDocument() = default;

    const std::filesystem::path& GetPathName() const { return m_pathName; }
    // Sets the path and derives the title (the file name); with addToRecentFiles the
    // path goes to the recent-file list the front end installed.
    virtual void SetPathName(const std::filesystem::path& pathName, bool addToRecentFiles = true);
    const std::string& GetTitle() const { return m_title; }  // UTF-8
    void SetTitle(std::string title) { m_title = std::move(title); }

    virtual bool IsModified() const { return m_modified; }
    virtual void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    virtual void DeleteContents() {}
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::filesystem::path& pathName);
    virtual bool OnSaveDocument(const std::filesystem::path& pathName);
    virtual void OnCloseDocument();

private:
    std::filesystem::path m_pathName;
    std::string m_title;
    bool m_modified = false;
};

// Where a document's path goes when it is to be added to the recent-file list; the
// editor installs its list, and nothing is kept while none is installed.
void SetRecentFileSink(std::function<void(const std::filesystem::path&)> sink);
