#pragma once

#include <string>

// The texts the style engine reports, exactly as the user sees them. "%x" stands for
// an offset into the file image, written in lower-case hexadecimal.
namespace style_messages {

inline constexpr const char* kErrorOpening =
    "Error opening style file!\n\n(Please check if file is in use by another application.)";
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
inline constexpr const char* kMissingTitle = "Invalid file structure!\n\n(Missing style title.)";
inline constexpr const char* kMissingSff1 = "Invalid file structure!\n\n(Missing 'SFF1' marker.)";
inline constexpr const char* kEmptyTitle = "File title may not be empty!";

inline constexpr const char* kErrorWritingStyle =
    "Error creating/writing style file!\n\n(Please check if file is write protected.)";
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
// The style was written, but the file it was loaded from could not be removed or
// renamed afterwards.
inline constexpr const char* kErrorRemovingOldFile =
    "The style was saved, but the old style file could not be deleted or renamed.";

// A save would take the place of another file under the name the naming options
// chose; fileName is the existing file's name.
inline std::string TargetExistsText(const std::string& fileName) {
    return "The file \"" + fileName + "\" already exists!\n\n(Saving would replace another file; nothing was saved.)";
}

// The editor asks before a save takes the place of another file.
inline std::string ReplaceExistingQuestion(const std::string& fileName) {
    return "The file \"" + fileName + "\" already exists!\n\nDo you want to replace it with this style?";
}

}  // namespace style_messages
