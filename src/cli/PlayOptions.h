// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/EditOptions.h"
#include "document/KorvaneDoc.h"
#include "play/ChordPlan.h"
#include "play/KeyboardInput.h"
#include "play/Timeline.h"

// What render and play take: the save's edits, the section, how often it loops, the
// SoundFont; render also the sample rate, a folder for stems, --verbose, --json and -o.
struct PlayRequest {
    EditRequest edits;
    std::string section = "Main A";
    int loops = 2;
    bool loopsGiven = false;  // a keyboard's play loops until Ctrl+C unless --loops says
    std::optional<std::filesystem::path> soundFont;  // else the setting, else the system's
    std::optional<std::string> chords;               // a progression: "C | Am7 | F G7 | %"
    bool asRecorded = false;                         // every channel as stored, without its rules
    int sampleRate = 44100;
    std::optional<std::filesystem::path> stems;
    bool verbose = false;  // the voices played in place of the style's, on standard error
    bool json = false;     // one JSON object of what was written and put in place
    std::optional<std::filesystem::path> output;
    // play: a keyboard's left hand gives the chords (and its right hand plays over them),
    // and the style goes out to a MIDI port; each names a port as ports lists it.
    std::optional<std::string> midiIn;
    std::optional<std::string> midiOut;
    KeyboardSettings keyboard;
    std::vector<std::string> files;
};

inline constexpr ValueRange kLoopsRange{1, 1000};
inline constexpr ValueRange kSampleRateRange{8000, 192000};
// The right hand's voice as General MIDI numbers its programs.
inline constexpr ValueRange kRightVoiceRange{1, 128};

// The heading of the options render and play share in the help, and their name in a
// usage line ("[PLAY OPTIONS]").
inline constexpr std::string_view kPlayGroup = "Play options";
inline constexpr std::string_view kKeyboardGroup = "Keyboard and MIDI options of play";

// The options of command ("render" or "play"), each setting its part of request: the
// edits, the play options, and render's own.
OptionTable PlayCommandOptions(std::string_view command, PlayRequest& request);

// Parses the arguments of command ("render" or "play"); on a usage error its text.
std::optional<std::string> ParsePlayRequest(const std::string& command, const std::vector<std::string>& args,
                                            PlayRequest& request);

// A style loaded and edited as asked, cut into its timeline, with the section found.
struct PlayableStyle {
    CKorvaneDoc doc;
    Timeline timeline;
    int section = 0;
    ChordPlan chords;  // what the channels follow: --chords, --as-recorded, or C Maj7 held
};

// Loads file into style; on failure the message, as the box would show it (a chord
// progression that a bar of this style cannot hold included). A section without notes
// is said on err, and is still played.
std::optional<std::string> LoadPlayableStyle(const std::string& file, const PlayRequest& request, PlayableStyle& style,
                                             std::ostream& err);

std::filesystem::path ChosenSoundFont(const PlayRequest& request);
// Why the style's CASM is played as if it had none; empty when it is not, or when the
// channels play as recorded.
std::string CasmDamage(const PlayableStyle& style);

// The errors of one file, as every command prints them.
void ReportFileMessage(std::ostream& err, const std::string& file, const std::string& text);
