// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ChildFrame.h"

#include <QCloseEvent>

#include "app/AppIcon.h"
#include "document/KorvaneDoc.h"
#include "framework/platform/qt/QtPaths.h"
#include "view/StyleDialog.h"

CChildFrame::CChildFrame(std::unique_ptr<CKorvaneDoc> doc, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(std::move(doc)), m_view(new StyleDialog(*m_doc)) {
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_view);
    setWindowTitle(QStringFromPath(m_doc->GetPathName().filename()));
    setWindowIcon(KorvaneIcon());
    m_view->SetCloseWindow([this] {
        m_documentClosed = true;
        close();
    });
}

// The form goes before the document it shows.
CChildFrame::~CChildFrame() { delete m_view; }

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!m_documentClosed && !m_view->SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
