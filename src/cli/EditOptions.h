// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "cli/OptionTable.h"
#include "document/EditRules.h"

class CKorvaneDoc;

// The edits that save, render and play take alike, so a user hears an edit before
// saving it: --tempo, --time-signature, --volume CH=V, --percent P.
struct EditRequest {
    std::optional<int> tempo;
    std::optional<std::pair<int, int>> timeSignature;
    std::map<int, int> volumes;  // channel 1-16 to volume
    std::optional<int> percent;
};

// The heading of the edits in the help, and their name in a usage line ("[EDITS]").
inline constexpr std::string_view kEditsGroup = "Edits";

// The edits' options, each setting its part of request.
void AddEditOptions(OptionTable& options, EditRequest& request);
// The usage problem of edits that exclude each other.
std::optional<std::string> CheckEditRequest(const EditRequest& request);
// Applies the edits through the same rules as the form; a value the style does not
// have is refused.
EditRefusal ApplyEditRequest(const EditRequest& request, CKorvaneDoc& doc);

// A whole number in range; nothing for any other text.
std::optional<int> NumberIn(std::string_view text, const ValueRange& range);
// "0 to 250", or with separator "-", "1-16".
std::string RangeText(const ValueRange& range, std::string_view separator = " to ");
