// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/VoiceList.h"

#include <algorithm>
#include <string_view>

#include "format/TrackScan.h"
#include "format/TrackWalker.h"

namespace {

bool SameVoice(const StyleVoice& a, const StyleVoice& b) {
    return a.msb == b.msb && a.msbSet == b.msbSet && a.lsb == b.lsb && a.program == b.program &&
           a.programSet == b.programSet && a.xgDrumPart == b.xgDrumPart;
}

// Beyond two plays of a looping section every voice it selects repeats: each play
// starts from what the one before left, and the second leaves what the first did.
constexpr int kPlaysThatSelectAnew = 2;

}  // namespace

PlayError ReadTrackOutline(ByteView image, TrackOutline& outline) {
    outline = TrackOutline{};
    std::size_t trackLength = 0;
    if (MaybeStyleError error = ReadTrackLength(image, trackLength)) return error->Text();
    int division = 0;
    const PlayError unplayable = ReadPlayableDivision(image, division);

    TrackWalker walker(image, kTrackDataOffset + trackLength);
    SectionCut cut;
    StyleVoices voices{};
    std::array<bool, 16> used{};
    int channel = 0;
    for (TrackEvent event; walker.Next(event);) {
        if (event.type == TrackEvent::Type::Channel) {
            if (cut.Current() == SectionCut::Target::Skipped) continue;
            used[event.channel] = true;
            if (cut.Current() == SectionCut::Target::SetUp) {
                TakeVoiceEvent(voices, ChannelEventOf(image, event), image, channel);
            }
        } else if (event.type == TrackEvent::Type::Meta) {
            if (event.metaType != kMetaMarker) continue;
            const std::string_view text(reinterpret_cast<const char*>(image.data() + event.data), event.length);
            const std::optional<int> section = PlaySectionOfMarker(text);
            if (section && cut.Enter(*section) == SectionCut::Target::Section) outline.sections[*section] = true;
        } else if (cut.Current() == SectionCut::Target::SetUp && image[event.status] == 0xF0) {
            TimelineEvent sysex;
            sysex.kind = TimelineEvent::Kind::SysEx;
            sysex.value = static_cast<std::uint32_t>(event.data);
            sysex.length = event.length;
            TakeVoiceEvent(voices, sysex, image, channel);
        }
    }
    if (walker.Error()) return walker.Error()->Text();
    outline.walkEnd = walker.Position();
    if (unplayable) return unplayable;
    for (int c = 0; c < 16; ++c) {
        if (used[c]) outline.voices.push_back({c, voices[c]});
    }
    return std::nullopt;
}

std::vector<SectionVoice> PlayedVoices(const Timeline& timeline, int section, int loops) {
    std::vector<SectionVoice> list;
    StyleVoices voices = SetUpVoices(timeline);
    for (int c = 0; c < 16; ++c) {
        if (timeline.channelsUsed[c]) list.push_back({kPlaySectionSInt, c, voices[c]});
    }
    const std::array<bool, kPlaySectionCount> present = timeline.Present();
    for (std::optional<int> s = section; s;) {
        const std::optional<int> next = NextSection(*s, present);
        const bool repeats = next == s;
        const int plays = repeats ? (loops == 0 ? kPlaysThatSelectAnew : std::min(loops, kPlaysThatSelectAnew)) : 1;
        const std::size_t first = list.size();
        if (const TimelineSection* played = timeline.Find(*s)) {
            for (int play = 0; play < plays; ++play) {
                for (const TimelineEvent& event : played->events) {
                    int channel = 0;
                    if (!TakeVoiceEvent(voices, event, timeline, channel)) continue;
                    const SectionVoice selected{*s, channel, voices[channel]};
                    const bool listed = std::any_of(
                        list.begin() + static_cast<std::ptrdiff_t>(first), list.end(), [&](const SectionVoice& v) {
                            return v.channel == channel && SameVoice(v.voice, voices[channel]);
                        });
                    if (!listed) list.push_back(selected);
                }
            }
        }
        s = repeats ? std::nullopt : next;
    }
    return list;
}

std::vector<std::string> SubstitutionTexts(const Timeline& timeline, int section, int loops, const Synth& synth) {
    std::vector<std::string> texts;
    for (const SectionVoice& v : PlayedVoices(timeline, section, loops)) {
        std::string text = SubstitutionText(v.voice, v.channel, DecideVoice(v.voice, v.channel, synth));
        if (text.empty()) continue;
        if (v.section != kPlaySectionSInt) text = std::string(kPlaySectionNames[v.section]) + ": " + text;
        texts.push_back(std::move(text));
    }
    return texts;
}
