// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/StringTable.h"

std::optional<std::string> CStringTable::LoadString(unsigned id) const {
    if (id == kIdsNoErrorMessageAvailable) return "Keine Fehlermeldung verf\xFCgbar.";
    return std::nullopt;
}

CStringTable& AppStringTable() {
    static CStringTable table;
    return table;
}
