// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/SideFileCheck.h"

#include <string_view>

#include "format/Chunks.h"
#include "msg/StyleMessages.h"

namespace {

namespace msg = style_messages;

constexpr std::size_t kChunkHeaderSize = 8;

// The file is one chunk with this tag, no byte more or less.
bool IsOneWholeChunk(ByteView file) {
    return file.size() >= kChunkHeaderSize && ReadU32BE(file, 4) == file.size() - kChunkHeaderSize;
}

// Notes which kinds of channel table the chunk holds.
struct TableKinds {
    bool ctab = false;
    bool ctb2 = false;

    void OnCseg(ByteRange) {}
    void OnSubChunk(ByteRange, std::string_view tag) {
        ctab = ctab || tag == "Ctab";
        ctb2 = ctb2 || tag == "Ctb2";
    }
};

}  // namespace

MaybeStyleError CheckCasmFile(ByteView file, StyleFormat styleFormat) {
    if (!HasTagAt(file, 0, "CASM")) return StyleError{msg::kInvalidCasmFile, std::nullopt};
    if (!IsOneWholeChunk(file)) return StyleError{msg::kCasmFileLengthMismatch, std::nullopt};
    TableKinds kinds;
    constexpr CasmWalkMessages kCasmFileMessages{msg::kCasmFileMissingCseg, msg::kCasmFileMissingSdecCtab};
    if (MaybeStyleError error = WalkCasm(file, ByteRange{0, file.size()}, kinds, kCasmFileMessages)) return error;
    if (styleFormat == StyleFormat::Sff1 && kinds.ctb2) return StyleError{msg::kCasmFileForSff2, std::nullopt};
    if (styleFormat == StyleFormat::Sff2 && kinds.ctab) return StyleError{msg::kCasmFileForSff1, std::nullopt};
    return std::nullopt;
}

MaybeStyleError CheckOtsFile(ByteView file) {
    if (!HasTagAt(file, 0, "OTSc")) return StyleError{msg::kInvalidOtsFile, std::nullopt};
    if (!IsOneWholeChunk(file)) return StyleError{msg::kOtsFileLengthMismatch, std::nullopt};
    return std::nullopt;
}
