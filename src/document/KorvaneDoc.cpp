// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/KorvaneDoc.h"

#include <algorithm>
#include <exception>
#include <new>
#include <utility>

#include "document/FileNaming.h"
#include "document/SaveOptions.h"
#include "document/SideFiles.h"
#include "framework/Cp1252.h"
#include "framework/Profile.h"
#include "framework/StringTable.h"
#include "msg/Messages.h"
#include "msg/StyleMessages.h"
#include "storage/FileNames.h"
#include "storage/SafeFile.h"

namespace {

namespace msg = style_messages;

// An exception from deep inside a load or save is shown with its own text.
std::string TextOf(const std::exception& exception) {
    const std::string text = exception.what();
    if (!text.empty()) return text;
    return AppStringTable().LoadString(kIdsNoErrorMessageAvailable).value_or("");
}

// The message says why the file did not open where the system tells; otherwise, or
// where another program holds the file, its hint stands.
std::string OpenErrorText(FileSystem& files, const std::filesystem::path& pathName) {
    switch (files.WhyNotOpened(AbsolutePath(pathName), FileAccess::Read)) {
        case OpenRefusal::Missing: return msg::kErrorOpeningNotFound;
        case OpenRefusal::Folder: return msg::kErrorOpeningFolder;
        case OpenRefusal::Denied: return msg::kErrorOpeningDenied;
        case OpenRefusal::InUse:
        case OpenRefusal::Other: break;
    }
    return msg::kErrorOpening;
}

}  // namespace

CKorvaneDoc::CKorvaneDoc() { ResetContents(); }

void CKorvaneDoc::ResetContents() {
    m_strStylePath.clear();
    m_loadedFile = {};
    m_trackMap = {};
    m_styleFormat = StyleFormat::Sff1;
    m_strSaveName.clear();
    m_pFileBuffer.reset();
    m_nBufferSize = 0;
    m_nFileLength = 0;
    m_nTitleLength = 0;
    m_strStyleTitle.clear();
    m_bHasCopyright = false;
    m_nCopyrightLength = 0;
    m_strCopyright.clear();
    m_bHasOTS = false;
    m_bOTSFileExists = false;
    m_bHasCntt = false;
    m_bHasCASM = false;
    m_bCASMFileExists = false;
    m_nCASMLength = 0;
    m_nTempo = -1;
    m_nTimeSigNumerator = 0;
    m_nTimeSigDenominator = 0;
    m_nAllChannelsPercent = 100;
    m_nOrigVolume = StyleFacts::Unset();
    m_nVolume = StyleFacts::Unset();
    m_nChannelPart = StyleFacts::Unset();
    m_strChannelLabel = {};
    m_bSection = {};
    const CProfile& profile = AppProfile();
    for (const SaveOption& option : SaveOptions()) this->*option.member = ReadSaveOption(profile, option);
}

void CKorvaneDoc::DeleteContents() {
    ResetContents();
    CDocument::DeleteContents();
}

bool CKorvaneDoc::OnNewDocument() { return false; }

bool CKorvaneDoc::OnOpenDocument(const std::filesystem::path& pathName) { return ProcessStyleFile(pathName, false); }

bool CKorvaneDoc::OnSaveDocument(const std::filesystem::path& pathName) {
    if (m_strStyleTitle.empty()) {
        ShowError(msg::kEmptyTitle);
        return false;
    }
    return ProcessStyleFile(pathName, true);
}

bool CKorvaneDoc::ProcessStyleFile(const std::filesystem::path& pathName, bool save) {
    std::filesystem::path target;
    LoadedFileRecord written;
    MaybeStyleError error;
    try {
        error = save ? SaveStyleFile(pathName, target, written) : LoadStyleFile(pathName);
    } catch (const std::exception& exception) {
        // A save names its file: the failure may lie with that file rather than the style.
        std::string text = TextOf(exception);
        if (save) text += "\n\n(" + Cp1252ForDisplay(FileNameOf(pathName)) + ")";
        error = StyleError{std::move(text), std::nullopt};
    }
    if (error) {
        // An error without text is a save the user called off.
        if (!error->message.empty()) ShowError(error->Text());
        if (!save) ResetContents();
        return false;
    }
    if (save) {
        SetModifiedFlag(false);
        SetPathName(target, true);
        if (const std::optional<std::string> note = RemoveOrRenameOldFile(target)) ShowError(*note);
        // From now on the file written is the one a save must find unchanged.
        m_strStylePath = target;
        m_loadedFile = written;
    }
    return true;
}

MaybeStyleError CKorvaneDoc::LoadStyleFile(const std::filesystem::path& pathName) {
    // Made absolute once for the four looks at the disk below, each of which would ask
    // the system for the current folder again.
    const std::filesystem::path file = AbsolutePath(pathName);
    m_bCASMFileExists = CanReadRegularFile(Files(), CasmSideFilePath(file));
    m_bOTSFileExists = CanReadRegularFile(Files(), OtsSideFilePath(file));

    // Taken before the read, so that a write slipping in between shows as a change.
    const std::optional<FileIdentity> identity = IdentityOfFile(Files(), file);
    const auto allocate = [this](std::size_t size) {
        m_pFileBuffer.reset(new (std::nothrow) std::uint8_t[size]);
        m_nBufferSize = m_nFileLength = static_cast<std::int32_t>(size);
        return m_pFileBuffer.get();
    };
    switch (ReadWholeFile(Files(), file, kMinStyleFileSize, kMaxStyleFileSize, allocate)) {
        case ReadOutcome::CannotOpen: return StyleError{OpenErrorText(Files(), file), std::nullopt};
        case ReadOutcome::BadSize: return StyleError{msg::kInvalidFileSize, std::nullopt};
        case ReadOutcome::NoMemory: return StyleError{msg::kErrorCreatingBuffer, std::nullopt};
        case ReadOutcome::ShortRead: return StyleError{msg::kErrorLoadingBuffer, std::nullopt};
        case ReadOutcome::Read: break;
    }
    StyleFacts facts;
    const ByteView image(m_pFileBuffer.get(), static_cast<std::size_t>(m_nFileLength));
    if (MaybeStyleError error = ReadStyle(image, facts)) return error;
    TakeFacts(std::move(facts));
    m_strStylePath = pathName;
    m_loadedFile = RecordOfFile(identity, {image});
    return std::nullopt;
}

void CKorvaneDoc::TakeFacts(StyleFacts&& facts) {
    m_styleFormat = facts.format;
    m_nTitleLength = facts.titleLength;
    m_strStyleTitle = facts.title;
    m_bHasCopyright = facts.hasCopyright;
    m_nCopyrightLength = facts.copyrightLength;
    m_strCopyright = facts.copyright;
    m_bHasOTS = facts.hasOTS;
    m_bHasCntt = facts.hasCntt;
    m_bHasCASM = facts.hasCASM;
    m_nCASMLength = facts.casmLength;
    m_nTempo = facts.tempo;
    m_nTimeSigNumerator = facts.timeSigNumerator;
    m_nTimeSigDenominator = facts.timeSigDenominator;
    m_nOrigVolume = facts.origVolume;
    m_nVolume = facts.origVolume;
    m_nChannelPart = facts.channelPart;
    m_strChannelLabel = facts.channelLabel;
    m_bSection = facts.sections;
    m_trackMap = std::move(facts.track);
}
