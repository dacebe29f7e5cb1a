// SPDX-License-Identifier: GPL-3.0-or-later
// The module's side: what korvane-settings exports.
#include "options/SettingsModule.h"

#include "options/SettingsProfile.h"

extern "C" __attribute__((visibility("default"))) CProfile* KorvaneOpenSettings() { return new CSettingsProfile(); }
