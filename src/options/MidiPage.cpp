// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/MidiPage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QStringList>

#include "options/AppMidi.h"

namespace {

// A screen reader reads each control by these names; the labels beside them carry the keys.
const char* const kInputName = "MIDI input";
const char* const kFingeringName = "Fingering";
const char* const kSplitName = "Split point";
const char* const kOutputName = "MIDI output";
const char* const kInputLabel = "MIDI &input:";
const char* const kFingeringLabel = "&Fingering:";
const char* const kSplitLabel = "S&plit point:";
const char* const kOutputLabel = "MIDI &output:";
// The first entry of each port list: no keyboard, and the synthesizer Korvane brings.
const char* const kNoInput = "None";
const char* const kBuiltInOutput = "Built-in synthesizer";
// A stored port that no MIDI system lists now.
const char* const kAbsentPort = "%1 \u2013 not there now";

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// A key shown by its name (F#2, with C3 as MIDI note 60); typed as a name or a number.
class KeySpinBox : public QSpinBox {
public:
    explicit KeySpinBox(QWidget* parent) : QSpinBox(parent) { setRange(0, kHighestKey); }

protected:
    QString textFromValue(int value) const override { return QString::fromStdString(SplitKeyName(value)); }
    int valueFromText(const QString& text) const override { return Key(text).value_or(value()); }
    QValidator::State validate(QString& text, int&) const override {
        return Key(text) ? QValidator::Acceptable : QValidator::Intermediate;
    }

private:
    static std::optional<int> Key(const QString& text) { return ParseSplitKey(text.trimmed().toStdString()); }
};

QVariant PortData(const MidiPort& port) {
    return QStringList{QString::fromStdString(port.name), QString::fromStdString(port.system)};
}

std::optional<MidiPort> PortOf(const QComboBox& box) {
    const QStringList data = box.currentData().toStringList();
    if (data.size() != 2) return std::nullopt;
    return MidiPort{data[0].toStdString(), data[1].toStdString()};
}

QComboBox* PortBox(const char* name, const char* first, const std::vector<MidiPort>& ports, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setAccessibleName(Utf8(name));
    box->addItem(Utf8(first));
    for (const MidiPort& port : ports) box->addItem(QString::fromStdString(PortLabel(port)), PortData(port));
    return box;
}

// Chooses port, adding it to the list when no system lists it now.
void ShowPort(QComboBox& box, const std::optional<MidiPort>& port) {
    if (!port) {
        box.setCurrentIndex(0);
        return;
    }
    int index = box.findData(PortData(*port));
    if (index < 0) {
        box.addItem(Utf8(kAbsentPort).arg(QString::fromStdString(PortLabel(*port))), PortData(*port));
        index = box.count() - 1;
    }
    box.setCurrentIndex(index);
}

void AddRow(QFormLayout& form, const char* label, QWidget* control) {
    auto* text = new QLabel(Utf8(label), control->parentWidget());
    text->setBuddy(control);
    form.addRow(text, control);
}

}  // namespace

CMidiPage::CMidiPage(QWidget* parent) : QWidget(parent) {
    PlayError error;
    MidiPortList ports;
    if (const std::shared_ptr<MidiSystem> system = AppMidiSystem(error)) {
        ports = system->List();
    } else if (error) {
        ports.unreachable.push_back(*error);
    }
    m_input = PortBox(kInputName, kNoInput, ports.inputs, this);
    m_fingering = new QComboBox(this);
    m_fingering->setAccessibleName(Utf8(kFingeringName));
    for (const FingeringEntry& entry : kFingerings) {
        m_fingering->addItem(QString::fromUtf8(entry.name.data(), static_cast<qsizetype>(entry.name.size())),
                             static_cast<int>(entry.mode));
    }
    m_split = new KeySpinBox(this);
    m_split->setAccessibleName(Utf8(kSplitName));
    m_output = PortBox(kOutputName, kBuiltInOutput, ports.outputs, this);
    QStringList reasons;
    for (const std::string& line : ports.unreachable) reasons << QString::fromStdString(line);
    m_unreachable = new QLabel(reasons.join('\n'), this);
    m_unreachable->setWordWrap(true);
    m_unreachable->setVisible(!reasons.isEmpty());

    auto* form = new QFormLayout(this);
    AddRow(*form, kInputLabel, m_input);
    AddRow(*form, kFingeringLabel, m_fingering);
    AddRow(*form, kSplitLabel, m_split);
    AddRow(*form, kOutputLabel, m_output);
    form->addRow(m_unreachable);
}

void CMidiPage::Show(const MidiSettings& settings) {
    ShowPort(*m_input, settings.input);
    m_fingering->setCurrentIndex(m_fingering->findData(static_cast<int>(settings.keyboard.fingering)));
    m_split->setValue(settings.keyboard.splitKey);
    ShowPort(*m_output, settings.output);
}

MidiSettings CMidiPage::Chosen() const {
    MidiSettings settings;
    settings.input = PortOf(*m_input);
    settings.keyboard.fingering = static_cast<Fingering>(m_fingering->currentData().toInt());
    settings.keyboard.splitKey = m_split->value();
    settings.output = PortOf(*m_output);
    return settings;
}
