// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/LanguageDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "framework/ControlIds.h"
#include "framework/Profile.h"
#include "options/HelpSettings.h"

namespace {

QLabel* CentredText(const char* utf8, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(utf8), parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

CLanguageDlg::CLanguageDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Choose Language");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        CentredText("Please choose your favorite language:\nBitte wählen Sie die gewünschte Sprache:", this));
    m_german = new QRadioButton("German", this);
    m_english = new QRadioButton("English", this);
    m_german->setObjectName(QString::number(language_id::kGerman));
    m_english->setObjectName(QString::number(language_id::kEnglish));
    auto* radios = new QVBoxLayout;
    radios->addWidget(m_german);
    radios->addWidget(m_english);
    auto* centred = new QHBoxLayout;
    centred->addStretch();
    centred->addLayout(radios);
    centred->addStretch();
    layout->addLayout(centred);
    m_ok = new QPushButton("OK", this);
    m_ok->setDefault(true);
    m_ok->setEnabled(false);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_ok);
    buttonRow->addStretch();
    layout->addLayout(buttonRow);
    layout->addWidget(
        CentredText("This dialog will not be displayed again.\nDieser Dialog wird nicht mehr angezeigt.", this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_german, &QRadioButton::clicked, this, &CLanguageDlg::OnLanguageClicked);
    connect(m_english, &QRadioButton::clicked, this, &CLanguageDlg::OnLanguageClicked);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

void CLanguageDlg::DoDataExchange() { m_nLanguage = m_german->isChecked() ? 0 : m_english->isChecked() ? 1 : -1; }

void CLanguageDlg::OnLanguageClicked() {
    DoDataExchange();
    if (m_nLanguage != -1) m_ok->setEnabled(true);
}

void CLanguageDlg::accept() {
    DoDataExchange();
    if (m_nLanguage == -1) return;
    AppProfile().WriteProfileString(kSettingsSection, kLanguageEntry,
                                    m_nLanguage == 0 ? kGermanLanguage : kEnglishLanguage);
    QDialog::accept();
}
