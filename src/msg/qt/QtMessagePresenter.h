// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "msg/MessagePresenter.h"

class QWidget;

// Shows each message as a modal QMessageBox, owned by the given window or by the
// main window that mainWindow() names at that moment.
class CQtMessagePresenter : public CMessagePresenter {
public:
    explicit CQtMessagePresenter(std::function<QWidget*()> mainWindow = {});

    int Present(const MessageBoxRequest& request) override;
    OwnerWindow MainWindow() const override;

    static OwnerWindow OwnerOf(QWidget* widget) { return widget; }
    static QWidget* WidgetOf(OwnerWindow owner);

private:
    std::function<QWidget*()> m_mainWindow;
};
