// SPDX-License-Identifier: GPL-3.0-or-later
#include "msg/qt/QtMessagePresenter.h"

#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <map>

#include "framework/qt/QtText.h"
#include "msg/MessageBoxStyle.h"

namespace {

QMessageBox::StandardButton StandardButtonOf(int id) {
    switch (id) {
        case msgbox::IdCancel: return QMessageBox::Cancel;
        case msgbox::IdAbort: return QMessageBox::Abort;
        case msgbox::IdRetry: return QMessageBox::Retry;
        case msgbox::IdIgnore: return QMessageBox::Ignore;
        case msgbox::IdYes: return QMessageBox::Yes;
        case msgbox::IdNo: return QMessageBox::No;
        default: return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(unsigned style) {
    switch (style & msgbox::IconMask) {
        case msgbox::IconError: return QMessageBox::Critical;
        case msgbox::IconQuestion: return QMessageBox::Question;
        case msgbox::IconWarning: return QMessageBox::Warning;
        case msgbox::IconInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

}  // namespace

CQtMessagePresenter::CQtMessagePresenter(std::function<QWidget*()> mainWindow) : m_mainWindow(std::move(mainWindow)) {}

QWidget* CQtMessagePresenter::WidgetOf(OwnerWindow owner) { return static_cast<QWidget*>(const_cast<void*>(owner)); }

OwnerWindow CQtMessagePresenter::MainWindow() const { return m_mainWindow ? OwnerOf(m_mainWindow()) : nullptr; }

int CQtMessagePresenter::Present(const MessageBoxRequest& request) {
    QMessageBox box(WidgetOf(request.owner));
    box.setIcon(IconOf(request.style));
    box.setTextFormat(Qt::PlainText);
    box.setText(QStringFromCp1252(request.text));
    if (request.caption) box.setWindowTitle(QStringFromCp1252(*request.caption));

    std::map<QAbstractButton*, int> idOfButton;
    for (const int id : ButtonsOf(request.style)) {
        QPushButton* button = box.addButton(StandardButtonOf(id));
        idOfButton[button] = id;
        if (id == DefaultButtonOf(request.style)) box.setDefaultButton(button);
    }
    box.exec();
    const auto it = idOfButton.find(box.clickedButton());
    return it != idOfButton.end() ? it->second : msgbox::IdCancel;
}
