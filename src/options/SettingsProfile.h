// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "framework/AppTitle.h"
#include "framework/Profile.h"

inline constexpr const char* kSettingsOrganization = "Talvenhorn";
inline constexpr const char* kSettingsApplication = kAppTitle;

// The program's settings, kept between runs in the user's native settings store:
// on Windows the registry key HKEY_CURRENT_USER\Software\Talvenhorn\Korvane - Yamaha
// Styles bearbeiten, on Linux "$XDG_CONFIG_HOME/Talvenhorn/Korvane - Yamaha Styles
// bearbeiten.conf". A section is a group, an entry a key; numbers are stored as
// numbers and texts as strings.
class CSettingsProfile : public CProfile {
public:
    CSettingsProfile();
    // A store in the given INI file instead, for tests.
    explicit CSettingsProfile(const QString& iniFile);

    // A stored value that is not a number reads as the default.
    int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const override;
    bool WriteProfileInt(std::string_view section, std::string_view entry, int value) override;
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue) const override;
    bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) override;
    void DeferWrites(bool defer) override;

    QSettings& Settings() { return *m_settings; }

private:
    void StoreUnlessDeferred();

    std::unique_ptr<QSettings> m_settings;
    bool m_deferred = false;
};
