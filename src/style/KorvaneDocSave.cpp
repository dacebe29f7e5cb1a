// SPDX-License-Identifier: GPL-3.0-or-later
#include <system_error>

#include "framework/Cp1252.h"
#include "msg/MessageBoxStyle.h"
#include "msg/Messages.h"
#include "style/CasmCopy.h"
#include "style/Chunks.h"
#include "style/FileNaming.h"
#include "style/KorvaneDoc.h"
#include "style/SafeFile.h"
#include "style/SideFileCheck.h"
#include "style/SideFiles.h"
#include "style/StyleMessages.h"

namespace fs = std::filesystem;

namespace {

namespace msg = style_messages;

// Side files are read whole; anything this large is no CASM or OTS chunk.
constexpr std::uintmax_t kLargestSideFile = 64 * 1024 * 1024;

struct SideFileTexts {
    const char* writeError;
    const char* openError;
    const char* bufferError;
    const char* loadError;
};

constexpr SideFileTexts kCasmFile{msg::kErrorWritingCasm, msg::kErrorOpeningCasm, msg::kErrorCreatingCasmBuffer,
                                  msg::kErrorLoadingCasm};
constexpr SideFileTexts kOtsFile{msg::kErrorWritingOts, msg::kErrorOpeningOts, msg::kErrorCreatingOtsBuffer,
                                 msg::kErrorLoadingOts};

StyleError ErrorOf(std::string text) { return StyleError{std::move(text), std::nullopt}; }

// A side file that cannot be created is shown at once and the save goes on; one that
// fails while being written ends the save.
MaybeStyleError ExportSideFile(const fs::path& path, ByteView chunk, const SideFileTexts& texts) {
    switch (WriteFileSafely(path, {chunk})) {
        case WriteOutcome::Written: return std::nullopt;
        case WriteOutcome::CannotCreate: ShowError(texts.writeError); return std::nullopt;
        case WriteOutcome::WriteFailed: break;
    }
    return ErrorOf(texts.writeError);
}

// The whole file becomes the chunk, once check finds it whole.
template <typename Check>
MaybeStyleError ImportSideFile(const fs::path& path, const SideFileTexts& texts, Check check,
                               std::vector<std::uint8_t>& chunk) {
    switch (ReadWholeFile(path, chunk, 0, kLargestSideFile)) {
        case ReadOutcome::CannotOpen: return ErrorOf(texts.openError);
        case ReadOutcome::BadSize:
        case ReadOutcome::NoMemory: return ErrorOf(texts.bufferError);
        case ReadOutcome::ShortRead: return ErrorOf(texts.loadError);
        case ReadOutcome::Read: break;
    }
    return check(ByteView(chunk));
}

}  // namespace

void CKorvaneDoc::MakeValidFileName() { m_strSaveName = ValidFileName(m_strSaveName); }

MaybeStyleError CKorvaneDoc::BuildTargetPath(const fs::path& pathName, fs::path& target) {
    const std::string oldBaseName = BaseNameOf(pathName);
    if (m_bAdaptFilename) {
        m_strSaveName = NumberPrefix(oldBaseName) + Cp1252ToUtf8(m_strStyleTitle);
        MakeValidFileName();
    } else {
        m_strSaveName = UnformattedName(oldBaseName);
    }
    m_strSaveName = TrimmedName(m_strSaveName);
    // A title of blanks would name a hidden file such as ".sty".
    if (m_bAdaptFilename && m_strSaveName.empty()) return ErrorOf(msg::kEmptyTitle);
    if (m_bFormatFilename) m_strSaveName = FormattedName(m_strSaveName);
    target = PathWithBaseName(pathName, m_strSaveName);

    // A name the naming rules chose must not take the place of another file; a path
    // the user gave exactly is his to replace.
    std::error_code error;
    if (target == pathName || m_existingFile == ExistingFile::Replace ||
        !fs::exists(fs::symlink_status(target, error)) || fs::equivalent(target, m_strStylePath, error)) {
        return std::nullopt;
    }
    const std::string name = Cp1252ForDisplay(FileNameOf(target));
    if (m_existingFile == ExistingFile::Ask) {
        if (ShowQuestion(msg::FillIn(msg::kReplaceExisting, {name}), 0) == msgbox::IdYes) return std::nullopt;
        return StyleError{};  // the user said no: nothing is saved, and nothing more to say
    }
    return ErrorOf(msg::FillIn(msg::kTargetExists, {name}));
}

TrackEdits CKorvaneDoc::CurrentTrackEdits() const {
    TrackEdits edits;
    edits.title = m_strStyleTitle;
    edits.copyright = m_strCopyright;
    edits.hasCopyright = m_bHasCopyright;
    edits.tempo = m_nTempo;
    edits.timeSigNumerator = m_nTimeSigNumerator;
    edits.timeSigDenominator = m_nTimeSigDenominator;
    edits.allChannels = m_bAllChannels;
    edits.allChannelsPercent = m_nAllChannelsPercent;
    edits.origVolume = m_nOrigVolume;
    edits.volume = m_nVolume;
    return edits;
}

MaybeStyleError CKorvaneDoc::SaveStyleFile(const fs::path& pathName, fs::path& target) {
    if (MaybeStyleError error = BuildTargetPath(pathName, target)) return error;
    const fs::path casmPath = CasmSideFilePath(target);
    const fs::path otsPath = OtsSideFilePath(target);
    // The file name above was built from the whole title; the file holds at most 32
    // characters, and the document keeps them cut so that the form shows what the
    // file holds.
    CutToStyleTextLength(m_strStyleTitle);
    CutToStyleTextLength(m_strCopyright);

    const ByteView image(m_pFileBuffer.get(), static_cast<std::size_t>(m_nFileLength));
    RewrittenTrack track;
    if (MaybeStyleError error = RewriteTrack(image, CurrentTrackEdits(), track)) return error;
    ChunkLayout layout;
    if (MaybeStyleError error = LocateChunks(image, track.walkEnd, layout)) return error;

    const bool importCasm = m_bImportCASM && m_bCASMFileExists;
    const bool importOts = m_bImportOTS && m_bOTSFileExists;
    std::vector<std::uint8_t> casm;
    if (layout.casm) {
        const ByteView chunk = image.subspan(layout.casm->begin, layout.casm->size());
        if (m_bExportCASM) {
            if (MaybeStyleError error = ExportSideFile(casmPath, chunk, kCasmFile)) return error;
        }
        if (!m_bDeleteCASM && !importCasm) {
            if (MaybeStyleError error = CopyCasmChunk(image, *layout.casm, m_bDeleteAllCntt, casm)) return error;
        }
    }
    if (importCasm) {
        const auto check = [this](ByteView file) { return CheckCasmFile(file, m_styleFormat); };
        if (MaybeStyleError error = ImportSideFile(casmPath, kCasmFile, check, casm)) return error;
    }

    std::vector<std::uint8_t> ots;
    if (layout.ots) {
        const ByteView chunk = image.subspan(layout.ots->begin, layout.ots->size());
        if (m_bExportOTS) {
            if (MaybeStyleError error = ExportSideFile(otsPath, chunk, kOtsFile)) return error;
        }
        if (!m_bDeleteOTS && !importOts) ots.assign(chunk.begin(), chunk.end());
    }
    if (importOts) {
        if (MaybeStyleError error = ImportSideFile(otsPath, kOtsFile, CheckOtsFile, ots)) return error;
    }

    if (!track.titleFound) return ErrorOf(msg::kMissingTitle);
    if (!track.formatFound) return ErrorOf(msg::kMissingFormatMarker);

    // Whatever followed the CASM and OTS chunks (other chunks such as "FNRc") stays
    // behind them, byte for byte.
    const ByteView rest = image.subspan(layout.restBegin);
    // A file of a size the load refuses would be lost to the editor and the keyboard.
    const std::size_t size = track.bytes.size() + casm.size() + ots.size() + rest.size();
    if (size < kMinStyleFileSize || size > kMaxStyleFileSize) return ErrorOf(msg::kSavedSizeOutOfRange);
    if (WriteFileSafely(target, {track.bytes, casm, ots, rest}) != WriteOutcome::Written) {
        return ErrorOf(msg::kErrorWritingStyle);
    }
    return std::nullopt;
}

bool CKorvaneDoc::RemoveOrRenameOldFile(const fs::path& target) const {
    if (!m_bDeleteOldFile || m_strStylePath == target) return true;
    std::error_code error;
    // Opened through a link: only the link goes, never the file behind it, and not
    // even the link when the new name is a link to the same file (on a file system
    // that ignores letter case, the same link spelled anew).
    if (fs::is_symlink(fs::symlink_status(m_strStylePath, error))) {
        if (fs::is_symlink(fs::symlink_status(target, error)) && fs::equivalent(m_strStylePath, target, error)) {
            return true;
        }
        return fs::remove(m_strStylePath, error) && !error;
    }
    if (fs::equivalent(m_strStylePath, target, error)) {
        fs::rename(m_strStylePath, target, error);
        return !error;
    }
    if (!fs::exists(m_strStylePath, error)) return true;
    return fs::remove(m_strStylePath, error) && !error;
}
