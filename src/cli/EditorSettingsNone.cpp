// SPDX-License-Identifier: GPL-3.0-or-later
// A build without Qt (the sanitizer's and the fuzzer's) has no settings store.
#include "cli/EditorSettings.h"

std::unique_ptr<CProfile> OpenEditorSettings(std::string&) { return nullptr; }
