#include "framework/StringTable.h"

#include "framework/Installable.h"

CStringTable::CStringTable() { m_strings[kIdsNoErrorMessageAvailable] = "Keine Fehlermeldung verf\xFCgbar."; }

std::optional<std::string> CStringTable::LoadString(unsigned id) const {
    const auto it = m_strings.find(id);
    if (it == m_strings.end()) return std::nullopt;
    return it->second;
}

using StringTableService = Installable<CStringTable, CStringTable>;

CStringTable& AppStringTable() { return StringTableService::Current(); }

void SetAppStringTable(CStringTable* table) { StringTableService::Install(table); }
