// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMdiSubWindow>
#include <memory>

class CKorvaneDoc;
class StyleDialog;

// The window of one open style inside the main window: it owns the document and
// holds its form. The form sets its size, so the frame has no sizing border and
// cannot be maximised; its caption is the file name of the document's path.
class CChildFrame : public QMdiSubWindow {
public:
    explicit CChildFrame(std::unique_ptr<CKorvaneDoc> doc, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CKorvaneDoc& GetDocument() const { return *m_doc; }
    StyleDialog* GetView() const { return m_view; }

protected:
    // The close box asks about unsaved changes, as the form's Cancel does.
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<CKorvaneDoc> m_doc;
    StyleDialog* m_view;
    bool m_documentClosed = false;
};
