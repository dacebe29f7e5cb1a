// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

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

// What the companion's info shows of a loaded style's playback, read in one walk of
// its track, cut as the timeline cuts it, without building a timeline.
struct TrackOutline {
    std::array<bool, kPlaySectionCount> sections{};  // the sections it plays; never "SInt"
    // Each channel that plays, in channel order, with the voice the set-up selects for
    // it; none when the track cannot be played.
    std::vector<ChannelVoice> voices;
    // Where the walk of the track ended, where a CASM chunk would begin; 0 when the
    // track could not be walked.
    std::size_t walkEnd = 0;
};
// The error of a track that cannot be played; the sections are read all the same.
PlayError ReadTrackOutline(ByteView image, TrackOutline& outline);

struct SectionVoice {
    int section = 0;  // as kPlaySectionNames counts; kPlaySectionSInt for the set-up
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
