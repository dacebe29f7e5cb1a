// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

// Where the program keeps its settings: numbers and texts under a section and an
// entry name. The editor plugs in a store that persists; tests and the companion
// may plug in another one.
class CProfile {
public:
    virtual ~CProfile() = default;
    virtual int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const = 0;
    virtual bool WriteProfileInt(std::string_view section, std::string_view entry, int value) = 0;
    virtual std::string GetProfileString(std::string_view section, std::string_view entry,
                                         std::string_view defaultValue) const = 0;
    virtual bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) = 0;
    // While deferred, writes may wait; ending the deferral stores them together.
    virtual void DeferWrites(bool /*defer*/) {}
};

// Writes that belong together reach the store once, when the batch ends.
class CProfileWriteBatch {
public:
    explicit CProfileWriteBatch(CProfile& profile) : m_profile(profile) { m_profile.DeferWrites(true); }
    ~CProfileWriteBatch() { m_profile.DeferWrites(false); }
    CProfileWriteBatch(const CProfileWriteBatch&) = delete;
    CProfileWriteBatch& operator=(const CProfileWriteBatch&) = delete;

private:
    CProfile& m_profile;
};

// Keeps the settings for the lifetime of the process only.
class CMemoryProfile : public CProfile {
public:
    int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const override;
    bool WriteProfileInt(std::string_view section, std::string_view entry, int value) override;
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue) const override;
    bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) override;

private:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, std::variant<int, std::string>, std::less<>> m_values;
};

// The one section that holds every setting of the program: the save options, the
// language, the help folder and the main window's placement.
inline constexpr std::string_view kSettingsSection = "Settings";

// The application's settings store. Until the front end installs one, an in-memory
// store answers; installing nullptr returns to it.
CProfile& AppProfile();
void SetAppProfile(CProfile* profile);
