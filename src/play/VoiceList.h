// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "format/TrackMap.h"
#include "framework/ByteView.h"
#include "play/PlayError.h"
#include "play/Timeline.h"
#include "play/Voices.h"

// Which voices a style selects, for the companion to list: those of its set-up, and
// those the sections that play select themselves, decided as playback decides them.

struct ChannelVoice {
    int channel = 0;  // 0-15
    StyleVoice voice;
};

// What the companion's info shows of a loaded style's playback, cut as the timeline
// cuts the track, without building a timeline: from the map of the track that the
// load's walk made, walking again only the set-up for its voices.
struct TrackOutline {
    std::array<bool, kSectionCount> sections{};  // the sections it plays; never "SInt"
    // Each channel that plays, in channel order, with the voice the set-up selects for
    // it; none when the track cannot be played.
    std::vector<ChannelVoice> voices;
    // Where the walk of the track ended, where a CASM chunk would begin; 0 when the
    // track could not be walked.
    std::size_t walkEnd = 0;
};
// The outline of a style image whose track map is track. The error of a track that
// cannot be played; the sections are read all the same. A map of a walk that failed
// gives the sections before the fault, and no voices.
PlayError OutlineOfTrack(ByteView image, const TrackMap& track, TrackOutline& outline);
// The same from the image alone, mapping its track first; the walk's error for a
// malformed track.
PlayError ReadTrackOutline(ByteView image, TrackOutline& outline);

struct SectionVoice {
    int section = 0;  // as kSectionNames counts; kSectionSInt for the set-up
    int channel = 0;
    StyleVoice voice;
};

// The voices a play of section selects, in the order it selects them: first every
// channel that plays with its set-up voice, then each voice a played section selects
// (program change or drum part message), with that section, once per section. A Main
// or Fill In that loops is followed through two plays, since a voice it selects may
// depend on the bank its own first play left.
std::vector<SectionVoice> PlayedVoices(const Timeline& timeline, int section, int loops);

// What a play of section puts in place of the style's voices, as SubstitutionText says
// it: the set-up's as they are, a voice a section selects after its section's name
// ("Main A: channel 11: ..."). Empty when the SoundFont plays every voice as selected.
std::vector<std::string> SubstitutionTexts(const Timeline& timeline, int section, int loops, const Synth& synth);
