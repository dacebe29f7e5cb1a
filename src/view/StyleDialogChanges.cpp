// SPDX-License-Identifier: GPL-3.0-or-later
// The form's change handlers and its two buttons: what reaches the document, and when.

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <string_view>

#include "document/EditRules.h"
#include "document/KorvaneDoc.h"
#include "framework/AppTitle.h"
#include "framework/Cp1252.h"
#include "framework/qt/QtText.h"
#include "msg/MessageBoxStyle.h"
#include "msg/Messages.h"
#include "view/FieldChecks.h"
#include "view/FormRules.h"
#include "view/FormTemplate.h"
#include "view/StyleDialog.h"

namespace id = form_id;

namespace {

constexpr std::string_view kSaveChangesQuestion = "\xC4nderungen in %1 speichern?";

// The form has checked every value against the same rules, so a refusal here means
// the form and the rules disagree; it is shown rather than lost.
void Report(const EditRefusal& refusal) {
    if (refusal) ShowError(*refusal);
}

}  // namespace

void StyleDialog::CopyFormToDocument() {
    const auto takeText = [this](std::string& field, const QString& text) {
        const std::string bytes = Cp1252FromQString(text).value_or(field);
        if (field != bytes) m_doc.SetModifiedFlag(true);
        field = bytes;
    };
    takeText(m_doc.m_strStyleTitle, m_strTitle);
    takeText(m_doc.m_strCopyright, m_strCopyright);
    for (const SaveOption& option : SaveOptions()) {
        const bool on = Option(option) != 0;
        if (m_doc.*option.member != on) m_doc.SetModifiedFlag(true);
        m_doc.*option.member = on;
    }
    if (HasTempo(m_doc)) Report(EditTempo(m_doc, m_nTempo));
    if (HasTimeSignature(m_doc)) Report(EditTimeSignature(m_doc, m_nNumerator, m_nDenominator));
    // While "All channels" is checked the volumes follow the percentage alone.
    if (m_doc.m_bAllChannels) return;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (HasChannelVolume(m_doc, channel) && m_nVolume[channel] != m_doc.m_nVolume[channel]) {
            Report(EditChannelVolume(m_doc, channel, m_nVolume[channel]));
        }
    }
}

void StyleDialog::OnTextChanged() {
    if (!HandlersReady() || !UpdateData(true)) return;
    CopyFormToDocument();
    m_doc.SetModifiedFlag(true);
    UpdateData(false);
}

void StyleDialog::OnValueChanged() {
    if (!HandlersReady() || !UpdateData(true)) return;
    CopyFormToDocument();
    TellEdited();
}

void StyleDialog::OnOptionToggled(const SaveOption& option) {
    if (!HandlersReady()) return;
    if (!UpdateData(true)) {
        // The box shows what the document holds, so the enable rule never locks the
        // user out of the field that failed.
        QCheckBox* box = CheckBox(option.controlId);
        const QSignalBlocker blocker(box);
        box->setChecked(m_doc.*option.member);
        return;
    }
    CopyFormToDocument();
    if (option.controlId != id::kAllChannels) return;
    if (m_doc.m_bAllChannels) {
        // The disabled channel fields show the volumes a save writes.
        Report(EditAllChannelsPercent(m_doc, m_doc.m_nAllChannelsPercent));
        m_nVolume = m_doc.m_nVolume;
        UpdateData(false);
    }
    ApplyEnableRule();
    TellEdited();
}

void StyleDialog::OnHScroll(int position) {
    if (!HandlersReady()) return;
    if (!UpdateData(true)) {
        const QSignalBlocker blocker(m_slider);
        m_slider->setValue(m_doc.m_nAllChannelsPercent);
        return;
    }
    CopyFormToDocument();
    Report(EditAllChannelsPercent(m_doc, position));
    m_nVolume = m_doc.m_nVolume;
    UpdateData(false);
    TellEdited();
}

bool StyleDialog::DoSave() { return SaveDocumentTo(m_doc.GetPathName()); }

bool StyleDialog::SaveDocumentTo(const std::filesystem::path& path) {
    if (!UpdateData(true) || !CheckTempoFitsStyleFile()) return false;
    CopyFormToDocument();
    return m_doc.OnSaveDocument(path);
}

// Checked at the save, not while typing: "1" is on the way to "120". A tempo left as
// the file had it is the file's business; 0 leaves the file's tempo as it is.
bool StyleDialog::CheckTempoFitsStyleFile() {
    if (!HasTempo(m_doc) || m_nTempo == m_nTempoAsLoaded || m_nTempo == 0 || TempoFitsStyleFile(m_nTempo)) {
        return true;
    }
    ShowError(TempoDoesNotFitText(m_nTempo));
    auto* tempo = static_cast<QLineEdit*>(Control(id::kTempo));
    tempo->setFocus(Qt::OtherFocusReason);
    tempo->selectAll();
    return false;
}

void StyleDialog::OnSave() {
    if (DoSave()) OnCloseDocument();
}

void StyleDialog::OnCancel() {
    if (SaveModified()) OnCloseDocument();
}

bool StyleDialog::SaveModified() {
    if (!m_doc.IsModified()) return true;
    const std::string name = Cp1252ForDisplay(m_doc.GetTitle());
    const std::string_view pattern = kSaveChangesQuestion;
    const std::size_t at = pattern.find("%1");
    const std::string question = std::string(pattern.substr(0, at)) + name + std::string(pattern.substr(at + 2));
    switch (ShowMessage(question, kAppTitle, msgbox::YesNoCancel | msgbox::IconQuestion)) {
        case msgbox::IdYes: return m_saveCommand ? m_saveCommand() : DoSave();
        case msgbox::IdNo: return true;
        default: return false;
    }
}

void StyleDialog::OnCloseDocument() {
    m_doc.OnCloseDocument();
    if (m_closeWindow) m_closeWindow();
}
