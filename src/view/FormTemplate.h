// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>
#include <cstddef>
#include <vector>

#include "style/SaveOptions.h"
#include "style/StyleNames.h"

// Dialog template 102, the style form: every control with its id, kind, text and
// place in dialog units, in template order, which is also the tab order. The option
// boxes have the ids of option_id.

namespace form_id {
inline constexpr int kSave = 1001;
inline constexpr int kCancel = 1002;
inline constexpr int kTitle = 1003;
inline constexpr int kTitleLength = 1004;
inline constexpr int kTempo = 1008;
inline constexpr int kTempoSpin = 1009;
inline constexpr int kNumerator = 1010;
inline constexpr int kSlider = 1011;
inline constexpr int kAllChannels = option_id::kAllChannels;
inline constexpr int kFirstChannelLabel = 1013;
inline constexpr int kFirstChannelVolume = 1029;
inline constexpr int kFirstChannelSpin = 1045;
inline constexpr int kNumeratorSpin = 1062;
inline constexpr int kCopyright = 1067;
inline constexpr int kDenominator = 1074;
inline constexpr int kDenominatorSpin = 1075;
inline constexpr int kNone = -1;  // statics and group boxes without an id

// The indicator of section i in the document's order (Main A-D, Intro A-C, Ending A-C).
int Section(std::size_t section);
}  // namespace form_id

enum class ControlKind {
    TextEdit,    // title, copyright
    NumberEdit,  // digits only
    UpDown,      // arrows of the number field just before it
    OptionBox,   // one of the eleven save options
    SectionBox,  // disabled indicator of a section the style has
    Trackbar,    // the all-channels percentage
    DefaultButton,
    Button,
    Label,
    ValueLabel,  // a static whose text the form writes: the title length, a channel label
    GroupBox,
};

struct FormControl {
    int id;
    ControlKind kind;
    QString text;
    QRect dialogUnits;
    QString accessibleName;  // empty: the text says it
};

inline constexpr QSize kStyleFormDialogUnits{229, 235};

const std::vector<FormControl>& StyleFormTemplate();

// A font's dialog base units: its average character width and its height in pixels.
struct DialogBaseUnits {
    int x;
    int y;
};
// Dialog units to pixels, rounded as the dialog manager does: x * base.x / 4 and
// y * base.y / 8.
QRect DialogUnitsToPixels(const QRect& units, DialogBaseUnits base);
QSize DialogUnitsToPixels(const QSize& units, DialogBaseUnits base);
