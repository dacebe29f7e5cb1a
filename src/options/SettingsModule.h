// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/Profile.h"

// The stored settings as a module of their own (korvane-settings), for korvane-cli where
// Qt is a shared library: only save, render and play read the settings, and loading Qt
// at every start would make each info call several times slower. The module hands out
// the store through this function; the caller owns it, and the module stays loaded.
inline constexpr const char* kSettingsModuleName = "korvane-settings";
inline constexpr const char* kOpenSettingsSymbol = "KorvaneOpenSettings";
using OpenSettingsFunction = CProfile* (*)();
