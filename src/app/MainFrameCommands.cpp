// SPDX-License-Identifier: GPL-3.0-or-later
// The document commands of the main window: Open, Close, Save, Save As and the
// recent files.

#include <QMdiArea>

#include "app/ChildFrame.h"
#include "app/FileDialogs.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "document/KorvaneDoc.h"
#include "framework/platform/qt/QtPaths.h"
#include "storage/SafeFile.h"
#include "view/StyleDialog.h"

namespace fs = std::filesystem;

// The window the commands act on: the active one, or while the main window itself is
// not active, the one that was active last.
CChildFrame* CMainFrame::ActiveChildFrame() const { return dynamic_cast<CChildFrame*>(m_mdiArea->currentSubWindow()); }

void CMainFrame::OnFileOpen() {
    if (const std::optional<fs::path> path = AppFileDialogs().AskOpenPath(this)) OpenStyle(*path);
}

void CMainFrame::OnFileClose() {
    if (CChildFrame* frame = ActiveChildFrame()) frame->close();
}

bool CMainFrame::OnFileSave() {
    CChildFrame* frame = ActiveChildFrame();
    return frame && DoFileSave(*frame);
}

bool CMainFrame::OnFileSaveAs() {
    CChildFrame* frame = ActiveChildFrame();
    return frame && DoSaveAs(*frame);
}

// A file that is read-only or gone cannot be saved under its name: the user picks
// another.
bool CMainFrame::DoFileSave(CChildFrame& frame) {
    const CKorvaneDoc& doc = frame.GetDocument();
    const fs::path path = doc.GetPathName();
    if (!CanWriteRegularFile(doc.Files(), path)) return DoSaveAs(frame);
    return SaveDocumentTo(frame, path);
}

bool CMainFrame::DoSaveAs(CChildFrame& frame) {
    const std::optional<fs::path> path = AppFileDialogs().AskSavePath(this, frame.GetDocument().GetPathName());
    return path && SaveDocumentTo(frame, *path);
}

// The save may give the file a new name (the naming options): the window, the
// recent files and the next Save follow the file actually written.
bool CMainFrame::SaveDocumentTo(CChildFrame& frame, const fs::path& path) {
    if (!frame.GetView()->SaveDocumentTo(path)) return false;
    frame.setWindowTitle(QStringFromPath(frame.GetDocument().GetPathName().filename()));
    UpdateMenus();
    return true;
}

void CMainFrame::OnOpenRecentFile(std::size_t index) {
    if (!m_recentFiles || index >= m_recentFiles->Paths().size()) return;
    const fs::path path = m_recentFiles->Paths()[index];
    // A file that no longer opens leaves the list, after the loader's message.
    if (!OpenStyle(path)) m_recentFiles->Remove(index);
    UpdateMenus();
}

void CMainFrame::SetRecentFileList(CRecentFileList* list) {
    m_recentFiles = list;
    UpdateMenus();
}
