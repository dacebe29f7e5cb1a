// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/StyleDialog.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>
#include <QValidator>
#include <algorithm>
#include <utility>
#include <vector>

#include "document/EditRules.h"
#include "document/KorvaneDoc.h"
#include "framework/qt/QtText.h"
#include "view/DataExchange.h"
#include "view/FormRules.h"
#include "view/FormTemplate.h"
#include "view/UpDown.h"

namespace id = form_id;

namespace {

// The dialog manager's base units of a font: the average width of the Latin letters
// and the line height.
DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {(letters / 26 + 1) / 2, metrics.height()};
}

// What a number field takes: the digits 0 to 9, nothing else. One for every field of
// the form: a regular expression per field would be compiled for each.
class CDigitsOnly : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        for (const QChar c : input) {
            if (c < u'0' || c > u'9') return Invalid;
        }
        return Acceptable;
    }
};

bool HasFixedText(ControlKind kind) {
    switch (kind) {
        case ControlKind::OptionBox:
        case ControlKind::SectionBox:
        case ControlKind::DefaultButton:
        case ControlKind::Button:
        case ControlKind::Label: return true;
        default: return false;
    }
}

// The template was drawn for a narrower font and smaller check marks than most
// desktops have: the base units grow until every fixed text fits its control, so the
// form keeps its proportions and cuts no text.
DialogBaseUnits BaseUnitsFitting(const std::vector<std::pair<QWidget*, const FormControl*>>& placed,
                                 const QFont& font) {
    DialogBaseUnits base = BaseUnitsOf(font);
    for (const auto& [widget, control] : placed) {
        if (!HasFixedText(control->kind)) continue;
        const int units = control->dialogUnits.width();
        base.x = std::max(base.x, (widget->sizeHint().width() * 4 + units - 1) / units);
    }
    return base;
}

QString PercentText(const QSlider* slider) { return QString("%1%").arg(slider->value()); }

// The slider's text never changes, so the percentage is shown beside the handle while
// it moves, and stays the slider's tool tip.
void ShowPercentBesideHandle(QSlider* slider) {
    const QString percent = PercentText(slider);
    slider->setToolTip(percent);
    if (!slider->isSliderDown() && !slider->hasFocus()) return;
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
    QToolTip::showText(slider->mapToGlobal(handle.topRight()), percent, slider);
}

// A label has no text of its own for a screen reader to read: the counter says its
// number in its name.
QString TitleLengthName(qsizetype length) {
    static const QString base = [] {
        for (const FormControl& control : StyleFormTemplate()) {
            if (control.id == form_id::kTitleLength) return control.accessibleName;
        }
        return QString();
    }();
    return QString("%1: %2").arg(base).arg(length);
}

}  // namespace

StyleDialog::StyleDialog(CKorvaneDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_digitsOnly(new CDigitsOnly(this)) {
    CreateControls();
    ConnectHandlers();
}

void StyleDialog::CreateControls() {
    std::vector<std::pair<QWidget*, const FormControl*>> placed;
    QLineEdit* lastEdit = nullptr;
    for (const FormControl& control : StyleFormTemplate()) {
        QWidget* widget = CreateControl(control, lastEdit);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) lastEdit = edit;
        placed.emplace_back(widget, &control);
        widget->setAccessibleName(control.accessibleName.isEmpty() ? control.text : control.accessibleName);
        if (control.kind == ControlKind::UpDown) static_cast<CUpDown*>(widget)->NameArrowsAfterBuddy();
        if (control.id != id::kNone) {
            widget->setObjectName(QString::number(control.id));
            m_controls[control.id] = widget;
        }
    }
    const DialogBaseUnits base = BaseUnitsFitting(placed, font());
    for (const auto& [widget, control] : placed) widget->setGeometry(DialogUnitsToPixels(control->dialogUnits, base));
    setFixedSize(DialogUnitsToPixels(kStyleFormDialogUnits, base));
    // A group box only frames the controls inside it; beneath them it takes none of
    // their clicks.
    for (QGroupBox* group : findChildren<QGroupBox*>()) group->lower();

    m_slider = static_cast<QSlider*>(Control(id::kSlider));
    for (int channel = 0; channel < kChannelCount; ++channel) {
        m_channelSpins[channel] = static_cast<CUpDown*>(Control(id::kFirstChannelSpin + channel));
        m_channelSpins[channel]->SetRange(kVolumeRange);
        // The field keeps its own name; a screen reader reads the part beside it too.
        static_cast<QLabel*>(Control(id::kFirstChannelLabel + channel))
            ->setBuddy(Control(id::kFirstChannelVolume + channel));
    }
    static_cast<CUpDown*>(Control(id::kTempoSpin))->SetRange(kTempoRange);
    static_cast<CUpDown*>(Control(id::kNumeratorSpin))->SetRange(kTimeSignatureRange);
    static_cast<CUpDown*>(Control(id::kDenominatorSpin))->SetRange(kTimeSignatureRange);
}

// One control of the template; arrows belong to the number field just before them.
QWidget* StyleDialog::CreateControl(const FormControl& control, QLineEdit* lastEdit) {
    switch (control.kind) {
        case ControlKind::TextEdit: return new QLineEdit(this);
        case ControlKind::NumberEdit: {
            auto* edit = new QLineEdit(this);
            edit->setValidator(m_digitsOnly);
            return edit;
        }
        case ControlKind::UpDown: return new CUpDown(lastEdit, this);
        case ControlKind::OptionBox: return new QCheckBox(control.text, this);
        case ControlKind::SectionBox: {
            auto* indicator = new QCheckBox(control.text, this);
            indicator->setEnabled(false);
            return indicator;
        }
        case ControlKind::Trackbar: {
            auto* slider = new QSlider(Qt::Horizontal, this);
            slider->setRange(kPercentRange.low, kPercentRange.high);
            slider->setTickPosition(QSlider::TicksBothSides);
            slider->setTickInterval(20);
            slider->setPageStep((kPercentRange.high - kPercentRange.low) / 5);
            return slider;
        }
        case ControlKind::DefaultButton:
        case ControlKind::Button: {
            auto* button = new QPushButton(control.text, this);
            button->setDefault(control.kind == ControlKind::DefaultButton);
            return button;
        }
        case ControlKind::Label:
        case ControlKind::ValueLabel: return new QLabel(control.text, this);
        case ControlKind::GroupBox: return new QGroupBox(control.text, this);
    }
    return new QWidget(this);
}

void StyleDialog::ConnectHandlers() {
    for (const int textId : {id::kTitle, id::kCopyright}) {
        connect(Edit(textId), &QLineEdit::textChanged, this, [this] { OnTextChanged(); });
    }
    for (const int valueId : {id::kTempo, id::kNumerator, id::kDenominator}) {
        connect(Edit(valueId), &QLineEdit::textChanged, this, [this] { OnValueChanged(); });
    }
    for (int channel = 0; channel < kChannelCount; ++channel) {
        connect(Edit(id::kFirstChannelVolume + channel), &QLineEdit::textChanged, this, [this] { OnValueChanged(); });
    }
    // toggled, not clicked: an assistive technology ticks a box through toggle(),
    // which emits no click. The form's own writes come while no handler is ready.
    for (const SaveOption& option : SaveOptions()) {
        connect(CheckBox(option.controlId), &QCheckBox::toggled, this, [this, &option] { OnOptionToggled(option); });
    }
    connect(m_slider, &QSlider::valueChanged, this, [this](int position) { OnHScroll(position); });
    connect(m_slider, &QSlider::valueChanged, this, [this] { ShowAllChannelsPercent(); });
    connect(static_cast<QPushButton*>(Control(id::kSave)), &QPushButton::clicked, this, [this] { OnSave(); });
    connect(static_cast<QPushButton*>(Control(id::kCancel)), &QPushButton::clicked, this, [this] { OnCancel(); });
}

QWidget* StyleDialog::Control(int controlId) const {
    const auto it = m_controls.find(controlId);
    return it != m_controls.end() ? it->second : nullptr;
}

QLineEdit* StyleDialog::Edit(int controlId) const { return static_cast<QLineEdit*>(Control(controlId)); }

QCheckBox* StyleDialog::CheckBox(int controlId) const { return static_cast<QCheckBox*>(Control(controlId)); }

void StyleDialog::OnInitialUpdate() {
    if (QWidget* frame = parentWidget()) frame->setFixedSize(frame->sizeHint());
    OnUpdate();
    m_initialUpdateDone = true;
}

void StyleDialog::OnUpdate() {
    m_strTitle = QStringFromCp1252(m_doc.m_strStyleTitle);
    m_strCopyright = QStringFromCp1252(m_doc.m_strCopyright);
    for (const SaveOption& option : SaveOptions()) Option(option) = m_doc.*option.member ? 1 : 0;
    m_nTempo = m_nTempoAsLoaded = m_doc.m_nTempo;
    m_nNumerator = m_doc.m_nTimeSigNumerator;
    m_nDenominator = m_doc.m_nTimeSigDenominator;
    m_nVolume = m_doc.m_nVolume;
    for (int section = 0; section < kFormSectionCount; ++section) m_bSection[section] = m_doc.m_bSection[section];
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setValue(m_doc.m_nAllChannelsPercent);
    }

    for (const SaveOption& option : SaveOptions()) {
        CheckBox(option.controlId)->setEnabled(IsOptionEnabled(m_doc, option.controlId));
    }
    const bool hasTempo = HasTempo(m_doc);
    const bool hasTimeSignature = HasTimeSignature(m_doc);
    for (const int tempoId : {id::kTempo, id::kTempoSpin}) Control(tempoId)->setVisible(hasTempo);
    for (const int measureId : {id::kNumerator, id::kNumeratorSpin, id::kDenominator, id::kDenominatorSpin}) {
        Control(measureId)->setVisible(hasTimeSignature);
    }
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const bool hasVolume = HasChannelVolume(m_doc, channel);
        for (const int channelId : {id::kFirstChannelVolume, id::kFirstChannelSpin, id::kFirstChannelLabel}) {
            Control(channelId + channel)->setVisible(hasVolume);
        }
    }
    ApplyEnableRule();
    UpdateData(false);
    ShowAllChannelsPercent();
    // A text longer than its field is shown from its start, not scrolled to its end.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->setCursorPosition(0);
}

bool StyleDialog::UpdateData(bool saveAndValidate) {
    m_exchangeRunning = true;
    CDataExchange dx(saveAndValidate);
    DoDataExchange(dx);
    m_exchangeRunning = false;
    return !dx.Failed();
}

void StyleDialog::DoDataExchange(CDataExchange& dx) {
    dx.Text(Edit(id::kTitle), m_strTitle);
    dx.Number(Edit(id::kTempo), m_nTempo, kTempoRange, HasTempo(m_doc));
    dx.Number(Edit(id::kNumerator), m_nNumerator, kTimeSignatureRange, HasTimeSignature(m_doc));
    dx.Number(Edit(id::kDenominator), m_nDenominator, kTimeSignatureRange, HasTimeSignature(m_doc));
    dx.Text(Edit(id::kCopyright), m_strCopyright);
    for (const SaveOption& option : SaveOptions()) dx.Check(CheckBox(option.controlId), Option(option));
    for (int channel = 0; channel < kChannelCount; ++channel) {
        dx.Number(Edit(id::kFirstChannelVolume + channel), m_nVolume[channel], kVolumeRange,
                  HasChannelVolume(m_doc, channel));
    }
    for (int section = 0; section < kFormSectionCount; ++section) {
        dx.Check(CheckBox(id::Section(section)), m_bSection[section]);
    }
    if (!dx.m_bSaveAndValidate && !dx.Failed()) {
        auto* titleLength = static_cast<QLabel*>(Control(id::kTitleLength));
        titleLength->setText(QString("[%1]").arg(m_strTitle.size()));
        titleLength->setAccessibleName(TitleLengthName(m_strTitle.size()));
        for (int channel = 0; channel < kChannelCount; ++channel) {
            // A screen reader reads what the label shows.
            auto* label = static_cast<QLabel*>(Control(id::kFirstChannelLabel + channel));
            label->setText(QStringFromCp1252(m_doc.m_strChannelLabel[channel]));
            if (label->accessibleName() != label->text()) label->setAccessibleName(label->text());
        }
    }
}

// "All channels: 0%" keeps its text on screen; a screen reader also hears the
// percentage the slider stands at.
void StyleDialog::ShowAllChannelsPercent() {
    ShowPercentBesideHandle(m_slider);
    CheckBox(id::kAllChannels)
        ->setAccessibleDescription(QString("Set to %1 of the volumes as found").arg(PercentText(m_slider)));
}

void StyleDialog::ApplyEnableRule() {
    const bool allChannels = Option(*FindSaveOption(id::kAllChannels)) != 0;
    m_slider->setEnabled(allChannels);
    for (int channel = 0; channel < kChannelCount; ++channel) {
        Control(id::kFirstChannelVolume + channel)->setEnabled(!allChannels);
        m_channelSpins[channel]->setEnabled(!allChannels);
    }
}
