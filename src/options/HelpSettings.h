// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// The settings of Help, in section "Settings": the language of its pages, asked once,
// and the folder that holds the pages, which the installation records.
inline constexpr std::string_view kLanguageEntry = "Language";
inline constexpr std::string_view kGermanLanguage = "G";
inline constexpr std::string_view kEnglishLanguage = "E";
inline constexpr std::string_view kInstallPathEntry = "InstallPath";
