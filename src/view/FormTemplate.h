// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>
#include <cstddef>
#include <vector>

#include "document/SaveOptions.h"
#include "format/StyleNames.h"
#include "framework/ControlIds.h"

// Dialog template 102, the style form: every control with its id (form_id and, for the
// option boxes, option_id), kind, text and place in dialog units, in template order,
// which is also the tab order.

namespace form_id {
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
