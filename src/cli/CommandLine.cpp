// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <ostream>

#include "cli/HelpText.h"
#include "cli/InfoCommand.h"
#include "cli/PlayOptions.h"
#include "cli/PortsCommand.h"
#include "cli/RenderCommand.h"
#include "cli/SaveCommand.h"
#include "framework/Version.h"

namespace {

// What the commands' option tables point into when only their help is wanted: the help
// reads the options' names and texts and never takes a value.
struct UnusedRequests {
    InfoRequest info;
    SaveRequest save;
    PlayRequest play;
    PortsRequest ports;
};

using Args = std::vector<std::string>;

// Every command of korvane-cli, in the order the help lists them.
struct Command {
    std::string_view name;
    std::string_view synopsis;  // the usage after "korvane-cli NAME "
    std::string_view summary;   // what it does, for the help
    bool readsSettings;         // the editor's stored save options and SoundFont
    OptionTable (*options)(UnusedRequests& requests);
    int (*run)(const Args& args, std::ostream& out, std::ostream& err, bool errIsTerminal);
};

constexpr Command kCommands[] = {
    {"info", "[--json] FILE...",
     "loads each style file and prints its title, copyright, tempo, time signature, sections, channel volumes and "
     "voices, channel rules and chunks",
     false, [](UnusedRequests& r) { return InfoCommandOptions(r.info); },
     [](const Args& args, std::ostream& out, std::ostream& err, bool) { return RunInfoCommand(args, out, err); }},
    {"save", "[EDITS] [OPTIONS] FILE...",
     "loads each file, applies the edits and saves it as the editor's Save does, and prints the path written", true,
     [](UnusedRequests& r) { return SaveCommandOptions(r.save); }, &RunSaveCommand},
    // A usage on one line: help2man reads no continued one into the manual page's synopsis.
    {"render", "[EDITS] [PLAY OPTIONS] [OPTIONS] -o OUT FILE",
     "writes what a section plays, with the edits as a save would write them, into the file -o names", true,
     [](UnusedRequests& r) { return PlayCommandOptions("render", r.play); },
     [](const Args& args, std::ostream& out, std::ostream& err, bool) { return RunRenderCommand(args, out, err); }},
    {"play", "[EDITS] [PLAY OPTIONS] FILE...",
     "plays each file with the edits through the sound system until done; Ctrl+C stops the sound at once", true,
     [](UnusedRequests& r) { return PlayCommandOptions("play", r.play); }, &RunPlayCommand},
    {"ports", "[--json]",
     "lists the MIDI inputs and outputs that play --midi-in and --midi-out can open, each with its MIDI system",
     false, [](UnusedRequests& r) { return PortsCommandOptions(r.ports); },
     [](const Args& args, std::ostream& out, std::ostream& err, bool) { return RunPortsCommand(args, out, err); }},
};

const Command* FindCommand(std::string_view name) {
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const Command& command) { return command.name == name; });
    return found == std::end(kCommands) ? nullptr : found;
}

// The headings of table's options, each once, in the table's order.
std::vector<std::string_view> Groups(const OptionTable& table) {
    std::vector<std::string_view> groups;
    for (const Option& option : table) {
        if (std::find(groups.begin(), groups.end(), option.group) == groups.end()) groups.push_back(option.group);
    }
    return groups;
}

std::string UsageLine(std::string_view lead, const Command& command) {
    const std::string start = std::string(lead) + "korvane-cli " + std::string(command.name) + " ";
    return Wrapped(start, command.synopsis, start.size());
}

std::string CommandHelp(const Command& command) {
    UnusedRequests unused;
    const OptionTable options = command.options(unused);
    std::string summary(command.summary);
    summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
    std::string text = UsageLine("Usage: ", command) + Wrapped("", summary + ".", 0);
    for (const std::string_view group : Groups(options)) {
        text += "\n" + std::string(group) + ":\n" + OptionEntries(options, group);
    }
    return text + "\nThe other commands and the exit status: korvane-cli --help\n";
}

// "save, render and play".
std::string Enumeration(const std::vector<std::string_view>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

// The options of every command, each heading once, naming the commands that take its
// options where more than one does: "Edits (save, render and play):".
std::string OptionsOfEveryCommand() {
    UnusedRequests unused;
    std::vector<std::pair<std::string_view, std::vector<std::string_view>>> groupsOfCommands;
    std::vector<OptionTable> tables;
    for (const Command& command : kCommands) {
        tables.push_back(command.options(unused));
        groupsOfCommands.emplace_back(command.name, Groups(tables.back()));
    }
    std::string text;
    std::vector<std::string_view> listed;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        for (const std::string_view group : groupsOfCommands[i].second) {
            if (std::find(listed.begin(), listed.end(), group) != listed.end()) continue;
            listed.push_back(group);
            std::vector<std::string_view> takers;
            for (const auto& [name, groups] : groupsOfCommands) {
                if (std::find(groups.begin(), groups.end(), group) != groups.end()) takers.push_back(name);
            }
            const std::string heading =
                std::string(group) + (takers.size() > 1 ? " (" + Enumeration(takers) + ")" : std::string());
            text += "\n" + heading + ":\n" + OptionEntries(tables[i], group);
        }
    }
    return text;
}

std::string ProgramHelp() {
    std::string text;
    for (const Command& command : kCommands) text += UsageLine(text.empty() ? "Usage: " : "  or:  ", command);
    text +=
        "  or:  korvane-cli COMMAND --help\n"
        "  or:  korvane-cli --help | --version\n";
    text += Wrapped("",
                    "Shows, edits and plays keyboard accompaniment style files (.sty) with the editor's engine and "
                    "stored options, for scripts and for many files at once.",
                    0);
    text += "\nCommands:\n";
    for (const Command& command : kCommands) text += Wrapped("  " + std::string(command.name), command.summary);
    text += Wrapped("",
                    "A file that fails is reported with the editor's message, and the others are still done. Each "
                    "channel plays as a keyboard plays it, through its channel rules (CASM) over the chords given, "
                    "C Maj7 held when none are. COMMAND --help shows the usage of one command.",
                    0);
    text += OptionsOfEveryCommand();
    text += "\n" + Wrapped("",
                           "Exit status: 0 when every file succeeded, 1 when any file failed, 2 for a usage error, 3 "
                           "when this build has no synthesizer (render to .wav; play where it has no MIDI ports "
                           "either), 130 when play was stopped with Ctrl+C.",
                           0);
    return text;
}

// Whether the arguments after the command's name ask for its help.
bool AsksForCommandHelp(const Command& command, const Args& rest) {
    UnusedRequests unused;
    return AsksForHelp(rest, command.options(unused));
}

}  // namespace

int UsageError(std::ostream& err, const std::string& problem) {
    err << "korvane-cli: " << problem << "\n"
        << "Try 'korvane-cli --help'.\n";
    return kExitUsage;
}

bool ReadsEditorSettings(const Args& args) {
    const Command* command = args.empty() ? nullptr : FindCommand(args.front());
    return command && command->readsSettings && !AsksForCommandHelp(*command, Args(args.begin() + 1, args.end()));
}

int RunCommandLine(const Args& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    if (args.empty()) return UsageError(err, "no command given");
    const std::string& name = args.front();
    if (name == "--help" || name == "-h") {
        out << ProgramHelp();
        return kExitSuccess;
    }
    if (name == "--version") {
        out << "korvane-cli " << kKorvaneVersion << "\n";
        return kExitSuccess;
    }
    const Command* command = FindCommand(name);
    if (!command) return UsageError(err, "unknown command '" + name + "'");
    const Args rest(args.begin() + 1, args.end());
    if (AsksForCommandHelp(*command, rest)) {
        out << CommandHelp(*command);
        return kExitSuccess;
    }
    return command->run(rest, out, err, errIsTerminal);
}
