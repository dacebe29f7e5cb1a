// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/FormTemplate.h"

#include "document/SaveOptions.h"

namespace {

QString OptionText(int id) { return QString::fromUtf8(FindSaveOption(id)->formText); }

// Mul-div rounding of the dialog manager: to the nearest pixel, halves away from zero.
int Scale(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    return static_cast<int>((product >= 0 ? product + divisor / 2 : product - divisor / 2) / divisor);
}

void AddChannelGrid(std::vector<FormControl>& controls) {
    for (int k = 0; k < kChannelCount; ++k) {
        const int column = k / 4;
        const int row = k % 4;
        const QString channel = QString("Channel %1 volume").arg(k + 1);
        controls.push_back({form_id::kFirstChannelVolume + k,
                            ControlKind::NumberEdit,
                            {},
                            QRect(32 + 53 * column, 160 + 13 * row, 18, 12),
                            channel});
        controls.push_back({form_id::kFirstChannelSpin + k,
                            ControlKind::UpDown,
                            {},
                            QRect(49 + 53 * column, 160 + 13 * row, 10, 12),
                            channel + " arrows"});
        controls.push_back({form_id::kFirstChannelLabel + k,
                            ControlKind::Label,
                            "_____",
                            QRect(10 + 53 * column, 163 + 13 * row, 21, 8),
                            {}});
    }
}

std::vector<FormControl> BuildTemplate() {
    using K = ControlKind;
    namespace id = form_id;
    std::vector<FormControl> c = {
        {id::kTitle, K::TextEdit, {}, QRect(39, 4, 88, 14), "Title"},
        {id::kCopyright, K::TextEdit, {}, QRect(39, 19, 88, 14), "Copyright"},
        {option_id::kAdaptFilename, K::OptionBox, OptionText(option_id::kAdaptFilename), QRect(39, 35, 73, 10), {}},
        {option_id::kFormatFilename, K::OptionBox, OptionText(option_id::kFormatFilename), QRect(39, 46, 81, 10), {}},
        {option_id::kDeleteOldFile, K::OptionBox, OptionText(option_id::kDeleteOldFile), QRect(39, 57, 75, 10), {}},
        {option_id::kDeleteAllCntt, K::OptionBox, OptionText(option_id::kDeleteAllCntt), QRect(39, 68, 135, 10), {}},
        {option_id::kDeleteOTS, K::OptionBox, OptionText(option_id::kDeleteOTS), QRect(39, 79, 79, 10), {}},
        {option_id::kExportOTS, K::OptionBox, OptionText(option_id::kExportOTS), QRect(39, 90, 79, 10), {}},
        {option_id::kImportOTS, K::OptionBox, OptionText(option_id::kImportOTS), QRect(39, 101, 78, 10), {}},
        {option_id::kDeleteCASM, K::OptionBox, OptionText(option_id::kDeleteCASM), QRect(135, 79, 83, 10), {}},
        {option_id::kExportCASM, K::OptionBox, OptionText(option_id::kExportCASM), QRect(135, 90, 83, 10), {}},
        {option_id::kImportCASM, K::OptionBox, OptionText(option_id::kImportCASM), QRect(135, 101, 82, 10), {}},
        {id::kTempo, K::NumberEdit, {}, QRect(39, 114, 18, 12), "Tempo"},
        {id::kTempoSpin, K::UpDown, {}, QRect(56, 114, 10, 12), "Tempo arrows"},
        {id::kNumerator, K::NumberEdit, {}, QRect(106, 114, 18, 12), "Measure numerator"},
        {id::kNumeratorSpin, K::UpDown, {}, QRect(122, 114, 10, 12), "Measure numerator arrows"},
        {id::kDenominator, K::NumberEdit, {}, QRect(143, 114, 18, 12), "Measure denominator"},
        {id::kDenominatorSpin, K::UpDown, {}, QRect(159, 114, 10, 12), "Measure denominator arrows"},
        {option_id::kAllChannels, K::OptionBox, OptionText(option_id::kAllChannels), QRect(10, 141, 65, 10), {}},
        {id::kSlider, K::Trackbar, {}, QRect(74, 134, 126, 25), "All channels percentage"},
        {id::kSave, K::DefaultButton, "Save", QRect(57, 219, 50, 14), {}},
        {id::kCancel, K::Button, "Cancel", QRect(120, 219, 50, 14), {}},
        {id::kNone, K::Label, "Title:", QRect(3, 7, 16, 8), {}},
        {id::kNone, K::Label, "Tempo:", QRect(3, 116, 25, 8), {}},
        {id::kNone, K::Label, "Measure:", QRect(73, 116, 30, 8), {}},
        {id::kNone, K::GroupBox, "Volume", QRect(5, 129, 218, 87), {}},
        {id::kNone, K::Label, "200%", QRect(200, 142, 18, 8), {}},
        {id::kTitleLength, K::ValueLabel, "____", QRect(131, 6, 17, 8), "Title length"},
    };
    AddChannelGrid(c);
    c.push_back({id::kNone, K::GroupBox, "Main", QRect(134, 21, 92, 20), {}});
    const char* const mainNames[] = {"A", "B", "C", "D"};
    for (int i = 0; i < 4; ++i) {
        c.push_back({id::Section(i), K::SectionBox, mainNames[i], QRect(140 + 21 * i, 29, 18, 10),
                     QString("Main %1").arg(mainNames[i])});
    }
    c.push_back({id::kNone, K::Label, "Copyright:", QRect(3, 22, 32, 8), {}});
    c.push_back({id::kNone, K::GroupBox, "Intro", QRect(157, 0, 69, 20), {}});
    for (int i = 0; i < 3; ++i) {
        c.push_back({id::Section(4 + i), K::SectionBox, QString::number(i + 1), QRect(161 + 21 * i, 8, 18, 10),
                     QString("Intro %1").arg(i + 1)});
    }
    c.push_back({id::kNone, K::GroupBox, "End", QRect(157, 42, 69, 20), {}});
    for (int i = 0; i < 3; ++i) {
        c.push_back({id::Section(7 + i), K::SectionBox, QString::number(i + 1), QRect(161 + 21 * i, 50, 18, 10),
                     QString("Ending %1").arg(i + 1)});
    }
    c.push_back({id::kNone, K::Label, "/", QRect(135, 116, 8, 8), {}});
    return c;
}

}  // namespace

int form_id::Section(std::size_t section) {
    const int i = static_cast<int>(section);
    if (i < 4) return kFirstMainSection + i;
    if (i < 7) return kFirstIntroSection + (i - 4);
    return kFirstEndingSection + (i - 7);
}

const std::vector<FormControl>& StyleFormTemplate() {
    static const std::vector<FormControl> controls = BuildTemplate();
    return controls;
}

QRect DialogUnitsToPixels(const QRect& units, DialogBaseUnits base) {
    return QRect(Scale(units.x(), base.x, 4), Scale(units.y(), base.y, 8), Scale(units.width(), base.x, 4),
                 Scale(units.height(), base.y, 8));
}

QSize DialogUnitsToPixels(const QSize& units, DialogBaseUnits base) {
    return QSize(Scale(units.width(), base.x, 4), Scale(units.height(), base.y, 8));
}
