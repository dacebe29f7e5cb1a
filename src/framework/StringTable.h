// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// Framework string ids that the program's own code refers to.
inline constexpr unsigned kIdsNoErrorMessageAvailable = 61472;

// The framework's texts by number, in code page 1252.
class CStringTable {
public:
    // The text for id, or nothing when the table has no such entry.
    std::optional<std::string> LoadString(unsigned id) const;
};

CStringTable& AppStringTable();
