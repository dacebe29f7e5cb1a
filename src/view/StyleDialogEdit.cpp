// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard and undo keys of the form: they act on the focused text or number
// field and on nothing else.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

#include "view/StyleDialog.h"

namespace {

QLineEdit* FocusedEdit() {
    QWidget* focus = QApplication::focusWidget();
    return StyleDialog::IsEditControl(focus) ? static_cast<QLineEdit*>(focus) : nullptr;
}

bool ClipboardHasText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

}  // namespace

bool StyleDialog::IsEditControl(const QWidget* window) { return qobject_cast<const QLineEdit*>(window) != nullptr; }

bool StyleDialog::OnUpdateEditCopyCut() const {
    const QLineEdit* edit = FocusedEdit();
    return edit && edit->hasSelectedText();
}

bool StyleDialog::OnUpdateEditPaste() const {
    const QLineEdit* edit = FocusedEdit();
    return edit && !edit->isReadOnly() && ClipboardHasText();
}

bool StyleDialog::OnUpdateEditUndo() const {
    const QLineEdit* edit = FocusedEdit();
    return edit && !edit->isReadOnly() && edit->isUndoAvailable();
}

void StyleDialog::OnEditCopy() {
    if (QLineEdit* edit = FocusedEdit()) edit->copy();
}

void StyleDialog::OnEditCut() {
    if (QLineEdit* edit = FocusedEdit()) edit->cut();
}

void StyleDialog::OnEditPaste() {
    if (QLineEdit* edit = FocusedEdit()) edit->paste();
}

void StyleDialog::OnEditUndo() {
    if (QLineEdit* edit = FocusedEdit()) edit->undo();
}
