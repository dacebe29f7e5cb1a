#include "style/SaveOptions.h"

#include "style/KorvaneDoc.h"

const std::array<SaveOption, kSaveOptionCount>& SaveOptions() {
    using D = CKorvaneDoc;
    static const std::array<SaveOption, kSaveOptionCount> options = {{
        {"DeleteOldFile", 0, &D::m_bDeleteOldFile, 1007, "Delete old style file if name changed",
         "Delete old style file"},
        {"AdaptFilename", 1, &D::m_bAdaptFilename, 1005, "Set filename = title", "Set filename = title"},
        {"FormatFilename", 1, &D::m_bFormatFilename, 1006, "Format filename (...$)", "Format filename (...$)"},
        {kAllChannelsOptionKey, 1, &D::m_bAllChannels, 1012, "Change volume for all channels", "All channels: 0%"},
        {"DeleteOTS", 0, &D::m_bDeleteOTS, 1061, "Delete OTS settings", "Delete OTS settings"},
        {"ExportOTS", 0, &D::m_bExportOTS, 1077, "Export OTS settings", "Export OTS settings"},
        {"ImportOTS", 0, &D::m_bImportOTS, 1078, "Import OTS settings", "Import OTS settings"},
        {"DeleteCASM", 0, &D::m_bDeleteCASM, 1079, "Delete CASM section", "Delete CASM section"},
        {"ExportCASM", 0, &D::m_bExportCASM, 1080, "Export CASM section", "Export CASM section"},
        {"ImportCASM", 0, &D::m_bImportCASM, 1081, "Import CASM section", "Import CASM section"},
        {"DeleteAllCnttDefinitions", 0, &D::m_bDeleteAllCntt, 1076, "Delete \"cntt\" data from CASM section",
         "Delete \"cntt\" data from CASM section"},
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

bool ReadSaveOption(const CProfile& profile, const SaveOption& option) {
    return profile.GetProfileInt(kSettingsSection, option.key, option.defaultValue) != 0;
}
