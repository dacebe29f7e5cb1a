// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

#include "framework/ControlIds.h"
#include "framework/Profile.h"

class CKorvaneDoc;

// One of the eleven options that steer a save: where it is stored, its default, the
// document member that holds it, and the check box that shows it in the Settings
// dialog and in the style form (the same control id in both).
struct SaveOption {
    std::string_view key;  // entry in section "Settings"; also the companion's -o NAME
    int defaultValue;
    bool CKorvaneDoc::*member;
    int controlId;
    std::string_view settingsText;  // the Settings dialog's check box
    std::string_view formText;      // the style form's check box
};

inline constexpr std::size_t kSaveOptionCount = 11;
// The one option that is no save option in the narrow sense: it chooses how volumes
// are edited, so the companion sets it through its volume edits.
inline constexpr std::string_view kAllChannelsOptionKey = "AllChannels";

// In the order the settings are read and written.
const std::array<SaveOption, kSaveOptionCount>& SaveOptions();

// The order of the eleven check boxes on screen, which is also their tab order: the
// Settings dialog and the style form list them alike.
inline constexpr std::array<int, kSaveOptionCount> kSaveOptionTabOrder = {
    option_id::kAdaptFilename, option_id::kFormatFilename, option_id::kDeleteOldFile, option_id::kDeleteAllCntt,
    option_id::kDeleteOTS,     option_id::kExportOTS,      option_id::kImportOTS,     option_id::kDeleteCASM,
    option_id::kExportCASM,    option_id::kImportCASM,     option_id::kAllChannels};

// The option with this settings key or control id; nullptr when there is none.
const SaveOption* FindSaveOption(std::string_view key);
const SaveOption* FindSaveOption(int controlId);
// The option's place in SaveOptions(), where a dialog keeps its value.
std::size_t IndexOf(const SaveOption& option);

// A stored option is on when it holds any number but 0; a value written by hand that
// is not a number reads as the option's default.
bool ReadSaveOption(const CProfile& profile, const SaveOption& option);
