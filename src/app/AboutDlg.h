// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: the program's name, its version and the date it was built, and OK.
class CAboutDlg : public QDialog {
public:
    static constexpr int IDD = 100;

    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* NameLabel() const { return m_name; }
    QLabel* VersionLabel() const { return m_version; }
    QLabel* DateLabel() const { return m_date; }
    QPushButton* OkButton() const { return m_ok; }

private:
    QLabel* m_name;
    QLabel* m_version;
    QLabel* m_date;
    QPushButton* m_ok;
};

// The About command: shows the About box modally over owner.
void OnAppAbout(QWidget* owner);
