// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>
#include <map>

#include "document/SaveOptions.h"

class CMidiPage;
class QCheckBox;

// The "Settings" dialog, on two pages: the eleven stored save options that every newly
// opened style copies, and the MIDI settings. OK stores them all; Cancel, Escape and the
// close box store nothing.
class CSettingsDlg : public QDialog {
public:
    static constexpr int IDD = 130;

    explicit CSettingsDlg(QWidget* parent = nullptr);

    // The check box with the given control id (1005 ...), for the form's own code
    // and for tests.
    QCheckBox* Control(int id) const;

    // One value per save option, 1 when its box is checked, in the order of
    // SaveOptions().
    std::array<int, kSaveOptionCount> m_bOption{};
    int& Option(const SaveOption& option) { return m_bOption[IndexOf(option)]; }

    // OK: stores and closes (public, like QDialog's own).
    void accept() override;

private:
    void OnInitDialog();
    void OnOK();
    // Moves the members into the check boxes, or the check boxes into the members.
    void DoDataExchange(bool saveAndValidate);

    std::map<int, QCheckBox*> m_checkBoxes;
    CMidiPage* m_midi;
};

// The File menu's "S&ettings" command.
void OnSettings(QWidget* owner);
