#include "options/SettingsDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "framework/Profile.h"
#include "style/SaveOptionKeys.h"

namespace {

struct OptionBox {
    int id;
    const char* text;
    const SaveOptionKey* key;
    int CSettingsDlg::*member;
};

// In tab order, top to bottom.
const std::array<OptionBox, 11> kBoxes = {{
    {1005, "Set filename = title", &kAdaptFilenameKey, &CSettingsDlg::m_bAdaptFilename},
    {1006, "Format filename (...$)", &kFormatFilenameKey, &CSettingsDlg::m_bFormatFilename},
    {1007, "Delete old style file if name changed", &kDeleteOldFileKey, &CSettingsDlg::m_bDeleteOldFile},
    {1076, "Delete \"cntt\" data from CASM section", &kDeleteAllCnttKey, &CSettingsDlg::m_bDeleteAllCntt},
    {1061, "Delete OTS settings", &kDeleteOTSKey, &CSettingsDlg::m_bDeleteOTS},
    {1077, "Export OTS settings", &kExportOTSKey, &CSettingsDlg::m_bExportOTS},
    {1078, "Import OTS settings", &kImportOTSKey, &CSettingsDlg::m_bImportOTS},
    {1079, "Delete CASM section", &kDeleteCASMKey, &CSettingsDlg::m_bDeleteCASM},
    {1080, "Export CASM section", &kExportCASMKey, &CSettingsDlg::m_bExportCASM},
    {1081, "Import CASM section", &kImportCASMKey, &CSettingsDlg::m_bImportCASM},
    {1012, "Change volume for all channels", &kAllChannelsKey, &CSettingsDlg::m_bAllChannels},
}};

// The order in which the options are read and written.
constexpr std::array<int, 11> kStorageOrder = {1007, 1005, 1006, 1012, 1061, 1077, 1078, 1079, 1080, 1081, 1076};

const OptionBox& BoxOf(int id) {
    for (const OptionBox& box : kBoxes) {
        if (box.id == id) return box;
    }
    return kBoxes.front();
}

}  // namespace

CSettingsDlg::CSettingsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Settings");
    auto* layout = new QVBoxLayout(this);
    for (const OptionBox& box : kBoxes) {
        auto* checkBox = new QCheckBox(QString::fromUtf8(box.text), this);
        checkBox->setObjectName(QString::number(box.id));
        layout->addWidget(checkBox);
        m_checkBoxes[box.id] = checkBox;
    }
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
    for (const OptionBox& box : kBoxes) {
        if (saveAndValidate) {
            this->*box.member = m_checkBoxes[box.id]->isChecked() ? 1 : 0;
        } else {
            m_checkBoxes[box.id]->setChecked(this->*box.member != 0);
        }
    }
}

// Each opening reads the stored values afresh.
void CSettingsDlg::OnInitDialog() {
    const CProfile& profile = AppProfile();
    for (const int id : kStorageOrder) {
        const OptionBox& box = BoxOf(id);
        this->*box.member = ReadSaveOption(profile, *box.key);
    }
    DoDataExchange(false);
    m_checkBoxes[kBoxes.front().id]->setFocus();
}

void CSettingsDlg::OnOK() {
    DoDataExchange(true);
    CProfile& profile = AppProfile();
    for (const int id : kStorageOrder) {
        const OptionBox& box = BoxOf(id);
        profile.WriteProfileInt(kSettingsSection, box.key->name, this->*box.member);
    }
}

void CSettingsDlg::accept() {
    OnOK();
    QDialog::accept();
}

void OnSettings(QWidget* owner) {
    CSettingsDlg dialog(owner);
    dialog.exec();
}
