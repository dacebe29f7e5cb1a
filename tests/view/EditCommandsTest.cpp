#include <QClipboard>
#include <QMimeData>
#include <QPushButton>

#include "FormFixture.h"

namespace id = form_id;

namespace {

void PutOnClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void PutImageDataOnClipboard() {
    auto* data = new QMimeData;
    data->setData("image/png", QByteArray("\x89PNG", 4));
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace

// Which commands the keys may run, by what has the focus.
TEST_F(FormTest, EditCommandsActOnlyOnTheFocusedField) {
    Open(StyleFile(PopEvents()), true);
    struct Case {
        const char* name;
        QWidget* focus;
        bool selectAll;
        bool copyCut;
        bool paste;
    };
    const Case cases[] = {
        {"title with a selection", Edit(id::kTitle), true, true, true},
        {"title without a selection", Edit(id::kTitle), false, false, true},
        {"tempo with a selection", Edit(id::kTempo), true, true, true},
        {"check box", Box(1005), false, false, false},
        {"button", form->Control(id::kSave), false, false, false},
        {"slider", Slider(), false, false, false},
    };
    PutOnClipboard("12");
    for (const Case& c : cases) {
        c.focus->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(c.focus)) c.selectAll ? edit->selectAll() : edit->deselect();
        EXPECT_EQ(QApplication::focusWidget(), c.focus) << c.name;
        EXPECT_EQ(form->OnUpdateEditCopyCut(), c.copyCut) << c.name;
        EXPECT_EQ(form->OnUpdateEditPaste(), c.paste) << c.name;
    }
    // The keys themselves on the other controls.
    for (QWidget* control :
         {static_cast<QWidget*>(Box(1005)), form->Control(id::kSave), static_cast<QWidget*>(Slider())}) {
        control->setFocus();
        QTest::keyClick(control, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(control, Qt::Key_Insert, Qt::ShiftModifier);
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "12");
    EXPECT_FALSE(doc->IsModified());

    Edit(id::kTitle)->setFocus();
    Edit(id::kTitle)->setReadOnly(true);
    EXPECT_FALSE(form->OnUpdateEditPaste());
    Edit(id::kTitle)->setReadOnly(false);
    PutImageDataOnClipboard();
    EXPECT_FALSE(form->OnUpdateEditPaste());
}

TEST_F(FormTest, ClipboardKeysInTheFields) {
    Open(StyleFile(PopEvents("Latin Pop")), true);
    QLineEdit* title = Edit(id::kTitle);
    title->setFocus();

    // Copy and cut take the selection; without one they leave the clipboard alone.
    PutOnClipboard("before");
    title->deselect();
    QTest::keyClick(title, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(title, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
    EXPECT_EQ(title->text(), "Latin Pop");
    title->setSelection(0, 5);
    QTest::keyClick(title, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Latin");
    PutOnClipboard("before");
    title->setSelection(0, 6);
    QTest::keyClick(title, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Latin ");
    EXPECT_EQ(title->text(), "Pop");
    EXPECT_EQ(doc->m_strStyleTitle, "Pop");

    // Paste goes to the channel field at its caret.
    QTest::mouseClick(Box(id::kAllChannels), Qt::LeftButton);
    QLineEdit* volume = Volume(9);
    volume->setFocus();
    volume->setCursorPosition(1);
    PutOnClipboard("2");
    QTest::keyClick(volume, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(volume->text(), "1200");
    EXPECT_EQ(doc->m_nVolume[9], 100);  // refused: above 127
    volume->selectAll();
    QTest::keyClick(volume, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(doc->m_nVolume[9], 2);

    // Undo goes to the field.
    QTest::keyClick(volume, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(volume->text(), "1200");

    // Non-text data pastes nothing.
    PutImageDataOnClipboard();
    title->setFocus();
    QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(title->text(), "Pop");
}
