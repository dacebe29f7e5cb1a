// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>

#include "document/SaveOptions.h"
#include "format/Sections.h"
#include "format/StyleNames.h"

class CDataExchange;
class CKorvaneDoc;
class CUpDown;
struct FormControl;
class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;
class QValidator;

// The form of one style window, laid out by dialog template 102. It shows the
// style's values and this document's options; every change is checked together with
// the whole form and copied into the document at once. Save saves and closes the
// window, Cancel closes it after asking about unsaved changes.
class StyleDialog : public QWidget {
public:
    static constexpr int IDD = 102;

    explicit StyleDialog(CKorvaneDoc& doc, QWidget* parent = nullptr);

    CKorvaneDoc& GetDocument() const { return m_doc; }
    // The template's size: the frame fits itself around it.
    QSize sizeHint() const override { return minimumSize(); }
    // The control with the given id (1001 ...); nullptr for an unknown id.
    QWidget* Control(int id) const;
    // How the window goes away when its document closes; set by the frame.
    void SetCloseWindow(std::function<void()> closeWindow) { m_closeWindow = std::move(closeWindow); }
    // Called each time a volume, the percentage, "All channels", the tempo or the time
    // signature has reached the document: what plays follows the form.
    void SetEditListener(std::function<void()> edited) { m_edited = std::move(edited); }

    // Once, when the window opens: fits the frame around the form and fills the form
    // from the document. Where the frame goes is the main window's business.
    void OnInitialUpdate();
    // Copies the document into the form.
    void OnUpdate();
    // true: reads every control into the members with every check (false when one
    // fails, after its message); false: writes the members into the controls.
    bool UpdateData(bool saveAndValidate = true);

    // When the document is modified, asks whether to save it; true when the window
    // may close (saved, or not to be saved).
    bool SaveModified();
    // What Yes in that question runs; by default a save under the document's path.
    // The main window installs its Save command, which may ask for a new name.
    void SetSaveCommand(std::function<bool()> save) { m_saveCommand = std::move(save); }
    // Checks the whole form, copies it into the document and saves it to path.
    bool SaveDocumentTo(const std::filesystem::path& path);

    // The clipboard keys, for the focused text or number field only.
    static bool IsEditControl(const QWidget* window);
    bool OnUpdateEditCopyCut() const;
    bool OnUpdateEditPaste() const;
    bool OnUpdateEditUndo() const;
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditUndo();

private:
    void CreateControls();
    QWidget* CreateControl(const FormControl& control, QLineEdit* lastEdit);
    void ConnectHandlers();
    void DoDataExchange(CDataExchange& dx);

    // The change handlers; each stops when the form does not pass its checks.
    void OnTextChanged();   // title or copyright
    void OnValueChanged();  // tempo, time signature, an option
    // A box changed by a click, a key or an accessibility action alike.
    void OnOptionToggled(const SaveOption& option);
    void OnVolumeChanged();  // a channel volume
    void OnHScroll(int position);
    void ShowAllChannelsPercent();
    void OnSave();
    void OnCancel();

    // Copies every value of the form into the document, marking it modified where a
    // value differs, so that what the form shows is what a save writes.
    void CopyFormToDocument();
    void TellEdited() const {
        if (m_edited) m_edited();
    }
    bool DoSave();
    bool CheckTempoFitsStyleFile();
    void OnCloseDocument();
    // The trackbar serves while "All channels" is checked, the channel fields while not.
    void ApplyEnableRule();
    bool HandlersReady() const { return m_initialUpdateDone && !m_exchangeRunning; }

    QLineEdit* Edit(int id) const;
    QCheckBox* CheckBox(int id) const;
    int& Option(const SaveOption& option) { return m_bOption[IndexOf(option)]; }

    CKorvaneDoc& m_doc;
    std::function<void()> m_closeWindow;
    std::function<void()> m_edited;
    std::function<bool()> m_saveCommand;
    std::map<int, QWidget*> m_controls;
    QValidator* m_digitsOnly;
    QSlider* m_slider = nullptr;
    std::array<CUpDown*, kChannelCount> m_channelSpins{};
    bool m_initialUpdateDone = false;
    bool m_exchangeRunning = false;

    // The form's own copy of what it shows.
    QString m_strTitle;
    std::int16_t m_nTempo = -1;
    std::int16_t m_nTempoAsLoaded = -1;
    std::int32_t m_nNumerator = 0;
    std::int32_t m_nDenominator = 0;
    std::array<int, kSaveOptionCount> m_bOption{};  // in the order of SaveOptions()
    QString m_strCopyright;
    std::array<std::int16_t, kChannelCount> m_nVolume{};
    std::array<int, kFormSectionCount> m_bSection{};
};
