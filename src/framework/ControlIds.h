// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The ids of the dialogs' controls, all in one list. Each widget carries its id as its
// object name, so that tests and UI automation find it. The eleven save options have
// the same ids in the Settings dialog and in the style form.

namespace option_id {
inline constexpr int kAdaptFilename = 1005;
inline constexpr int kFormatFilename = 1006;
inline constexpr int kDeleteOldFile = 1007;
inline constexpr int kAllChannels = 1012;
inline constexpr int kDeleteOTS = 1061;
inline constexpr int kDeleteAllCntt = 1076;
inline constexpr int kExportOTS = 1077;
inline constexpr int kImportOTS = 1078;
inline constexpr int kDeleteCASM = 1079;
inline constexpr int kExportCASM = 1080;
inline constexpr int kImportCASM = 1081;
}  // namespace option_id

// The style form; its option boxes have the ids of option_id.
namespace form_id {
inline constexpr int kSave = 1001;
inline constexpr int kCancel = 1002;
inline constexpr int kTitle = 1003;
inline constexpr int kTitleLength = 1004;
inline constexpr int kTempo = 1008;
inline constexpr int kTempoSpin = 1009;
inline constexpr int kNumerator = 1010;
inline constexpr int kSlider = 1011;
inline constexpr int kAllChannels = option_id::kAllChannels;
inline constexpr int kFirstChannelLabel = 1013;
inline constexpr int kFirstChannelVolume = 1029;
inline constexpr int kFirstChannelSpin = 1045;
inline constexpr int kNumeratorSpin = 1062;
// The section indicators, numbered in three runs: Main A-D, Intro A-C, Ending A-C.
inline constexpr int kFirstMainSection = 1063;
inline constexpr int kCopyright = 1067;
inline constexpr int kFirstIntroSection = 1068;
inline constexpr int kFirstEndingSection = 1071;
inline constexpr int kDenominator = 1074;
inline constexpr int kDenominatorSpin = 1075;
inline constexpr int kNone = -1;  // statics and group boxes without an id
}  // namespace form_id

// "Choose Language".
namespace language_id {
inline constexpr int kGerman = 1056;
inline constexpr int kEnglish = 1057;
}  // namespace language_id
