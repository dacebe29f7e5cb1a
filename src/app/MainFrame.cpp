// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMdiArea>
#include <QScreen>
#include <system_error>

#include "app/AppIcon.h"
#include "app/ChildFrame.h"
#include "app/WindowPlacement.h"
#include "document/KorvaneDoc.h"
#include "framework/AppTitle.h"
#include "framework/Cp1252.h"
#include "framework/Profile.h"
#include "framework/platform/PathText.h"
#include "msg/MessageHeading.h"
#include "storage/FileNames.h"
#include "view/StyleDialog.h"

namespace fs = std::filesystem;

namespace {

QList<QRect> ScreenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas.push_back(screen->availableGeometry());
    return areas;
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), m_mdiArea(new QMdiArea(this)) {
    setWindowTitle(kAppTitle);
    setWindowIcon(KorvaneIcon());
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    PreCreateWindow();
    CreateEditCommands();
    CreateMenus();
}

// The window area goes first, while this frame is whole: the style windows it takes
// with it must not reach the menus of a frame that is half gone.
CMainFrame::~CMainFrame() {
    disconnect(m_mdiArea, nullptr, this, nullptr);
    // Every style window still there, a closed one waiting for deletion included.
    for (CChildFrame* frame : m_mdiArea->findChildren<CChildFrame*>()) disconnect(frame, nullptr, this, nullptr);
    delete m_mdiArea;
}

void CMainFrame::PreCreateWindow() {
    const std::optional<QRect> stored = ReadWindowPlacement(AppProfile());
    if (!stored || !LiesOnAScreen(*stored, ScreenAreas())) {
        resize(kDefaultMainWindowSize);
        return;
    }
    move(stored->topLeft());
    resize(stored->size());
    m_outerSizeToRestore = stored->size();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    RestoreOuterSize();
    PlaceNewStyleWindows();
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    RestoreOuterSize();
}

// The stored size includes the window's frame, which the window system may tell only
// once the window is on screen: until then the window takes the stored size as its
// inside, and shrinks by the frame as soon as the frame is known. The style windows
// placed meanwhile (those of the command line) took their places in the larger area:
// they take them again in the area of the final size, which the window area reaches
// only when the window system answers the resize.
void CMainFrame::RestoreOuterSize() {
    if (!m_outerSizeToRestore || !isVisible()) return;
    const QSize frame = WindowFrameSize();
    if (frame.isNull()) return;
    const QSize inside = *m_outerSizeToRestore - frame;
    const QSize finalArea = m_mdiArea->maximumViewportSize() - (size() - inside);
    resize(inside);
    m_outerSizeToRestore.reset();
    m_cascade = CCascade();
    PlaceInCascade(m_placedBeforeFinalSize, finalArea);
    m_placedBeforeFinalSize.clear();
}

QSize CMainFrame::WindowFrameSize() const { return frameGeometry().size() - size(); }

void CMainFrame::StorePlacement() {
    // A minimised or maximised window is kept at the place it returns to.
    QRect outer = frameGeometry();
    if (isMinimized() || isMaximized()) {
        const QRect inner = geometry();
        const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                             outer.bottom() - inner.bottom());
        outer = normalGeometry().marginsAdded(frame);
    }
    WriteWindowPlacement(AppProfile(), outer);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    StorePlacement();
    for (CChildFrame* frame : ChildFrames()) {
        if (!frame->close()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void CMainFrame::CreateEditCommands() {
    struct EditCommand {
        QList<QKeySequence> keys;
        bool (StyleDialog::*enabled)() const;
        void (StyleDialog::*run)();
    };
    const EditCommand commands[] = {
        {{QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")},
         &StyleDialog::OnUpdateEditCopyCut,
         &StyleDialog::OnEditCopy},
        {{QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")},
         &StyleDialog::OnUpdateEditCopyCut,
         &StyleDialog::OnEditCut},
        {{QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")},
         &StyleDialog::OnUpdateEditPaste,
         &StyleDialog::OnEditPaste},
        {{QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")},
         &StyleDialog::OnUpdateEditUndo,
         &StyleDialog::OnEditUndo},
    };
    for (const EditCommand& command : commands) {
        auto* action = new QAction(this);
        action->setShortcuts(command.keys);
        connect(action, &QAction::triggered, this, [this, command] {
            StyleDialog* form = ActiveStyleDialog();
            if (form && (form->*command.enabled)()) (form->*command.run)();
        });
        addAction(action);
    }
}

QList<CChildFrame*> CMainFrame::ChildFrames() const {
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (auto* frame = dynamic_cast<CChildFrame*>(window)) frames.push_back(frame);
    }
    return frames;
}

StyleDialog* CMainFrame::ActiveStyleDialog() const {
    CChildFrame* frame = ActiveChildFrame();
    return frame ? frame->GetView() : nullptr;
}

CChildFrame* CMainFrame::FindChildFrame(const fs::path& path) const {
    for (CChildFrame* frame : ChildFrames()) {
        const CKorvaneDoc& doc = frame->GetDocument();
        const fs::path& open = doc.GetPathName();
        if (open == path || IsSameFile(doc.Files(), open, path)) return frame;
    }
    return nullptr;
}

bool CMainFrame::OpenStyle(const fs::path& path) {
    std::error_code error;
    fs::path fullPath = fs::absolute(path, error);
    if (error) fullPath = path;
    if (CChildFrame* open = FindChildFrame(fullPath)) {
        m_mdiArea->setActiveSubWindow(open);
        return true;
    }
    auto doc = std::make_unique<CKorvaneDoc>();
    {
        // Several files may open at once: each message says which one it is about.
        const ScopedMessageHeading heading(Cp1252ForDisplay(Utf8Of(fullPath)));
        if (!doc->OnOpenDocument(fullPath)) return false;
    }
    doc->SetPathName(fullPath, true);
    // A name the naming options choose may belong to another file: the user decides.
    doc->m_existingFile = CKorvaneDoc::ExistingFile::Ask;
    auto* frame = new CChildFrame(std::move(doc));
    frame->GetView()->SetSaveCommand([this, frame] { return DoFileSave(*frame); });
    connect(frame, &QObject::destroyed, this, [this] { UpdateMenus(); });
    m_mdiArea->addSubWindow(frame);
    frame->GetView()->OnInitialUpdate();
    m_unplaced.push_back(frame);
    PlaceNewStyleWindows();
    frame->show();
    UpdateMenus();
    return true;
}

bool CMainFrame::OpenStartupFiles(const std::vector<fs::path>& paths) {
    bool anyOpen = false;
    for (const fs::path& path : paths) anyOpen = OpenStyle(path) || anyOpen;
    return anyOpen || paths.empty();
}

void CMainFrame::PlaceNewStyleWindows() {
    if (!isVisible()) return;
    // The area as it is without scroll bars, which a window placed out of it shows.
    PlaceInCascade(m_unplaced, m_mdiArea->maximumViewportSize());
    if (m_outerSizeToRestore) m_placedBeforeFinalSize += m_unplaced;
    m_unplaced.clear();
}

void CMainFrame::PlaceInCascade(const QList<QPointer<CChildFrame>>& frames, QSize area) {
    for (CChildFrame* frame : frames) {
        if (frame) frame->move(m_cascade.NextPlace(area, frame->size()));
    }
}
