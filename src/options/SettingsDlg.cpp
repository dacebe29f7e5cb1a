// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/SettingsDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "framework/Profile.h"
#include "options/MidiPage.h"

namespace {

const char* const kSaveOptionsPage = "&Save options";
const char* const kMidiPage = "&MIDI";

}  // namespace

CSettingsDlg::CSettingsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Settings");
    auto* layout = new QVBoxLayout(this);
    auto* pages = new QTabWidget(this);
    auto* options = new QWidget(pages);
    auto* optionsLayout = new QVBoxLayout(options);
    for (const int id : kSaveOptionTabOrder) {
        auto* checkBox = new QCheckBox(QString::fromUtf8(FindSaveOption(id)->settingsText), options);
        checkBox->setObjectName(QString::number(id));
        optionsLayout->addWidget(checkBox);
        m_checkBoxes[id] = checkBox;
    }
    optionsLayout->addStretch();
    pages->addTab(options, QString::fromUtf8(kSaveOptionsPage));
    m_midi = new CMidiPage(pages);
    pages->addTab(m_midi, QString::fromUtf8(kMidiPage));
    layout->addWidget(pages);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    ok->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    OnInitDialog();
}

QCheckBox* CSettingsDlg::Control(int id) const {
    const auto it = m_checkBoxes.find(id);
    return it != m_checkBoxes.end() ? it->second : nullptr;
}

void CSettingsDlg::DoDataExchange(bool saveAndValidate) {
    for (const SaveOption& option : SaveOptions()) {
        QCheckBox* box = m_checkBoxes[option.controlId];
        if (saveAndValidate) {
            Option(option) = box->isChecked() ? 1 : 0;
        } else {
            box->setChecked(Option(option) != 0);
        }
    }
}

// Each opening reads the stored values afresh.
void CSettingsDlg::OnInitDialog() {
    const CProfile& profile = AppProfile();
    for (const SaveOption& option : SaveOptions()) Option(option) = ReadSaveOption(profile, option);
    DoDataExchange(false);
    m_midi->Show(ReadMidiSettings(profile));
    m_checkBoxes[kSaveOptionTabOrder.front()]->setFocus();
}

void CSettingsDlg::OnOK() {
    DoDataExchange(true);
    CProfile& profile = AppProfile();
    const CProfileWriteBatch batch(profile);
    for (const SaveOption& option : SaveOptions()) {
        profile.WriteProfileInt(kSettingsSection, option.key, Option(option));
    }
    WriteMidiSettings(profile, m_midi->Chosen());
}

void CSettingsDlg::accept() {
    OnOK();
    QDialog::accept();
}

void OnSettings(QWidget* owner) {
    CSettingsDlg dialog(owner);
    dialog.exec();
}
