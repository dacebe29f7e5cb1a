// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/Profile.h"

#include "framework/Installable.h"

int CMemoryProfile::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const {
    const auto it = m_values.find(Key{section, entry});
    if (it == m_values.end()) return defaultValue;
    if (const int* value = std::get_if<int>(&it->second)) return *value;
    return defaultValue;
}

bool CMemoryProfile::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
    m_values[Key{section, entry}] = value;
    return true;
}

std::string CMemoryProfile::GetProfileString(std::string_view section, std::string_view entry,
                                             std::string_view defaultValue) const {
    const auto it = m_values.find(Key{section, entry});
    if (it == m_values.end()) return std::string(defaultValue);
    if (const std::string* value = std::get_if<std::string>(&it->second)) return *value;
    return std::to_string(std::get<int>(it->second));
}

bool CMemoryProfile::WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) {
    m_values[Key{section, entry}] = std::string(value);
    return true;
}

using ProfileService = Installable<CProfile, CMemoryProfile>;

CProfile& AppProfile() { return ProfileService::Current(); }

void SetAppProfile(CProfile* profile) { ProfileService::Install(profile); }
