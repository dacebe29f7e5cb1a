// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "QtTestApp.h"
#include "msg/MessageBoxStyle.h"
#include "msg/Messages.h"
#include "msg/qt/QtMessagePresenter.h"

namespace {

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* parent = nullptr;
    QList<QMessageBox::StandardButton> buttons;
};

// Looks at the modal box once it is shown and closes it with the given button.
void CloseNextBoxWith(QMessageBox::StandardButton button, SeenBox& seen) {
    QTimer::singleShot(0, [button, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.parent = box->parentWidget();
        for (QAbstractButton* b : box->buttons()) seen.buttons.append(box->standardButton(b));
        box->button(button)->click();
    });
}

class QtMessageBox : public testing::Test {
protected:
    QtMessageBox() : presenter([this] { return &window; }) { InstallMessagePresenter(&presenter); }
    ~QtMessageBox() override { InstallMessagePresenter(nullptr); }

    QApplication& app = QtTestApp();  // before any widget
    QMainWindow window;
    CQtMessagePresenter presenter;
};

TEST_F(QtMessageBox, ErrorBoxIsModalOwnedByTheMainWindowWithOneOkButton) {
    SeenBox seen;
    CloseNextBoxWith(QMessageBox::Ok, seen);
    ShowError("Invalid file structure!\n\n(Missing 'SFF1' or 'SFF2' marker.)");
    EXPECT_EQ(seen.title, "Fehler");
    EXPECT_EQ(seen.text, "Invalid file structure!\n\n(Missing 'SFF1' or 'SFF2' marker.)");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.parent, &window);
    EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

TEST_F(QtMessageBox, QuestionReturnsTheButtonPressed) {
    SeenBox seen;
    CloseNextBoxWith(QMessageBox::No, seen);
    EXPECT_EQ(ShowQuestion("Speichern?", 0), msgbox::IdNo);
    EXPECT_EQ(seen.title, "Frage");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));

    SeenBox second;
    CloseNextBoxWith(QMessageBox::Ok, second);
    EXPECT_EQ(ShowQuestion("Weiter?", msgbox::OkCancel), msgbox::IdOk);
    EXPECT_EQ(second.buttons, (QList<QMessageBox::StandardButton>{QMessageBox::Ok, QMessageBox::Cancel}));
}

TEST_F(QtMessageBox, Cp1252TextsAreShownAsTheirCharacters) {
    SeenBox seen;
    CloseNextBoxWith(QMessageBox::Ok, seen);
    ShowError("Nicht gen\xFCgend freier Speicher !");
    EXPECT_EQ(seen.text, QString::fromUtf8("Nicht genügend freier Speicher !"));
}

}  // namespace
