// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PortsCommand.h"

#include <ostream>

#include "cli/CommandLine.h"
#include "cli/Json.h"
#include "framework/Cp1252.h"
#include "play/sound/MidiPorts.h"

namespace {

void AppendJsonPorts(std::string& out, const std::vector<MidiPort>& ports) {
    out += '[';
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (i > 0) out += ", ";
        out += "{\"name\": ";
        AppendJsonString(out, SanitizeUtf8(ports[i].name));
        out += ", \"system\": ";
        AppendJsonString(out, ports[i].system);
        out += '}';
    }
    out += ']';
}

void PrintPorts(std::ostream& out, std::string_view heading, const std::vector<MidiPort>& ports) {
    out << heading << ":\n";
    if (ports.empty()) out << "  (none)\n";
    for (const MidiPort& port : ports) out << "  " << PortLabel(port) << "\n";
}

}  // namespace

OptionTable PortsCommandOptions(PortsRequest& request) {
    return {SwitchOption("--json", "Options of ports",
                         "prints one JSON object: {\"inputs\": [{\"name\": ..., \"system\": ...}], \"outputs\": [...]}",
                         request.json)};
}

int RunPortsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    PortsRequest request;
    std::vector<std::string> rest;
    if (std::optional<std::string> problem = ParseOptions("ports", args, PortsCommandOptions(request), rest)) {
        return UsageError(err, *problem);
    }
    if (!rest.empty()) return UsageError(err, "ports takes no file");
    MidiPortList list;
    PlayError error;
    if (const std::unique_ptr<MidiSystem> system = MakeMidiSystem(error)) {
        list = system->List();
    } else {
        list.unreachable.push_back(*error);
    }
    for (const std::string& line : list.unreachable) err << line << "\n";
    if (request.json) {
        std::string text = "{\"inputs\": ";
        AppendJsonPorts(text, list.inputs);
        text += ", \"outputs\": ";
        AppendJsonPorts(text, list.outputs);
        out << text << "}\n";
    } else {
        PrintPorts(out, "MIDI inputs", list.inputs);
        PrintPorts(out, "MIDI outputs", list.outputs);
    }
    return kExitSuccess;
}
