// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The application's title: the main window's caption, the caption of the form's
// messages, and the name under which the settings are kept.
inline constexpr const char* kAppTitle = "Korvane - Yamaha Styles bearbeiten";
