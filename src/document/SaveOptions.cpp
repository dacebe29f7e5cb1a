// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/SaveOptions.h"

#include "document/KorvaneDoc.h"

const std::array<SaveOption, kSaveOptionCount>& SaveOptions() {
    using D = CKorvaneDoc;
    static const std::array<SaveOption, kSaveOptionCount> options = {{
        {"DeleteOldFile", 0, &D::m_bDeleteOldFile, option_id::kDeleteOldFile, "Delete old style file if name changed",
         "Delete old style file"},
        {"AdaptFilename", 1, &D::m_bAdaptFilename, option_id::kAdaptFilename, "Set filename = title",
         "Set filename = title"},
        {"FormatFilename", 1, &D::m_bFormatFilename, option_id::kFormatFilename, "Format filename (...$)",
         "Format filename (...$)"},
        {kAllChannelsOptionKey, 1, &D::m_bAllChannels, option_id::kAllChannels, "Change volume for all channels",
         "All channels: 0%"},
        {"DeleteOTS", 0, &D::m_bDeleteOTS, option_id::kDeleteOTS, "Delete OTS settings", "Delete OTS settings"},
        {"ExportOTS", 0, &D::m_bExportOTS, option_id::kExportOTS, "Export OTS settings", "Export OTS settings"},
        {"ImportOTS", 0, &D::m_bImportOTS, option_id::kImportOTS, "Import OTS settings", "Import OTS settings"},
        {"DeleteCASM", 0, &D::m_bDeleteCASM, option_id::kDeleteCASM, "Delete CASM section", "Delete CASM section"},
        {"ExportCASM", 0, &D::m_bExportCASM, option_id::kExportCASM, "Export CASM section", "Export CASM section"},
        {"ImportCASM", 0, &D::m_bImportCASM, option_id::kImportCASM, "Import CASM section", "Import CASM section"},
        {"DeleteAllCnttDefinitions", 0, &D::m_bDeleteAllCntt, option_id::kDeleteAllCntt,
         "Delete \"cntt\" data from CASM section", "Delete \"cntt\" data from CASM section"},
    }};
    return options;
}

const SaveOption* FindSaveOption(std::string_view key) {
    for (const SaveOption& option : SaveOptions()) {
        if (option.key == key) return &option;
    }
    return nullptr;
}

const SaveOption* FindSaveOption(int controlId) {
    for (const SaveOption& option : SaveOptions()) {
        if (option.controlId == controlId) return &option;
    }
    return nullptr;
}

std::size_t IndexOf(const SaveOption& option) { return static_cast<std::size_t>(&option - SaveOptions().data()); }

bool ReadSaveOption(const CProfile& profile, const SaveOption& option) {
    return profile.GetProfileInt(kSettingsSection, option.key, option.defaultValue) != 0;
}
