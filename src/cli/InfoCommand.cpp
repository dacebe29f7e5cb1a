// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/InfoCommand.h"

#include <ostream>
#include <sstream>

#include "cli/ChannelRulesInfo.h"
#include "cli/CommandLine.h"
#include "cli/InOrder.h"
#include "cli/Json.h"
#include "cli/OptionTable.h"
#include "cli/RecordingPresenter.h"
#include "document/EditRules.h"
#include "document/KorvaneDoc.h"
#include "framework/Cp1252.h"
#include "framework/platform/PathText.h"
#include "framework/platform/Processors.h"
#include "play/VoiceList.h"

namespace {

// The JSON of a file is appended to one string, each value in place: info writes
// thousands of values for a folder of styles.
void AppendKey(std::string& json, std::string_view name) {
    json += ", \"";
    json += name;
    json += "\": ";
}

void AppendBool(std::string& json, bool value) { json += value ? "true" : "false"; }

void AppendStyleText(std::string& json, const std::string& cp1252) { AppendJsonString(json, Cp1252ToUtf8(cp1252)); }

// The sections as the Play menu lists them, in a keyboard's order.
std::string SectionList(const TrackOutline& outline) {
    std::string list;
    for (const std::string_view name : PlayableSectionNames(outline.sections)) {
        if (!list.empty()) list += ", ";
        list += name;
    }
    return list;
}

// The sections and, for each channel that plays, the voice its set-up selects (bank
// MSB and LSB, program, and the General MIDI name or "drum kit N"), from what the
// load's walk of the track found. No voices for a style whose track cannot be played.
TrackOutline OutlineOf(const CKorvaneDoc& doc) {
    TrackOutline outline;
    OutlineOfTrack(doc.Image(), doc.Track(), outline);
    return outline;
}

void AppendVoices(std::string& json, const TrackOutline& outline) {
    json += '[';
    for (std::size_t i = 0; i < outline.voices.size(); ++i) {
        const ChannelVoice& v = outline.voices[i];
        if (i > 0) json += ", ";
        json += "{\"channel\": ";
        AppendJsonNumber(json, v.channel + 1);
        AppendKey(json, "msb");
        AppendJsonNumber(json, v.voice.msb);
        AppendKey(json, "lsb");
        AppendJsonNumber(json, v.voice.lsb);
        AppendKey(json, "program");
        AppendJsonNumber(json, v.voice.program);
        AppendKey(json, "name");
        AppendJsonString(json, VoiceName(v.voice, v.channel));
        json += '}';
    }
    json += ']';
}

void AppendJsonOf(std::string& json, const std::string& path, const CKorvaneDoc& doc, const TrackOutline& outline) {
    json += "{\"path\": ";
    AppendJsonPathString(json, path);
    AppendKey(json, "format");
    AppendJsonString(json, FormatName(doc.m_styleFormat));
    AppendKey(json, "title");
    AppendStyleText(json, doc.m_strStyleTitle);
    AppendKey(json, "copyright");
    AppendStyleText(json, doc.m_strCopyright);
    AppendKey(json, "hasCopyright");
    AppendBool(json, doc.m_bHasCopyright);
    AppendKey(json, "tempo");
    if (doc.m_nTempo == -1) {
        json += "null";
    } else {
        AppendJsonNumber(json, doc.m_nTempo);
    }
    AppendKey(json, "timeSignature");
    if (HasTimeSignature(doc)) {
        json += '[';
        AppendJsonNumber(json, doc.m_nTimeSigNumerator);
        json += ", ";
        AppendJsonNumber(json, doc.m_nTimeSigDenominator);
        json += ']';
    } else {
        json += "null";
    }
    AppendKey(json, "sections");
    json += '[';
    bool first = true;
    for (const std::string_view name : PlayableSectionNames(outline.sections)) {
        if (!first) json += ", ";
        first = false;
        AppendJsonString(json, name);
    }
    json += ']';
    AppendKey(json, "channels");
    json += '[';
    first = true;
    for (int c = 0; c < kChannelCount; ++c) {
        if (doc.m_nOrigVolume[c] == -1) continue;
        if (!first) json += ", ";
        first = false;
        json += "{\"channel\": ";
        AppendJsonNumber(json, c + 1);
        AppendKey(json, "volume");
        AppendJsonNumber(json, doc.m_nVolume[c]);
        AppendKey(json, "label");
        AppendJsonString(json, doc.m_strChannelLabel[c]);
        json += '}';
    }
    json += ']';
    AppendKey(json, "voices");
    AppendVoices(json, outline);
    AppendKey(json, "casm");
    AppendBool(json, doc.m_bHasCASM);
    AppendKey(json, "channelRules");
    AppendChannelRulesJson(json, ReadChannelRulesInfo(doc.Image(), outline.walkEnd));
    AppendKey(json, "cntt");
    AppendBool(json, doc.m_bHasCntt);
    AppendKey(json, "ots");
    AppendBool(json, doc.m_bHasOTS);
    AppendKey(json, "casmFile");
    AppendBool(json, doc.m_bCASMFileExists);
    AppendKey(json, "otsFile");
    AppendBool(json, doc.m_bOTSFileExists);
    AppendKey(json, "size");
    AppendJsonNumber(json, doc.m_nFileLength);
    json += '}';
}

std::string YesNo(bool value) { return value ? "yes" : "no"; }

void PrintForPeople(std::ostream& out, const std::string& path, const CKorvaneDoc& doc, const TrackOutline& outline) {
    out << path << "\n";
    out << "  Format:         " << FormatName(doc.m_styleFormat) << "\n";
    out << "  Title:          " << Cp1252ToUtf8(doc.m_strStyleTitle) << "\n";
    out << "  Copyright:      " << (doc.m_bHasCopyright ? Cp1252ToUtf8(doc.m_strCopyright) : "(none)") << "\n";
    out << "  Tempo:          " << (doc.m_nTempo == -1 ? "(none)" : std::to_string(doc.m_nTempo)) << "\n";
    out << "  Time signature: "
        << (HasTimeSignature(doc)
                ? std::to_string(doc.m_nTimeSigNumerator) + "/" + std::to_string(doc.m_nTimeSigDenominator)
                : "(none)")
        << "\n";
    const std::string sections = SectionList(outline);
    out << "  Sections:       " << (sections.empty() ? "(none)" : sections) << "\n";
    out << "  Volumes:";
    bool any = false;
    for (int c = 0; c < kChannelCount; ++c) {
        if (doc.m_nOrigVolume[c] == -1) continue;
        out << (any ? "                  " : "        ") << "channel " << c + 1 << (c + 1 < 10 ? "  " : " ")
            << doc.m_strChannelLabel[c] << std::string(7 - doc.m_strChannelLabel[c].size(), ' ') << doc.m_nVolume[c]
            << "\n";
        any = true;
    }
    if (!any) out << "        (none)\n";
    out << "  Voices:";
    const std::vector<ChannelVoice>& voices = outline.voices;
    for (std::size_t i = 0; i < voices.size(); ++i) {
        const ChannelVoice& v = voices[i];
        out << (i > 0 ? "                  " : "         ") << "channel " << v.channel + 1
            << (v.channel + 1 < 10 ? "  " : " ") << "bank " << v.voice.msb << "/" << v.voice.lsb << " program "
            << v.voice.program << "  " << VoiceName(v.voice, v.channel) << "\n";
    }
    if (voices.empty()) out << "         (none)\n";
    out << "  CASM section:   " << YesNo(doc.m_bHasCASM) << (doc.m_bHasCntt ? " (with Cntt data)" : "") << "\n";
    PrintChannelRules(out, ReadChannelRulesInfo(doc.Image(), outline.walkEnd));
    out << "  OTS settings:   " << YesNo(doc.m_bHasOTS) << "\n";
    out << "  Side files:     .csm " << YesNo(doc.m_bCASMFileExists) << ", .ots " << YesNo(doc.m_bOTSFileExists)
        << "\n";
    out << "  Size:           " << doc.m_nFileLength << " bytes\n";
}

// What info says of one file: its text, or why it could not be read.
struct FileInfo {
    bool loaded = false;
    std::string text;  // JSON: the line, error or not; for people: the lines of a loaded file
    std::string error;
};

FileInfo InfoOfFile(const std::string& path, bool json, CLastMessagePerThread& messages) {
    FileInfo info;
    CKorvaneDoc doc;
    info.loaded = doc.OnOpenDocument(PathFromUtf8(path));
    const std::string message = Cp1252ToUtf8(messages.TakeLast());
    if (json) {
        if (info.loaded) {
            AppendJsonOf(info.text, path, doc, OutlineOf(doc));
        } else {
            info.text = JsonFileError(path, message);
        }
        info.text += '\n';
    } else if (info.loaded) {
        std::ostringstream text;
        PrintForPeople(text, path, doc, OutlineOf(doc));
        info.text = std::move(text).str();
    } else {
        info.error = message;
    }
    return info;
}

}  // namespace

OptionTable InfoCommandOptions(InfoRequest& request) {
    return {SwitchOption("--json", "Options of info",
                         "one JSON object per file and line; a file that failed gives its path and the message",
                         request.json)};
}

int RunInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    InfoRequest request;
    if (std::optional<std::string> problem = ParseOptions("info", args, InfoCommandOptions(request), request.files)) {
        return UsageError(err, *problem);
    }
    const bool json = request.json;
    const std::vector<std::string>& files = request.files;
    if (files.empty()) return UsageError(err, "info: no style file given");

    // A folder of styles is read on every processor the machine has free; what is said of
    // each file comes out in the order the files were given.
    CLastMessagePerThread messages;
    ScopedPresenter scoped(messages);
    int status = kExitSuccess;
    std::size_t i = 0;
    RunInOrder(
        files.size(), HelperThreadsFor(files.size(), IdleProcessors()),
        [&](std::size_t index) { return InfoOfFile(files[index], json, messages); },
        [&](const FileInfo& info) {
            const std::string& path = files[i++];
            if (!info.loaded) status = kExitFileFailed;
            if (json) {
                out << info.text;
            } else if (info.loaded) {
                if (i > 1) out << "\n";
                out << info.text;
            } else {
                out.flush();
                err << path << ":\n" << info.error << "\n";
            }
        });
    return status;
}
