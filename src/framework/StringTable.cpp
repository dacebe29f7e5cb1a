#include "framework/StringTable.h"

CStringTable::CStringTable() { m_strings[kIdsNoErrorMessageAvailable] = "Keine Fehlermeldung verf\xFC" "gbar."; }

std::optional<std::string> CStringTable::LoadString(unsigned id) const {
    const auto it = m_strings.find(id);
    if (it == m_strings.end()) return std::nullopt;
    return it->second;
}

namespace {
CStringTable* g_installedTable = nullptr;
}

CStringTable& AppStringTable() {
    static CStringTable builtIn;
    return g_installedTable ? *g_installedTable : builtIn;
}

void SetAppStringTable(CStringTable* table) { g_installedTable = table; }
