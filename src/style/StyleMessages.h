#pragma once

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

}  // namespace style_messages
