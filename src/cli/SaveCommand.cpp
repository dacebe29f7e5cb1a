#include "cli/SaveCommand.h"

#include <array>
#include <charconv>
#include <map>
#include <optional>
#include <ostream>

#include "cli/CommandLine.h"
#include "cli/RecordingPresenter.h"
#include "framework/Cp1252.h"
#include "style/KorvaneDoc.h"

namespace {

struct SaveRequest {
    std::optional<std::string> title;      // code page 1252
    std::optional<std::string> copyright;  // code page 1252
    std::optional<int> tempo;
    std::optional<std::pair<int, int>> timeSignature;
    std::map<int, int> volumes;  // channel 1-16 to volume
    std::optional<int> percent;
    std::map<std::string, bool> options;
    std::optional<std::string> saveAs;
    std::vector<std::string> files;
};

using OptionMember = bool CKorvaneDoc::*;
const std::map<std::string, OptionMember, std::less<>> kOptionMembers = {
    {"AdaptFilename", &CKorvaneDoc::m_bAdaptFilename}, {"FormatFilename", &CKorvaneDoc::m_bFormatFilename},
    {"DeleteOldFile", &CKorvaneDoc::m_bDeleteOldFile}, {"DeleteAllCnttDefinitions", &CKorvaneDoc::m_bDeleteAllCntt},
    {"DeleteOTS", &CKorvaneDoc::m_bDeleteOTS},         {"ExportOTS", &CKorvaneDoc::m_bExportOTS},
    {"ImportOTS", &CKorvaneDoc::m_bImportOTS},         {"DeleteCASM", &CKorvaneDoc::m_bDeleteCASM},
    {"ExportCASM", &CKorvaneDoc::m_bExportCASM},       {"ImportCASM", &CKorvaneDoc::m_bImportCASM},
};

std::optional<int> NumberIn(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
    return value;
}

// Parses the arguments; on a usage error returns its text.
std::optional<std::string> Parse(const std::vector<std::string>& args, SaveRequest& request) {
    bool optionsDone = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsDone || arg.empty() || arg[0] != '-' || arg == "-") {
            request.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsDone = true;
            continue;
        }
        if (i + 1 >= args.size()) return arg + " needs a value";
        const std::string& value = args[++i];
        if (arg == "--title" || arg == "--copyright") {
            const std::optional<std::string> text = Utf8ToCp1252(value);
            if (!text) return arg + ": '" + SanitizeUtf8(value) + "' holds a character a style file cannot store";
            (arg == "--title" ? request.title : request.copyright) = *text;
        } else if (arg == "--tempo") {
            request.tempo = NumberIn(value, 0, 250);
            if (!request.tempo) return "--tempo takes a whole number from 0 to 250";
        } else if (arg == "--time-signature") {
            const std::size_t slash = value.find('/');
            const auto numerator = NumberIn(std::string_view(value).substr(0, slash), 1, 128);
            const auto denominator =
                slash == std::string::npos ? std::nullopt : NumberIn(std::string_view(value).substr(slash + 1), 1, 128);
            if (!numerator || !denominator) return "--time-signature takes N/D, each from 1 to 128";
            request.timeSignature = {*numerator, *denominator};
        } else if (arg == "--volume") {
            const std::size_t equals = value.find('=');
            const auto channel = NumberIn(std::string_view(value).substr(0, equals), 1, 16);
            const auto volume = equals == std::string::npos
                                    ? std::nullopt
                                    : NumberIn(std::string_view(value).substr(equals + 1), 0, 127);
            if (!channel || !volume) return "--volume takes CHANNEL=VOLUME, channel 1 to 16, volume 0 to 127";
            request.volumes[*channel] = *volume;
        } else if (arg == "--percent") {
            request.percent = NumberIn(value, 0, 200);
            if (!request.percent) return "--percent takes a whole number from 0 to 200";
        } else if (arg == "-o") {
            const std::size_t equals = value.find('=');
            const std::string name = value.substr(0, equals);
            const std::string setting = equals == std::string::npos ? "" : value.substr(equals + 1);
            if (!kOptionMembers.count(name) || (setting != "0" && setting != "1")) {
                return "-o takes NAME=0 or NAME=1 with NAME one of AdaptFilename, FormatFilename, DeleteOldFile, "
                       "DeleteAllCnttDefinitions, DeleteOTS, ExportOTS, ImportOTS, DeleteCASM, ExportCASM, "
                       "ImportCASM";
            }
            request.options[name] = setting == "1";
        } else if (arg == "--save-as") {
            request.saveAs = value;
        } else {
            return "save: unknown option '" + arg + "'";
        }
    }
    if (request.files.empty()) return "save: no style file given";
    if (request.saveAs && request.files.size() != 1) return "--save-as takes exactly one style file";
    if (!request.volumes.empty() && request.percent) return "--volume and --percent exclude each other";
    return std::nullopt;
}

// Applies the edits as the form would; a value the style does not have is refused.
std::optional<std::string> ApplyEdits(const SaveRequest& request, CKorvaneDoc& doc) {
    if (request.tempo) {
        if (doc.m_nTempo == -1) return "This style has no tempo to change.";
        doc.m_nTempo = static_cast<std::int16_t>(*request.tempo);
    }
    if (request.timeSignature) {
        if (doc.m_nTimeSigNumerator == 0 || doc.m_nTimeSigDenominator == 0) {
            return "This style has no time signature to change.";
        }
        doc.m_nTimeSigNumerator = request.timeSignature->first;
        doc.m_nTimeSigDenominator = request.timeSignature->second;
    }
    for (const auto& [channel, volume] : request.volumes) {
        if (doc.m_nVolume[channel - 1] == -1) {
            return "This style has no volume on channel " + std::to_string(channel) + " to change.";
        }
        doc.m_nVolume[channel - 1] = static_cast<std::int16_t>(volume);
        doc.m_bAllChannels = false;
    }
    if (request.percent) {
        doc.m_bAllChannels = true;
        doc.m_nAllChannelsPercent = *request.percent;
    }
    if (request.title) doc.m_strStyleTitle = *request.title;
    if (request.copyright) doc.m_strCopyright = *request.copyright;
    for (const auto& [name, on] : request.options) doc.*kOptionMembers.at(name) = on;
    doc.SetModifiedFlag(true);
    return std::nullopt;
}

void ReportMessages(std::ostream& err, const std::string& path, const std::vector<std::string>& texts) {
    if (texts.empty()) return;
    err << SanitizeUtf8(path) << ":\n";
    for (const std::string& text : texts) err << text << "\n";
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return SanitizeUtf8(std::string(text.begin(), text.end()));
}

}  // namespace

int RunSaveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool showProgress) {
    SaveRequest request;
    if (const std::optional<std::string> problem = Parse(args, request)) return UsageError(err, *problem);
    showProgress = showProgress && request.files.size() > 1;

    CRecordingPresenter presenter;
    ScopedPresenter scoped(presenter);
    int status = kExitSuccess;
    for (std::size_t i = 0; i < request.files.size(); ++i) {
        const std::string& file = request.files[i];
        if (showProgress) {
            err << "\r\033[K[" << i + 1 << "/" << request.files.size() << "] " << SanitizeUtf8(file) << std::flush;
        }
        presenter.Clear();
        CKorvaneDoc doc;
        std::optional<std::string> refusal;
        bool saved = false;
        if (doc.OnOpenDocument(std::filesystem::path(file))) {
            refusal = ApplyEdits(request, doc);
            if (!refusal) saved = doc.OnSaveDocument(std::filesystem::path(request.saveAs.value_or(file)));
        }
        std::vector<std::string> messages;
        for (const MessageBoxRequest& box : presenter.Requests()) messages.push_back(Cp1252ToUtf8(box.text));
        if (refusal) messages.push_back(*refusal);
        // The progress line goes before anything is printed, on either stream.
        if (showProgress) err << "\r\033[K" << std::flush;
        ReportMessages(err, file, messages);
        if (saved) {
            out << PathText(doc.m_strStylePath) << "\n" << std::flush;
        } else {
            status = kExitFileFailed;
        }
    }
    return status;
}
