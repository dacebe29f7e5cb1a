// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

// Every text that playing and rendering a style show, exactly as the user sees it, in
// one table that the code and the help-page test both read. "%s" stands for a value
// filled in by FillIn, in order.
namespace play_messages {

// %s: the audio outputs that were tried, in order.
inline constexpr const char* kNoAudioOutput =
    "No audio output could be opened!\n\n(Tried: %s. Please check that a sound server or sound card is there.)";
// %s: the SoundFont file.
inline constexpr const char* kSoundFontUnreadable =
    "The SoundFont \"%s\" could not be read!\n\n(Choose another one: Play > SoundFont... in the editor, "
    "--soundfont FILE for korvane-cli, or the setting \"SoundFont\" in the section \"Playback\".)";
// %s: the section asked for, then the sections the style has.
inline constexpr const char* kUnknownSection = "This style has no section \"%s\"!\n\n(Its sections: %s.)";
// %s: the section.
inline constexpr const char* kSilentSection = "The section \"%s\" has no notes: what it plays is silence.";
inline constexpr const char* kNoSynthesizer =
    "This build of Korvane has no synthesizer!\n\n(It can write a section as a MIDI file, but not write its sound.)";
inline constexpr const char* kUnplayableDivision =
    "This style cannot be played!\n\n(Its header counts time in frames, not in ticks per quarter note.)";
// %s: the fluidsynth call that failed.
inline constexpr const char* kSynthesizerFailed = "The synthesizer could not be started!\n\n(fluidsynth's %s failed.)";
// %s: the sound module's file, then the system loader's own words.
inline constexpr const char* kSoundModuleUnloadable = "The sound module \"%s\" could not be loaded!\n\n(%s)";
// %s: the file.
inline constexpr const char* kErrorWritingSound =
    "Error creating/writing file \"%s\"!\n\n(Please check if file or folder is write protected.)";
// %s: the file, then its folder, which is not there.
inline constexpr const char* kSoundFolderMissing =
    "Error creating/writing file \"%s\"!\n\n(The folder \"%s\" does not exist.)";

// %s: the folder --stems names.
inline constexpr const char* kStemsNotAFolder =
    "\"%s\" is not a folder!\n\n(--stems names the folder that takes one WAV file per channel, made when it is "
    "missing. Nothing was written.)";

// %s: the longest sound in minutes.
inline constexpr const char* kSoundTooLong =
    "The sound would last longer than %s minutes!\n\n(Render fewer loops, or write a MIDI file.)";

// The same limit for a MIDI file: a marker each bar over days of silence is no music.
// %s: the longest music in minutes.
inline constexpr const char* kMidiTooLong = "The sound would last longer than %s minutes!\n\n(Render fewer loops.)";

// MIDI ports. %s: "input" or "output", the name given, then the ports of that kind, one
// on each line ("none" when there are none).
inline constexpr const char* kNoSuchPort = "No MIDI %s is named \"%s\"!\n\n(The ports there are:%s)";
inline constexpr const char* kPortAmbiguous =
    "More than one MIDI %s is named \"%s\"!\n\n(Give more of the name of one of them:%s)";
inline constexpr const char* kNoPorts = " none";
// %s: the port, then the MIDI system's own words.
inline constexpr const char* kPortUnopenable = "The MIDI port \"%s\" could not be opened!\n\n(%s)";
// %s: what was tried, in order.
inline constexpr const char* kNoMidiOutput =
    "No MIDI output could be opened!\n\n(Tried: %s. Choose another output under File > Settings > MIDI.)";
// %s: the port.
inline constexpr const char* kPortLost = "The MIDI port \"%s\" is gone!\n\n(Playback was stopped.)";
inline constexpr const char* kNoMidiPorts = "This build of Korvane has no MIDI ports!";
// %s: the MIDI module's file, then the system loader's own words.
inline constexpr const char* kMidiModuleUnloadable = "The MIDI module \"%s\" could not be loaded!\n\n(%s)";

inline constexpr std::array kAll = {kNoAudioOutput,   kSoundFontUnreadable, kUnknownSection,    kSilentSection,
                                    kNoSynthesizer,   kUnplayableDivision,  kErrorWritingSound, kSoundFolderMissing,
                                    kStemsNotAFolder, kSoundTooLong,        kMidiTooLong,       kSynthesizerFailed,
                                    kSoundModuleUnloadable, kNoSuchPort,          kPortAmbiguous,     kPortUnopenable,
                                    kNoMidiOutput, kPortLost, kNoMidiPorts, kMidiModuleUnloadable};

}  // namespace play_messages
