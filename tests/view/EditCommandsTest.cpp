// SPDX-License-Identifier: GPL-3.0-or-later
#include <QClipboard>
#include <QMimeData>

#include "FormFixture.h"

namespace id = form_id;

namespace {

QClipboard& Clipboard() { return *QGuiApplication::clipboard(); }

void PutImageDataOnClipboard() {
    auto* data = new QMimeData;
    data->setData("image/png", QByteArray("\x89PNG", 4));
    Clipboard().setMimeData(data);
}

}  // namespace

// Which commands the keys may run, by what has the focus.
TEST_F(FormTest, EditCommandsActOnlyOnTheFocusedField) {
    Open();
    const std::tuple<const char*, QWidget*, bool, bool, bool> cases[] = {
        // focus, with a selection, copy and cut, paste
        {"title with a selection", Edit(id::kTitle), true, true, true},
        {"title without a selection", Edit(id::kTitle), false, false, true},
        {"tempo with a selection", Edit(id::kTempo), true, true, true},
        {"check box", Box(1005), false, false, false},
        {"button", form->Control(id::kSave), false, false, false},
        {"slider", Slider(), false, false, false},
    };
    Clipboard().setText("12");
    for (const auto& [name, focus, selectAll, copyCut, paste] : cases) {
        focus->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(focus)) selectAll ? edit->selectAll() : edit->deselect();
        EXPECT_EQ(QApplication::focusWidget(), focus) << name;
        EXPECT_EQ(form->OnUpdateEditCopyCut(), copyCut) << name;
        EXPECT_EQ(form->OnUpdateEditPaste(), paste) << name;
        if (!paste) {  // nor do the keys themselves
            QTest::keyClick(focus, Qt::Key_X, Qt::ControlModifier);
            QTest::keyClick(focus, Qt::Key_Insert, Qt::ShiftModifier);
        }
    }
    EXPECT_EQ(Clipboard().text(), "12");
    EXPECT_FALSE(doc->IsModified());

    Edit(id::kTitle)->setFocus();
    Edit(id::kTitle)->setReadOnly(true);
    EXPECT_FALSE(form->OnUpdateEditPaste());
    Edit(id::kTitle)->setReadOnly(false);
    PutImageDataOnClipboard();
    EXPECT_FALSE(form->OnUpdateEditPaste());
}

TEST_F(FormTest, ClipboardKeysInTheFields) {
    Open(StyleFile(PopEvents("Latin Pop")));
    QLineEdit* title = Edit(id::kTitle);
    title->setFocus();

    // Copy and cut take the selection; without one they leave the clipboard alone.
    Clipboard().setText("before");
    title->deselect();
    QTest::keyClick(title, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(title, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Clipboard().text(), "before");
    EXPECT_EQ(title->text(), "Latin Pop");
    title->setSelection(0, 6);
    QTest::keyClick(title, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(Clipboard().text(), "Latin ");
    EXPECT_EQ(title->text(), "Pop");
    EXPECT_EQ(doc->m_strStyleTitle, "Pop");

    // Paste goes to the channel field at its caret; undo goes to the field.
    Click(id::kAllChannels);
    QLineEdit* volume = Volume(9);
    volume->setFocus();
    volume->setCursorPosition(1);
    Clipboard().setText("2");
    QTest::keyClick(volume, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(volume->text(), "1200");
    EXPECT_EQ(doc->m_nVolume[9], 100);  // refused: above 127
    volume->selectAll();
    QTest::keyClick(volume, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(doc->m_nVolume[9], 2);
    QTest::keyClick(volume, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(volume->text(), "1200");

    // Non-text data pastes nothing.
    PutImageDataOnClipboard();
    title->setFocus();
    QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(title->text(), "Pop");
}
