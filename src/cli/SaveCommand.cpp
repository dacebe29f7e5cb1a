// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SaveCommand.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <ostream>

#include "cli/CommandLine.h"
#include "cli/EditOptions.h"
#include "cli/RecordingPresenter.h"
#include "document/EditRules.h"
#include "document/KorvaneDoc.h"
#include "document/SaveOptions.h"
#include "format/StyleReader.h"
#include "framework/Cp1252.h"
#include "framework/platform/PathText.h"

namespace {

constexpr std::string_view kSaveGroup = "Options of save";

std::string OptionNames() {
    std::string names;
    for (const std::string_view name : DashOOptionNames()) names += (names.empty() ? "" : ", ") + std::string(name);
    return names;
}

bool TakenByDashO(std::string_view name) {
    const std::vector<std::string_view> names = DashOOptionNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A text option in code page 1252, as the style file holds it.
Option StyleTextOption(std::string_view name, std::string help, std::optional<std::string>& text) {
    return {name, "TEXT", kSaveGroup, std::move(help),
            [name, &text](const std::string& value) -> std::optional<std::string> {
                text = Utf8ToCp1252(value);
                if (!text) {
                    return std::string(name) + ": '" + SanitizeUtf8(value) +
                           "' holds a character a style file cannot store";
                }
                return std::nullopt;
            }};
}

// Parses the arguments; on a usage error returns its text.
std::optional<std::string> Parse(const std::vector<std::string>& args, SaveRequest& request) {
    if (std::optional<std::string> problem = ParseOptions("save", args, SaveCommandOptions(request), request.files)) {
        return problem;
    }
    if (request.files.empty()) return "save: no style file given";
    if (request.saveAs && request.files.size() != 1) return "--save-as takes exactly one style file";
    if (std::optional<std::string> problem = CheckEditRequest(request.edits)) return problem;
    return std::nullopt;
}

// Applies the edits through the same rules as the form; a value the style does not
// have is refused.
EditRefusal ApplyEdits(const SaveRequest& request, CKorvaneDoc& doc) {
    if (EditRefusal refusal = ApplyEditRequest(request.edits, doc)) return refusal;
    if (request.title) doc.m_strStyleTitle = *request.title;
    if (request.copyright) doc.m_strCopyright = *request.copyright;
    for (const auto& [name, on] : request.options) doc.*FindSaveOption(name)->member = on;
    doc.SetModifiedFlag(true);
    return std::nullopt;
}

void ReportMessages(std::ostream& err, const std::string& path, const std::vector<std::string>& texts) {
    if (texts.empty()) return;
    err << path << ":\n";
    for (const std::string& text : texts) err << text << "\n";
}

}  // namespace

OptionTable SaveCommandOptions(SaveRequest& request) {
    OptionTable options;
    AddEditOptions(options, request.edits);
    options.push_back(StyleTextOption(
        "--title", "the style title (at most " + std::to_string(kMaxStyleTextLength) + " characters are kept)",
        request.title));
    options.push_back(StyleTextOption("--copyright", "the copyright text; empty removes it", request.copyright));
    options.push_back({"-o", "NAME=0|1", kSaveGroup,
                       "one save option on or off, the others as stored; NAME: " + OptionNames() + ".",
                       [&request](const std::string& value) -> std::optional<std::string> {
                           const std::size_t equals = value.find('=');
                           const std::string name = value.substr(0, equals);
                           const std::string setting = equals == std::string::npos ? "" : value.substr(equals + 1);
                           // The all-channels switch follows --volume and --percent instead.
                           if (!TakenByDashO(name) || (setting != "0" && setting != "1")) {
                               return "-o takes NAME=0 or NAME=1 with NAME one of " + OptionNames();
                           }
                           request.options[name] = setting == "1";
                           return std::nullopt;
                       }});
    options.push_back(SwitchOption("--overwrite", kSaveGroup,
                                   "replace a file the save may not simply replace: another existing file whose name "
                                   "the options choose, or the style file itself when another program changed or "
                                   "replaced it after the load (without it such a save is refused and writes nothing)",
                                   request.overwrite));
    options.push_back(TextOption("--save-as", "PATH", kSaveGroup,
                                 "saves as Save As does, to PATH (one FILE only); a file at PATH is replaced as cp "
                                 "would",
                                 request.saveAs));
    return options;
}

std::vector<std::string_view> DashOOptionNames() {
    std::vector<std::string_view> names;
    for (const SaveOption& option : SaveOptions()) {
        if (option.key != kAllChannelsOptionKey) names.push_back(option.key);
    }
    return names;
}

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
            err << "\r\033[K[" << i + 1 << "/" << request.files.size() << "] " << file << std::flush;
        }
        presenter.Clear();
        CKorvaneDoc doc;
        doc.m_existingFile = request.overwrite ? CKorvaneDoc::ExistingFile::Replace : CKorvaneDoc::ExistingFile::Refuse;
        std::optional<std::string> refusal;
        bool saved = false;
        if (doc.OnOpenDocument(PathFromUtf8(file))) {
            refusal = ApplyEdits(request, doc);
            if (!refusal) saved = doc.OnSaveDocument(PathFromUtf8(request.saveAs.value_or(file)));
        }
        std::vector<std::string> messages;
        for (const MessageBoxRequest& box : presenter.Requests()) messages.push_back(Cp1252ToUtf8(box.text));
        if (refusal) messages.push_back(*refusal);
        // The progress line goes before anything is printed, on either stream.
        if (showProgress) err << "\r\033[K" << std::flush;
        ReportMessages(err, file, messages);
        if (saved) {
            out << Utf8Of(doc.m_strStylePath) << "\n" << std::flush;
        } else {
            status = kExitFileFailed;
        }
    }
    return status;
}
