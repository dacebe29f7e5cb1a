// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/InfoCommand.h"

#include <ostream>

#include "cli/ChannelRulesInfo.h"
#include "cli/CommandLine.h"
#include "cli/Json.h"
#include "cli/OptionTable.h"
#include "cli/RecordingPresenter.h"
#include "document/EditRules.h"
#include "document/KorvaneDoc.h"
#include "framework/Cp1252.h"
#include "framework/PathText.h"
#include "play/VoiceList.h"

namespace {

std::string JsonBool(bool value) { return value ? "true" : "false"; }

std::string JsonStyleText(const std::string& cp1252) { return JsonString(Cp1252ToUtf8(cp1252)); }

// The sections as the Play menu lists them, in a keyboard's order.
std::string SectionList(const TrackOutline& outline, const std::string& separator, bool quoted) {
    std::string list;
    for (const std::string_view name : PlayableSectionNames(outline.sections)) {
        if (!list.empty()) list += separator;
        list += quoted ? JsonString(std::string(name)) : std::string(name);
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

std::string JsonVoices(const TrackOutline& outline) {
    std::string json;
    for (const ChannelVoice& v : outline.voices) {
        if (!json.empty()) json += ", ";
        json += "{\"channel\": " + std::to_string(v.channel + 1) + ", \"msb\": " + std::to_string(v.voice.msb) +
                ", \"lsb\": " + std::to_string(v.voice.lsb) + ", \"program\": " + std::to_string(v.voice.program) +
                ", \"name\": " + JsonString(VoiceName(v.voice, v.channel)) + "}";
    }
    return "[" + json + "]";
}

std::string JsonOf(const std::string& path, const CKorvaneDoc& doc, const TrackOutline& outline) {
    std::string json = "{\"path\": " + JsonPathString(path);
    json += ", \"format\": " + JsonString(std::string(FormatName(doc.m_styleFormat)));
    json += ", \"title\": " + JsonStyleText(doc.m_strStyleTitle);
    json += ", \"copyright\": " + JsonStyleText(doc.m_strCopyright);
    json += ", \"hasCopyright\": " + JsonBool(doc.m_bHasCopyright);
    json += ", \"tempo\": " + (doc.m_nTempo == -1 ? std::string("null") : std::to_string(doc.m_nTempo));
    json += ", \"timeSignature\": ";
    json += HasTimeSignature(doc)
                ? "[" + std::to_string(doc.m_nTimeSigNumerator) + ", " + std::to_string(doc.m_nTimeSigDenominator) + "]"
                : "null";
    json += ", \"sections\": [" + SectionList(outline, ", ", true) + "]";
    json += ", \"channels\": [";
    bool first = true;
    for (int c = 0; c < kChannelCount; ++c) {
        if (doc.m_nOrigVolume[c] == -1) continue;
        if (!first) json += ", ";
        first = false;
        json += "{\"channel\": " + std::to_string(c + 1) + ", \"volume\": " + std::to_string(doc.m_nVolume[c]) +
                ", \"label\": " + JsonString(doc.m_strChannelLabel[c]) + "}";
    }
    json += "]";
    json += ", \"voices\": " + JsonVoices(outline);
    json += ", \"casm\": " + JsonBool(doc.m_bHasCASM);
    json += ", \"channelRules\": " + ChannelRulesJson(ReadChannelRulesInfo(doc.Image(), outline.walkEnd));
    json += ", \"cntt\": " + JsonBool(doc.m_bHasCntt);
    json += ", \"ots\": " + JsonBool(doc.m_bHasOTS);
    json += ", \"casmFile\": " + JsonBool(doc.m_bCASMFileExists);
    json += ", \"otsFile\": " + JsonBool(doc.m_bOTSFileExists);
    json += ", \"size\": " + std::to_string(doc.m_nFileLength) + "}";
    return json;
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
    const std::string sections = SectionList(outline, ", ", false);
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

std::string LastMessage(const CRecordingPresenter& presenter) {
    return presenter.Requests().empty() ? std::string() : Cp1252ToUtf8(presenter.Requests().back().text);
}

}  // namespace

int RunInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    std::vector<std::string> files;
    if (std::optional<std::string> problem = ParseOptions("info", args, {SwitchOption("--json", json)}, files)) {
        return UsageError(err, *problem);
    }
    if (files.empty()) return UsageError(err, "info: no style file given");

    CRecordingPresenter presenter;
    ScopedPresenter scoped(presenter);
    int status = kExitSuccess;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i];
        presenter.Clear();
        CKorvaneDoc doc;
        const bool loaded = doc.OnOpenDocument(PathFromUtf8(path));
        if (!loaded) status = kExitFileFailed;
        if (json) {
            out << (loaded ? JsonOf(path, doc, OutlineOf(doc)) : JsonFileError(path, LastMessage(presenter))) << "\n";
        } else if (loaded) {
            if (i > 0) out << "\n";
            PrintForPeople(out, path, doc, OutlineOf(doc));
        } else {
            out.flush();
            err << path << ":\n" << LastMessage(presenter) << "\n";
        }
    }
    return status;
}
