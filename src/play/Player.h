// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/TrackRewriter.h"
#include "framework/ByteView.h"
#include "play/PlayError.h"
#include "play/chords/Chord.h"
#include "play/chords/Progression.h"
#include "play/sound/AudioOutput.h"
#include "storage/FileSystem.h"

class Scheduler;
struct Timeline;

// Plays one section of a style live, as the form stands, edits included and unsaved.
//
// How the editor uses it (all calls from the one GUI thread):
//   CStylePlayer player;                    // cheap: no synthesizer until the first Play
//   if (PlayError e = player.Play(image, edits, files, "Main A", soundFont)) ShowError(*e);
//   ... a volume, the percentage, "All channels", tempo or time signature changed:
//   player.UpdateEdits(image, edits);       // heard within one beat, without a restart
//   player.HoldChord(*ParseChord("Am7"));   // the left hand: heard within one audio block
//   player.FollowProgression(progression);  // or a progression, from the next bar line
//   PlayStatus s = player.Status();         // for the status line: "Main A - x.sty - 120 bpm"
//   player.Stop();                          // silent at once; also on closing the window
// image is the style as loaded and edits the form's values (what a save would write);
// files reads the SoundFont. The sections for the Play menu: PlayableSections, in menu
// order. Play while
// playing stops the first sound and starts anew (another section, another document).
// Every error is a value with its text ready to show (UTF-8, as file names are, so
// convert it for ShowError like the companion does): no audio output (the
// text names what was tried), an unreadable SoundFont (it names the file and how to
// choose another), a section the style lacks (it names the sections it has); after an
// error nothing plays and nothing else changed.
//
// The audio thread only runs the scheduler, the synthesizer and the output stage (the
// gain and limiter of OutputStage.h, which renders pass too): edits reach it as a new
// timeline handed over through an atomic pointer, built and freed on the caller's
// thread, and the caller's thread calls the synthesizer only while no audio runs (Play
// before the output starts, Stop after it stopped), so the synthesizer needs no lock of
// its own (fluidsynth's is off) and the callback never waits on a lock and never
// allocates.
inline constexpr int kPlayForever = 0;
// After the last event, how long a sound that ends on its own rings on.
inline constexpr int kPlayDecaySeconds = 2;

// The sections a style can play with these edits ("SInt" is set-up, never played), in
// the order of kSectionNames; none when its track cannot be played.
std::vector<std::string> PlayableSections(ByteView image, const TrackEdits& edits);

struct PlayStatus {
    bool playing = false;
    std::string section;  // as kSectionNames spells it
    int bpm = 0;          // the tempo now in force, to the nearest whole beat
    // The chord in force now as ChordText shows it ("Am7"); empty while none was given
    // (the style then plays as a keyboard holding C Maj7).
    std::string chord;
};

class CStylePlayer {
public:
    using OutputFactory = std::function<std::unique_ptr<AudioOutput>(PlayError&)>;
    // Tests hand in an output with a recording synthesizer; the default is the system's.
    explicit CStylePlayer(OutputFactory makeOutput = MakeSystemAudioOutput);
    ~CStylePlayer();
    CStylePlayer(const CStylePlayer&) = delete;
    CStylePlayer& operator=(const CStylePlayer&) = delete;

    // loops: how often a Main or Fill In plays, 0 (the editor) until Stop; the sound
    // ends on its own after the last loop and its decay.
    // With waitForChord (a keyboard's sync start) the style stands still until the first
    // HoldChord or Start; a right hand sounds meanwhile.
    PlayError Play(ByteView image, const TrackEdits& edits, FileSystem& files, std::string_view section,
                   const std::filesystem::path& soundFont, int loops = 0, bool waitForChord = false);
    void Stop();
    // Stops, and from the next Play on sounds through an output makeOutput makes (the
    // user chose another).
    void ChangeOutput(OutputFactory makeOutput);
    // A style waiting for its first chord starts now, on the chord last given (none:
    // as Play without a chord).
    void Start();
    bool IsWaiting() const;
    // A key of a keyboard's right hand (a note-on or note-off; other channel messages
    // too), heard at once on channel 1 over the style while it plays or waits. Calls
    // from the caller's thread; past a few hundred messages within one audio block the
    // newest are dropped.
    void PlayRightHand(std::uint8_t status, std::uint8_t key, std::uint8_t velocity);
    // The right hand's voice from the next Play on: a General MIDI program, 0-127.
    void SetRightHandVoice(int program) { m_rightVoice = program; }
    // Takes the form's current values into the sound now playing; nothing when nothing
    // plays. An edit the save would refuse (a tempo too slow to store) keeps
    // the sound as it was and returns the save's text.
    PlayError UpdateEdits(ByteView image, const TrackEdits& edits);
    // The chords the style follows, from the next Play on and at once while it plays: one
    // chord held from now, as a left hand on a keyboard (sounding notes follow it by their
    // retrigger rule), or a progression from the next bar, looping. Each holds until the next call.
    void HoldChord(const Chord& chord);
    void FollowProgression(const Progression& progression);
    // From the next Play on: every channel as the style stores it, without its rules
    // and without chords (true), or through its rules over the chords given (false).
    void PlayAsRecorded(bool asRecorded) { m_asRecorded = asRecorded; }
    PlayStatus Status() const;
    // False once Stop was called or a sound with a number of loops has ended.
    bool IsPlaying() const;

private:
    class Source;

    OutputFactory m_makeOutput;
    std::unique_ptr<AudioOutput> m_output;
    std::unique_ptr<Source> m_source;
    bool m_playing = false;
    // The chords last given, for the next Play; none given: C Maj7, and the channels
    // whose autostart is off wait for a chord.
    std::optional<Chord> m_held;
    std::optional<Progression> m_following;
    bool m_asRecorded = false;
    int m_rightVoice = 0;
};

// The channel a keyboard's right hand sounds on (channel 1): the parts of a style are on
// channels 9-16.
inline constexpr int kRightHandChannel = 0;
