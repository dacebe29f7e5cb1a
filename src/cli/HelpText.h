// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "cli/OptionTable.h"

// The help is laid out as GNU programs lay out theirs, so that help2man makes the manual
// page from it: lines of at most 79 characters, an entry's text from column 27.
inline constexpr std::size_t kHelpWidth = 79;
inline constexpr std::size_t kHelpTextColumn = 26;

// text wrapped at its spaces into lines after lead: the first line starts after lead,
// which is padded to indent (a longer lead gets a line of its own), the others are
// indented by indent. Ends with a line feed.
std::string Wrapped(std::string_view lead, std::string_view text, std::size_t indent = kHelpTextColumn);

// The entries of the options of group, in the table's order: "  --tempo BPM" and what
// the option does.
std::string OptionEntries(const OptionTable& options, std::string_view group);
