// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/TempoField.h"

#include "msg/FillIn.h"
#include "msg/StyleMessages.h"

std::string TempoDoesNotFitText(int bpm) {
    return FillIn(style_messages::kTempoDoesNotFit, {std::to_string(bpm), std::to_string(kSlowestStorableTempo)});
}
