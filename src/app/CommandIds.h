// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command ids of the menus and keys.
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_CLOSE = 57602;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;  // "Last File", then the recent files
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_WINDOW_CASCADE = 57650;
inline constexpr int ID_WINDOW_TILE = 57651;
inline constexpr int ID_HELP = 57670;
inline constexpr int ID_FILE_SETTINGS = 32772;
// The Play menu; its section entries are numbered from ID_PLAY_SECTION_FIRST.
inline constexpr int ID_PLAY_MENU = 32780;
inline constexpr int ID_PLAY_PLAY = 32781;
inline constexpr int ID_PLAY_STOP = 32782;
inline constexpr int ID_PLAY_SOUNDFONT = 32783;
inline constexpr int ID_PLAY_CHORDS = 32784;
inline constexpr int ID_PLAY_SYNC_START = 32785;
inline constexpr int ID_PLAY_SECTION_FIRST = 32790;
