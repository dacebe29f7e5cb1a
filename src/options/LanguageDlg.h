// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPushButton;
class QRadioButton;

// "Choose Language": asked once, the first time the user calls Help. OK stays
// disabled until a language is checked; there is no Cancel button, but Escape and
// the close box still cancel, storing nothing.
class CLanguageDlg : public QDialog {
public:
    static constexpr int IDD = 142;

    explicit CLanguageDlg(QWidget* parent = nullptr);

    QRadioButton* German() const { return m_german; }
    QRadioButton* English() const { return m_english; }
    QPushButton* OkButton() const { return m_ok; }

    int m_nLanguage = -1;  // -1 none, 0 German, 1 English

    // OK: stores and closes (public, like QDialog's own).
    void accept() override;

private:
    void DoDataExchange();
    void OnLanguageClicked();

    QRadioButton* m_german;
    QRadioButton* m_english;
    QPushButton* m_ok;
};
