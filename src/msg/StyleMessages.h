// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

// Every text the style engine and its edit rules show, exactly as the user sees it,
// in one table that the code and the help-page test both read. "%x" stands for an
// offset into the file image, written in lower-case hexadecimal; "%s" for a value
// filled in by FillIn (msg/FillIn.h), in order.
namespace style_messages {

inline constexpr const char* kErrorOpening =
    "Error opening style file!\n\n(Please check if file is in use by another application.)";
// The same where the system says why the file did not open: the cause in place of the
// hint, which would send the user looking for another program.
inline constexpr const char* kErrorOpeningNotFound = "Error opening style file!\n\n(The file was not found.)";
inline constexpr const char* kErrorOpeningFolder = "Error opening style file!\n\n(It is a folder.)";
inline constexpr const char* kErrorOpeningDenied = "Error opening style file!\n\n(Permission denied.)";
inline constexpr const char* kInvalidFileSize = "Invalid file size!";
inline constexpr const char* kErrorCreatingBuffer = "Error creating internal file buffer!";
inline constexpr const char* kErrorLoadingBuffer = "Error loading file into internal buffer!";
inline constexpr const char* kInvalidHeader = "This file is not a Yamaha style file!\n\n(Invalid header.)";
inline constexpr const char* kInvalidTrackHeader = "This file is not a Yamaha style file!\n\n(Invalid track header.)";
inline constexpr const char* kInvalidStructure = "Invalid style file structure (at: 0x%x)!";
inline constexpr const char* kMissingTrackEnd =
    "Invalid style file structure (at: 0x%x)!\n\n(Missing track end marker.)";
inline constexpr const char* kMissingCseg = "Invalid CASM structure (at: 0x%x)!\n\n(Missing CSEG header.)";
inline constexpr const char* kMissingSdecCtab = "Invalid CASM structure (at: 0x%x)!\n\n(Missing Sdec/Ctab header.)";
// A channel table shorter than the fields of its kind: playback then follows no chord rules.
inline constexpr const char* kShortChannelTable = "Invalid CASM structure (at: 0x%x)!\n\n(Channel table too short.)";
// A channel table with a number that names no part, chord or rule: played without the CASM too.
inline constexpr const char* kUnknownChannelRule =
    "Invalid CASM structure (at: 0x%x)!\n\n(Unknown channel rule.)";
inline constexpr const char* kMissingTitle = "Invalid file structure!\n\n(Missing style title.)";
// Neither format marker: the file is no style of a kind Korvane edits.
inline constexpr const char* kMissingFormatMarker = "Invalid file structure!\n\n(Missing 'SFF1' or 'SFF2' marker.)";
inline constexpr const char* kEmptyTitle = "File title may not be empty!";

inline constexpr const char* kErrorWritingStyle =
    "Error creating/writing style file!\n\n(Please check if file is write protected.)";
// %s: the folder, which is not there; nothing was written.
inline constexpr const char* kFolderMissing =
    "Error creating/writing style file!\n\n(The folder \"%s\" does not exist.)";
inline constexpr const char* kErrorWritingCasm =
    "Error creating/writing CASM file!\n\n(Please check if file is write protected.)";
inline constexpr const char* kErrorOpeningCasm = "Error opening CASM file!";
inline constexpr const char* kErrorCreatingCasmBuffer = "Error creating internal CASM buffer!";
inline constexpr const char* kErrorLoadingCasm = "Error loading CASM file into internal buffer!";
inline constexpr const char* kInvalidCasmFile =
    "The CASM file doesn't contain valid CASM section!\n\n(Invalid header.)";
// Why a CASM file that begins like one is still not imported.
inline constexpr const char* kCasmFileLengthMismatch =
    "The CASM file doesn't contain valid CASM section!\n\n(Its length field does not match the file's size.)";
inline constexpr const char* kCasmFileMissingCseg =
    "The CASM file doesn't contain valid CASM section!\n\n(Missing CSEG header at: 0x%x.)";
inline constexpr const char* kCasmFileMissingSdecCtab =
    "The CASM file doesn't contain valid CASM section!\n\n(Missing Sdec/Ctab header at: 0x%x.)";
inline constexpr const char* kCasmFileForSff2 =
    "The CASM file doesn't contain valid CASM section!\n\n(Its Ctb2 records belong to SFF2 styles; this style is "
    "SFF1.)";
inline constexpr const char* kCasmFileForSff1 =
    "The CASM file doesn't contain valid CASM section!\n\n(Its Ctab records belong to SFF1 styles; this style is "
    "SFF2.)";
inline constexpr const char* kErrorWritingOts =
    "Error creating/writing OTS file!\n\n(Please check if file is write protected.)";
inline constexpr const char* kErrorOpeningOts = "Error opening OTS file!";
inline constexpr const char* kErrorCreatingOtsBuffer = "Error creating internal OTS buffer!";
inline constexpr const char* kErrorLoadingOts = "Error loading OTS file into internal buffer!";
inline constexpr const char* kInvalidOtsFile = "The OTS file doesn't contain valid OTS settings!\n\n(Invalid header.)";
inline constexpr const char* kOtsFileLengthMismatch =
    "The OTS file doesn't contain valid OTS settings!\n\n(Its length field does not match the file's size.)";
// The edits or the imported side files would give a style the load refuses.
inline constexpr const char* kSavedSizeOutOfRange =
    "The saved style would not be 48 to 200,000 bytes long!\n\n(Nothing was saved.)";
// A failed save that could not leave the file under its own name whole left its old
// or its new content under a name that says so; %s is that file's path.
inline constexpr const char* kOldFileKeptAs = "The old file was kept as \"%s\".";
inline constexpr const char* kNewFileKeptAs = "The new file was kept as \"%s\".";
// The style was written, but the file it was loaded from could not be removed or
// renamed afterwards.
inline constexpr const char* kErrorRemovingOldFile =
    "The style was saved, but the old style file could not be deleted or renamed.";

// A save would take the place of another file under the name the naming options
// chose; %s is the existing file's name.
inline constexpr const char* kTargetExists =
    "The file \"%s\" already exists!\n\n(Saving would replace another file; nothing was saved.)";
// The editor asks before a save takes the place of another file.
inline constexpr const char* kReplaceExisting =
    "The file \"%s\" already exists!\n\nDo you want to replace it with this style?";
// An edited tempo the file's three bytes cannot hold: the tempo, the slowest one that fits.
inline constexpr const char* kTempoDoesNotFit =
    "A tempo of %s cannot be stored in a style file!\n\n(The slowest tempo is %s.)";

// The edit rules' refusals.
inline constexpr const char* kNoTempo = "This style has no tempo to change.";
inline constexpr const char* kNoTimeSignature = "This style has no time signature to change.";
inline constexpr const char* kNoSuchChannel = "There is no channel %s.";
inline constexpr const char* kNoChannelVolume = "This style has no volume on channel %s to change.";
// What is out of range ("The tempo"), its lowest and highest value.
inline constexpr const char* kOutOfRange = "%s must be a whole number from %s to %s.";

// The file a save would overwrite is no longer what this document loaded (or last
// saved): somebody else has changed or replaced it since. %s is its name. The editor
// asks; the companion refuses, unless --overwrite.
inline constexpr const char* kChangedSinceOpened =
    "The file \"%s\" has been changed or replaced since it was opened!\n\nDo you want to overwrite it with this "
    "style?";
inline constexpr const char* kChangedSinceOpenedRefused =
    "The file \"%s\" has been changed or replaced since it was opened!\n\n(Saving would overwrite it; nothing was "
    "saved.)";
// The old-file step leaves a file whose content is not the one loaded.
inline constexpr const char* kChangedOldFileKept =
    "The style was saved, but the old style file \"%s\" was kept: it has been changed or replaced since it was "
    "opened.";

inline constexpr std::array kAll = {kErrorOpening,
                                    kErrorOpeningNotFound,
                                    kErrorOpeningFolder,
                                    kErrorOpeningDenied,
                                    kInvalidFileSize,
                                    kErrorCreatingBuffer,
                                    kErrorLoadingBuffer,
                                    kInvalidHeader,
                                    kInvalidTrackHeader,
                                    kInvalidStructure,
                                    kMissingTrackEnd,
                                    kMissingCseg,
                                    kMissingSdecCtab,
                                    kShortChannelTable,
                                    kUnknownChannelRule,
                                    kMissingTitle,
                                    kMissingFormatMarker,
                                    kEmptyTitle,
                                    kErrorWritingStyle,
                                    kFolderMissing,
                                    kErrorWritingCasm,
                                    kErrorOpeningCasm,
                                    kErrorCreatingCasmBuffer,
                                    kErrorLoadingCasm,
                                    kInvalidCasmFile,
                                    kCasmFileLengthMismatch,
                                    kCasmFileMissingCseg,
                                    kCasmFileMissingSdecCtab,
                                    kCasmFileForSff2,
                                    kCasmFileForSff1,
                                    kErrorWritingOts,
                                    kErrorOpeningOts,
                                    kErrorCreatingOtsBuffer,
                                    kErrorLoadingOts,
                                    kInvalidOtsFile,
                                    kOtsFileLengthMismatch,
                                    kSavedSizeOutOfRange,
                                    kOldFileKeptAs,
                                    kNewFileKeptAs,
                                    kErrorRemovingOldFile,
                                    kTargetExists,
                                    kReplaceExisting,
                                    kTempoDoesNotFit,
                                    kNoTempo,
                                    kNoTimeSignature,
                                    kNoSuchChannel,
                                    kNoChannelVolume,
                                    kOutOfRange,
                                    kChangedSinceOpened,
                                    kChangedSinceOpenedRefused,
                                    kChangedOldFileKept};

}  // namespace style_messages
