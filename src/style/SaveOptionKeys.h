#pragma once

#include <string_view>

#include "framework/Profile.h"

// The stored save options: section, names and defaults. Every new document copies
// them; the settings dialog writes them.
inline constexpr std::string_view kSettingsSection = "Settings";

struct SaveOptionKey {
    std::string_view name;
    int defaultValue;
};

inline constexpr SaveOptionKey kDeleteOldFileKey{"DeleteOldFile", 0};
inline constexpr SaveOptionKey kFormatFilenameKey{"FormatFilename", 1};
inline constexpr SaveOptionKey kAdaptFilenameKey{"AdaptFilename", 1};
inline constexpr SaveOptionKey kDeleteOTSKey{"DeleteOTS", 0};
inline constexpr SaveOptionKey kExportOTSKey{"ExportOTS", 0};
inline constexpr SaveOptionKey kImportOTSKey{"ImportOTS", 0};
inline constexpr SaveOptionKey kDeleteAllCnttKey{"DeleteAllCnttDefinitions", 0};
inline constexpr SaveOptionKey kExportCASMKey{"ExportCASM", 0};
inline constexpr SaveOptionKey kImportCASMKey{"ImportCASM", 0};
inline constexpr SaveOptionKey kDeleteCASMKey{"DeleteCASM", 0};
inline constexpr SaveOptionKey kAllChannelsKey{"AllChannels", 1};

// A stored option is on when it holds any number but 0; a value written by hand that
// is not a number reads as the option's default.
inline bool ReadSaveOption(const CProfile& profile, const SaveOptionKey& key) {
    return profile.GetProfileInt(kSettingsSection, key.name, key.defaultValue) != 0;
}
