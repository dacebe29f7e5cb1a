// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/LoadedFileRecord.h"
#include "format/Sections.h"
#include "format/StyleNames.h"
#include "format/StyleReader.h"
#include "format/TrackRewriter.h"
#include "framework/Document.h"
#include "storage/FileSystem.h"

// One open style file: its whole image, the values taken out of it for editing, the
// options that steer the next save, and which chunks and side files exist.
class CKorvaneDoc : public CDocument {
public:
    CKorvaneDoc();

    void DeleteContents() override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::filesystem::path& pathName) override;
    bool OnSaveDocument(const std::filesystem::path& pathName) override;

    // Loads (save false) or saves the style. Every failure has been shown to the
    // user when it returns false.
    bool ProcessStyleFile(const std::filesystem::path& pathName, bool save);
    // Back to the empty document, the options read anew from the settings.
    void ResetContents();
    // Replaces the characters a file name may not hold in m_strSaveName.
    void MakeValidFileName();
    // Every read and write of this document goes through files: the system's own,
    // unless a test hands in one that fails on purpose.
    void UseFileSystem(FileSystem& files) { m_files = &files; }
    FileSystem& Files() const { return *m_files; }

    std::filesystem::path m_strStylePath;
    StyleFormat m_styleFormat = StyleFormat::Sff1;  // the kind of style, from its marker
    std::string m_strSaveName;                      // UTF-8, as file names are
    std::int32_t m_nFileLength = 0;
    std::int32_t m_nTitleLength = 0;
    std::string m_strStyleTitle;  // code page 1252, at most 32 characters
    bool m_bHasCopyright = false;
    std::int32_t m_nCopyrightLength = 0;
    std::string m_strCopyright;  // code page 1252, at most 32 characters
    bool m_bDeleteOldFile = false;
    bool m_bFormatFilename = true;
    bool m_bAdaptFilename = true;
    bool m_bDeleteOTS = false;
    bool m_bExportOTS = false;
    bool m_bImportOTS = false;
    bool m_bDeleteAllCntt = false;
    bool m_bHasOTS = false;
    bool m_bOTSFileExists = false;
    bool m_bHasCntt = false;
    bool m_bExportCASM = false;
    bool m_bImportCASM = false;
    bool m_bDeleteCASM = false;
    bool m_bHasCASM = false;
    bool m_bCASMFileExists = false;
    std::int32_t m_nCASMLength = 0;
    std::int16_t m_nTempo = -1;
    std::int32_t m_nTimeSigNumerator = 0;
    std::int32_t m_nTimeSigDenominator = 0;
    bool m_bAllChannels = true;
    std::int32_t m_nAllChannelsPercent = 100;
    ChannelValues m_nOrigVolume = StyleFacts::Unset();
    ChannelValues m_nVolume = StyleFacts::Unset();
    ChannelValues m_nChannelPart = StyleFacts::Unset();
    std::array<std::string, kChannelCount> m_strChannelLabel;
    std::array<bool, kFormSectionCount> m_bSection{};
    // The values a save writes into the track, as the form holds them now; playback
    // plays the track with the same ones.
    TrackEdits CurrentTrackEdits() const;
    // The style's bytes as they were loaded (empty with nothing loaded): what a save
    // starts from, so what playback reads.
    ByteView Image() const;
    // The track of Image() cut at its markers, as the load's walk found it (TrackMap.h),
    // so that playback's view of it needs no second walk; empty with nothing loaded.
    const TrackMap& Track() const { return m_trackMap; }
    // What a save does when it would replace a file it may not simply replace: another
    // existing file whose name the naming options chose, or the file this document was
    // loaded from once somebody else has changed or replaced it. Refuse (the companion
    // without --overwrite), replace it (with --overwrite), or ask the user (the
    // editor). The caller decides, so a reset leaves it alone.
    enum class ExistingFile { Refuse, Replace, Ask };
    ExistingFile m_existingFile = ExistingFile::Refuse;

private:
    // The style's bytes as loaded: only Image() shows them, so nothing changes them but
    // the next load.
    std::unique_ptr<std::uint8_t[]> m_pFileBuffer;
    std::int32_t m_nBufferSize = 0;
    FileSystem* m_files = &SystemFileSystem();
    // The file at m_strStylePath as it was loaded or last written.
    LoadedFileRecord m_loadedFile;
    TrackMap m_trackMap;

    MaybeStyleError LoadStyleFile(const std::filesystem::path& pathName);
    void TakeFacts(StyleFacts&& facts);

    // The save writes a new file from the image as loaded with the current edits, so
    // the document never changes but for the path it lives at: a failed save leaves it
    // as it was, and saving twice writes the same file. Messages that let the save go
    // on are shown as they happen.
    // written is the record of the file written, for the document to keep once the
    // old-file step is done.
    MaybeStyleError SaveStyleFile(const std::filesystem::path& pathName, std::filesystem::path& target,
                                  LoadedFileRecord& written);
    // The file the save writes, by the naming options; refuses a title that leaves no
    // name and a name that belongs to another existing file.
    MaybeStyleError BuildTargetPath(const std::filesystem::path& pathName, std::filesystem::path& target);
    // Before a save writes over the file this document was loaded from: refuses, asks
    // or goes on (m_existingFile) when somebody else has changed or replaced it since.
    MaybeStyleError CheckLoadedFileUnchanged(const std::filesystem::path& target);
    // An error, the user's no or nothing, by m_existingFile, for a save that would
    // replace file: question (asked with buttons) and refusal take the file's name.
    MaybeStyleError MayReplace(const std::filesystem::path& file, const char* question, unsigned buttons,
                               const char* refusal);
    // After a save under a new name: deletes the old file, or, where the two names
    // are one file spelled differently, gives it the new spelling. A file somebody
    // else has changed or replaced since it was loaded is kept. The message to show
    // when the old file is still there, nothing otherwise.
    std::optional<std::string> RemoveOrRenameOldFile(const std::filesystem::path& target) const;
};
