#pragma once

#include <QDialog>
#include <map>

class QCheckBox;

// The "Settings" dialog: the eleven stored save options that every newly opened
// style copies. OK stores all eleven; Cancel, Escape and the close box store nothing.
class CSettingsDlg : public QDialog {
public:
    static constexpr int IDD = 130;

    explicit CSettingsDlg(QWidget* parent = nullptr);

    // The check box with the given control id (1005 ...), for the form's own code
    // and for tests.
    QCheckBox* Control(int id) const;

    // One member per check box, 1 when checked.
    int m_bDeleteOldFile = 0;
    int m_bAdaptFilename = 0;
    int m_bFormatFilename = 0;
    int m_bAllChannels = 0;
    int m_bDeleteOTS = 0;
    int m_bDeleteAllCntt = 0;
    int m_bExportOTS = 0;
    int m_bImportOTS = 0;
    int m_bExportCASM = 0;
    int m_bImportCASM = 0;
    int m_bDeleteCASM = 0;

    // OK: stores and closes (public, like QDialog's own).
    void accept() override;

private:
    void OnInitDialog();
    void OnOK();
    // Moves the members into the check boxes, or the check boxes into the members.
    void DoDataExchange(bool saveAndValidate);

    std::map<int, QCheckBox*> m_checkBoxes;
};

// The File menu's "S&ettings" command.
inline constexpr int ID_FILE_SETTINGS = 32772;
void OnSettings(QWidget* owner);
