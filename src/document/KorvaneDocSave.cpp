// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/FileNaming.h"
#include "document/KorvaneDoc.h"
#include "document/SideFiles.h"
#include "format/Chunks.h"
#include "format/SavedStyle.h"
#include "format/SideFileCheck.h"
#include "framework/Cp1252.h"
#include "framework/platform/PathText.h"
#include "msg/FillIn.h"
#include "msg/MessageBoxStyle.h"
#include "msg/Messages.h"
#include "msg/StyleMessages.h"
#include "storage/FileNames.h"
#include "storage/SafeFile.h"

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

// A failed write's message, and where it left the old and the new content when
// neither could stay under the file's own name.
StyleError WriteErrorOf(const char* text, const WriteResult& result) {
    std::string message = text;
    if (!result.oldCopy.empty())
        message += "\n\n" + FillIn(msg::kOldFileKeptAs, {Cp1252ForDisplay(Utf8Of(result.oldCopy))});
    if (!result.newCopy.empty())
        message += "\n\n" + FillIn(msg::kNewFileKeptAs, {Cp1252ForDisplay(Utf8Of(result.newCopy))});
    return ErrorOf(std::move(message));
}

StyleError FolderMissingError(FileSystem& files, const fs::path& target) {
    return ErrorOf(FillIn(msg::kFolderMissing, {Cp1252ForDisplay(Utf8Of(FolderOfFile(files, target)))}));
}

// A side file that cannot be created is shown at once and the save goes on; one that
// fails while being written ends the save.
MaybeStyleError ExportSideFile(FileSystem& files, const fs::path& path, ByteView chunk, const SideFileTexts& texts) {
    const WriteResult result = WriteFileSafely(files, path, {chunk});
    switch (result.outcome) {
        case WriteOutcome::Written: return std::nullopt;
        case WriteOutcome::CannotCreate:
        case WriteOutcome::NoFolder: ShowError(texts.writeError); return std::nullopt;
        case WriteOutcome::WriteFailed: break;
    }
    return WriteErrorOf(texts.writeError, result);
}

// The whole file becomes the chunk, once check finds it whole.
template <typename Check>
MaybeStyleError ImportSideFile(FileSystem& files, const fs::path& path, const SideFileTexts& texts, Check check,
                               std::vector<std::uint8_t>& chunk) {
    switch (ReadWholeFile(files, path, chunk, 0, kLargestSideFile)) {
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
    if (target == pathName || !IsNameTaken(Files(), target) || IsSameFile(Files(), target, m_strStylePath)) {
        return std::nullopt;
    }
    return MayReplace(target, msg::kReplaceExisting, 0, msg::kTargetExists);
}

MaybeStyleError CKorvaneDoc::MayReplace(const fs::path& file, const char* question, unsigned buttons,
                                        const char* refusal) {
    const std::string name = Cp1252ForDisplay(FileNameOf(file));
    switch (m_existingFile) {
        case ExistingFile::Replace: return std::nullopt;
        case ExistingFile::Ask: {
            if (ShowQuestion(FillIn(question, {name}), buttons) == msgbox::IdYes) return std::nullopt;
            return StyleError{};  // the user said no: nothing is saved, and nothing more to say
        }
        case ExistingFile::Refuse: break;
    }
    return ErrorOf(FillIn(refusal, {name}));
}

// Only a save that writes over the file loaded can lose what somebody else put there;
// one to another name leaves it to the old-file step. A file that is gone is written
// anew, as any missing target is.
MaybeStyleError CKorvaneDoc::CheckLoadedFileUnchanged(const fs::path& target) {
    if (target != m_strStylePath && !IsSameFile(Files(), target, m_strStylePath)) return std::nullopt;
    if (CompareWithRecord(Files(), m_strStylePath, m_loadedFile) != FileOnDisk::Changed) return std::nullopt;
    // No is the default: a key pressed in haste must not cost somebody else's work.
    return MayReplace(m_strStylePath, msg::kChangedSinceOpened, msgbox::YesNo | msgbox::DefaultButton2,
                      msg::kChangedSinceOpenedRefused);
}

ByteView CKorvaneDoc::Image() const {
    if (!m_pFileBuffer || m_nFileLength <= 0) return {};
    return ByteView(m_pFileBuffer.get(), static_cast<std::size_t>(m_nFileLength));
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

MaybeStyleError CKorvaneDoc::SaveStyleFile(const fs::path& pathName, fs::path& target, LoadedFileRecord& written) {
    if (MaybeStyleError error = BuildTargetPath(pathName, target)) return error;
    // Said before any side file is written there.
    if (IsFolderMissing(Files(), target)) return FolderMissingError(Files(), target);
    if (MaybeStyleError error = CheckLoadedFileUnchanged(target)) return error;
    const fs::path casmPath = CasmSideFilePath(target);
    const fs::path otsPath = OtsSideFilePath(target);
    // The file name above was built from the whole title; the file holds at most 32
    // characters, and the document keeps them cut so that the form shows what the
    // file holds.
    CutToStyleTextLength(m_strStyleTitle);
    CutToStyleTextLength(m_strCopyright);

    const ByteView image = Image();
    RewrittenTrack track;
    if (MaybeStyleError error = RewriteTrack(image, CurrentTrackEdits(), track)) return error;
    ChunkLayout layout;
    if (MaybeStyleError error = LocateChunks(image, track.walkEnd, layout)) return error;

    ChunkChoices choices{m_bDeleteCASM, m_bDeleteOTS, m_bDeleteAllCntt};
    std::vector<std::uint8_t> casmFile;
    if (layout.casm && m_bExportCASM) {
        const ByteView chunk = image.subspan(layout.casm->begin, layout.casm->size());
        if (MaybeStyleError error = ExportSideFile(Files(), casmPath, chunk, kCasmFile)) return error;
    }
    if (m_bImportCASM && m_bCASMFileExists) {
        const auto check = [this](ByteView file) { return CheckCasmFile(file, m_styleFormat); };
        if (MaybeStyleError error = ImportSideFile(Files(), casmPath, kCasmFile, check, casmFile)) return error;
        choices.importedCasm = &casmFile;
    }
    std::vector<std::uint8_t> otsFile;
    if (layout.ots && m_bExportOTS) {
        const ByteView chunk = image.subspan(layout.ots->begin, layout.ots->size());
        if (MaybeStyleError error = ExportSideFile(Files(), otsPath, chunk, kOtsFile)) return error;
    }
    if (m_bImportOTS && m_bOTSFileExists) {
        if (MaybeStyleError error = ImportSideFile(Files(), otsPath, kOtsFile, CheckOtsFile, otsFile)) return error;
        choices.importedOts = &otsFile;
    }

    const bool titleFound = track.titleFound;
    const bool formatFound = track.formatFound;
    SavedStyle saved;
    if (MaybeStyleError error = AssembleSavedStyle(image, std::move(track), layout, choices, saved)) return error;
    if (!titleFound) return ErrorOf(msg::kMissingTitle);
    if (!formatFound) return ErrorOf(msg::kMissingFormatMarker);
    // A file of a size the load refuses would be lost to the editor and the keyboard.
    if (saved.Size() < kMinStyleFileSize || saved.Size() > kMaxStyleFileSize) return ErrorOf(msg::kSavedSizeOutOfRange);
    const WriteResult result = WriteFileSafely(Files(), target, {saved.track, saved.casm, saved.ots, saved.rest});
    if (result.outcome == WriteOutcome::NoFolder) return FolderMissingError(Files(), target);
    if (result.outcome != WriteOutcome::Written) return WriteErrorOf(msg::kErrorWritingStyle, result);
    written = RecordOfFile(IdentityOfFile(Files(), target), {saved.track, saved.casm, saved.ots, saved.rest});
    return std::nullopt;
}

std::optional<std::string> CKorvaneDoc::RemoveOrRenameOldFile(const fs::path& target) const {
    if (!m_bDeleteOldFile || m_strStylePath == target) return std::nullopt;
    const auto noteUnless = [](bool done) -> std::optional<std::string> {
        if (done) return std::nullopt;
        return std::string(msg::kErrorRemovingOldFile);
    };
    // Opened through a link: only the link goes, never the file behind it.
    const bool link = IsSymbolicLink(Files(), m_strStylePath);
    // The old name leads to the file just written, which the save checked before it
    // wrote over it. Its link goes, unless the new name is that link spelled anew (a
    // file system that ignores letter case); the file itself takes the new spelling.
    if (IsSameFile(Files(), m_strStylePath, target)) {
        if (link) return noteUnless(IsSymbolicLink(Files(), target) || RemoveName(Files(), m_strStylePath));
        return noteUnless(RenameFile(Files(), m_strStylePath, target));
    }
    if (!IsNameTaken(Files(), m_strStylePath)) return std::nullopt;
    // Somebody else's content under the old name stays, and so does a link to it.
    if (CompareWithRecord(Files(), m_strStylePath, m_loadedFile) == FileOnDisk::Changed) {
        return FillIn(msg::kChangedOldFileKept, {Cp1252ForDisplay(FileNameOf(m_strStylePath))});
    }
    return noteUnless(RemoveName(Files(), m_strStylePath));
}
