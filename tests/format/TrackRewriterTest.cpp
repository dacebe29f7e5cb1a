// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "StyleBytes.h"
#include "format/StyleReader.h"
#include "format/TrackRewriter.h"

namespace {

// The edits a document holds right after loading the image: nothing changed.
TrackEdits UneditedEdits(const Bytes& image) {
    StyleFacts facts;
    EXPECT_FALSE(ReadStyle(image.view(), facts));
    return UneditedEdits(facts);
}

Bytes Rewrite(const Bytes& image, const TrackEdits& edits) {
    RewrittenTrack track;
    EXPECT_EQ(RewriteTrack(image.view(), edits, track), std::nullopt);
    Bytes bytes;
    bytes.data = track.bytes;
    return bytes;
}

TEST(RewriteTrack, TitleAndNewCopyrightWorkedExample) {
    const Bytes rest = TempoEvent(500000) + VolumeEvent(9, 100) + EndOfTrack();
    const Bytes image = StyleFile(TitleEvent("Pop") + Sff1Marker() + rest);
    TrackEdits edits = UneditedEdits(image);
    edits.title = "Rock";
    edits.copyright = "X";
    const Bytes expected = StyleFile(TitleEvent("Rock") + CopyrightEvent("X") + Sff1Marker() + rest);
    EXPECT_EQ(Rewrite(image, edits).data, expected.data);
    EXPECT_EQ(expected.size(), image.size() + 6);
}

TEST(RewriteTrack, UneditedTempoKeepsTheKeyboardsRounding) {
    // 666,667 microseconds a quarter: 89.99995 beats a minute, shown as 90.
    const Bytes image = StyleFile(BasicEvents() + TempoEvent(666667) + EndOfTrack());
    TrackEdits edits = UneditedEdits(image);
    EXPECT_EQ(edits.tempo, 90);
    EXPECT_EQ(Rewrite(image, edits).data, image.data);
    edits.tempo = 89;
    EXPECT_EQ(Rewrite(image, edits).data, StyleFile(BasicEvents() + TempoEvent(674157) + EndOfTrack()).data);
    edits.tempo = 120;
    EXPECT_EQ(Rewrite(image, edits).data,
              StyleFile(BasicEvents() + Meta(0x51, {0x07, 0xA1, 0x20}) + EndOfTrack()).data);
}

TEST(RewriteTrack, OnlyTheTempoTheLoadReadsIsWritten) {
    const Bytes later = MarkerEvent("Main A") + TempoEvent(400000);
    const Bytes image = StyleFile(BasicEvents() + TempoEvent(500000) + TempoEvent(300000) + later);
    TrackEdits edits = UneditedEdits(image);
    edits.tempo = 60;
    EXPECT_EQ(Rewrite(image, edits).data,
              StyleFile(BasicEvents() + TempoEvent(1000000) + TempoEvent(300000) + later).data);
    // A tempo after "Main A" is never touched, even with none before it.
    const Bytes sectionTempo = StyleFile(BasicEvents() + later);
    TrackEdits none = UneditedEdits(sectionTempo);
    EXPECT_EQ(none.tempo, -1);
    EXPECT_EQ(Rewrite(sectionTempo, none).data, sectionTempo.data);
}

TEST(RewriteTrack, TempoZeroAndUnreadableTempoEventsStayAsTheyAre) {
    const Bytes image = StyleFile(BasicEvents() + TempoEvent(500000) + EndOfTrack());
    TrackEdits edits = UneditedEdits(image);
    edits.tempo = 0;
    EXPECT_EQ(Rewrite(image, edits).data, image.data);
    // An event too short for three bytes is not written past its end.
    const Bytes shortTempo = StyleFile(BasicEvents() + Meta(0x51, {0x07, 0xA1}) + VolumeEvent(0, 5) + EndOfTrack());
    TrackEdits shortEdits = UneditedEdits(shortTempo);
    shortEdits.tempo = 100;
    EXPECT_EQ(Rewrite(shortTempo, shortEdits).data, shortTempo.data);
}

TEST(RewriteTrack, TempoTooSlowForTheFieldIsNeverWritten) {
    // 0xFFFFFF microseconds per quarter note, 3.6 beats per minute, is read as 4.
    const Bytes image = StyleFile(BasicEvents() + TempoEvent(0xFFFFFF) + EndOfTrack());
    TrackEdits edits = UneditedEdits(image);
    ASSERT_EQ(edits.tempo, 4);
    EXPECT_EQ(Rewrite(image, edits).data, image.data);
    for (const std::int16_t tempo : {1, 2, 3}) {
        edits.tempo = tempo;
        RewrittenTrack track;
        const MaybeStyleError error = RewriteTrack(image.view(), edits, track);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->Text(), "A tempo of " + std::to_string(tempo) +
                                     " cannot be stored in a style file!\n\n(The slowest tempo is 4.)");
    }
    edits.tempo = 5;
    EXPECT_EQ(Rewrite(image, edits).data, StyleFile(BasicEvents() + TempoEvent(12000000) + EndOfTrack()).data);
}

TEST(RewriteTrack, TitleLengthChangesMoveTheRestOfTheTrack) {
    const Bytes rest = Sff1Marker() + VolumeEvent(3, 90) + EndOfTrack();
    const Bytes image = StyleFile(TitleEvent("Ten Chars!") + rest);
    TrackEdits edits = UneditedEdits(image);
    edits.title = "Twelve Chars";
    const Bytes grown = Rewrite(image, edits);
    EXPECT_EQ(grown.data, StyleFile(TitleEvent("Twelve Chars") + rest).data);
    EXPECT_EQ(grown.size(), image.size() + 2);
    edits.title = "";
    EXPECT_EQ(Rewrite(image, edits).data, StyleFile(TitleEvent("") + rest).data);
    // A zero-padded title keeps its padding until it is edited; the event type stays.
    const Bytes padded = StyleFile(TextMeta(0x01, std::string("Pad") + std::string(29, '\0')) + rest);
    TrackEdits paddedEdits = UneditedEdits(padded);
    EXPECT_EQ(Rewrite(padded, paddedEdits).data, padded.data);
    paddedEdits.title = "Pads";
    EXPECT_EQ(Rewrite(padded, paddedEdits).data, StyleFile(TextMeta(0x01, "Pads") + rest).data);
    // A title of 200 characters has a two-byte length; the edited one gets one byte.
    const Bytes longTitle = StyleFile(TitleEvent(std::string(200, 'L')) + rest);
    TrackEdits longEdits = UneditedEdits(longTitle);
    EXPECT_EQ(Rewrite(longTitle, longEdits).data, longTitle.data);
    longEdits.title = "Short";
    EXPECT_EQ(Rewrite(longTitle, longEdits).data, StyleFile(TitleEvent("Short") + rest).data);
}

TEST(RewriteTrack, CopyrightCases) {
    const Bytes after = Sff1Marker() + EndOfTrack();
    const Bytes image = StyleFile(TitleEvent("T") + CopyrightEvent("Old") + after);
    TrackEdits edits = UneditedEdits(image);

    edits.copyright = "New";  // same length: overwritten in place
    EXPECT_EQ(Rewrite(image, edits).data, StyleFile(TitleEvent("T") + CopyrightEvent("New") + after).data);
    edits.copyright = "Longer text";
    EXPECT_EQ(Rewrite(image, edits).data, StyleFile(TitleEvent("T") + CopyrightEvent("Longer text") + after).data);
    edits.copyright = "";  // removed with its header: the track shrinks by 3 + 4
    const Bytes removed = Rewrite(image, edits);
    EXPECT_EQ(removed.data, StyleFile(TitleEvent("T") + after).data);
    EXPECT_EQ(removed.size(), image.size() - 7);

    const Bytes emptyEvent = StyleFile(TitleEvent("T") + CopyrightEvent("") + after);
    EXPECT_EQ(Rewrite(emptyEvent, UneditedEdits(emptyEvent)).data, emptyEvent.data);

    // A copyright event after the marker is rewritten where it is; none is inserted.
    const Bytes late = StyleFile(TitleEvent("T") + Sff1Marker() + CopyrightEvent("Late") + EndOfTrack());
    TrackEdits lateEdits = UneditedEdits(late);
    lateEdits.copyright = "Later";
    EXPECT_EQ(Rewrite(late, lateEdits).data,
              StyleFile(TitleEvent("T") + Sff1Marker() + CopyrightEvent("Later") + EndOfTrack()).data);
}

TEST(RewriteTrack, CopyrightRemovalKeepsEveryLaterEventAtItsTime) {
    const Bytes sff1 = Bytes{0xFF, 0x06, 0x04} + Bytes::Text("SFF1");
    const Bytes note = Bytes{0x90, 0x3C, 0x64};
    const struct {
        const char* what;
        Bytes copyrightDelta;
        Bytes after;     // the events after the copyright event, each with its delta time
        Bytes expected;  // the same events once the copyright event is gone
    } cases[] = {
        {"delta 0, as in nearly every style", {0x00}, Bytes{0x00} + sff1, Bytes{0x00} + sff1},
        {"delta 128 onto delta 0", {0x81, 0x00}, Bytes{0x00} + sff1, Bytes{0x81, 0x00} + sff1},
        {"sum needs a longer number", {0x7F}, Bytes{0x01} + sff1, Bytes{0x81, 0x00} + sff1},
        {"onto a channel message",
         {0x10},
         Bytes{0x00} + sff1 + Bytes{0x20} + note,
         Bytes{0x10} + sff1 + Bytes{0x20} + note},
    };
    for (const auto& c : cases) {
        const Bytes image = StyleFile(TitleEvent("T") + c.copyrightDelta + Bytes{0xFF, 0x02, 0x02, 'C', 'R'} + c.after);
        TrackEdits edits = UneditedEdits(image);
        edits.copyright = "";
        EXPECT_EQ(Rewrite(image, edits).data, StyleFile(TitleEvent("T") + c.expected).data) << c.what;
    }
    // Two delta times too long for one: the event stays, emptied, and keeps the timing.
    const Bytes longest = {0xFF, 0xFF, 0xFF, 0x7F};
    const Bytes image = StyleFile(TitleEvent("T") + longest + Bytes{0xFF, 0x02, 0x01, 'C'} + Bytes{0x01} + sff1);
    TrackEdits edits = UneditedEdits(image);
    edits.copyright = "";
    EXPECT_EQ(Rewrite(image, edits).data,
              StyleFile(TitleEvent("T") + longest + Bytes{0xFF, 0x02, 0x00} + Bytes{0x01} + sff1).data);
}

TEST(RewriteTrack, CopyrightIsInsertedBeforeTheWholeMarkerEvent) {
    const Bytes marker = Bytes{0x83, 0x00, 0xFF, 0x06, 0x04} + Bytes::Text("SFF1");
    const Bytes image = StyleFile(TitleEvent("T") + marker);
    TrackEdits edits = UneditedEdits(image);
    edits.copyright = "(C)";
    EXPECT_EQ(Rewrite(image, edits).data, StyleFile(TitleEvent("T") + CopyrightEvent("(C)") + marker).data);
}

TEST(RewriteTrack, TimeSignature) {
    const Bytes later = TimeSignatureEvent(3, 2);
    const Bytes image = StyleFile(BasicEvents() + TimeSignatureEvent(4, 2) + later);
    TrackEdits edits = UneditedEdits(image);
    edits.timeSigNumerator = 6;
    edits.timeSigDenominator = 8;
    EXPECT_EQ(Rewrite(image, edits).data, StyleFile(BasicEvents() + TimeSignatureEvent(6, 3) + later).data);
    edits.timeSigDenominator = 6;  // not a power of two: the one below
    EXPECT_EQ(Rewrite(image, edits).data, StyleFile(BasicEvents() + TimeSignatureEvent(6, 2) + later).data);
    // No time signature in the style: nothing written.
    const Bytes none = StyleFile(BasicEvents() + EndOfTrack());
    EXPECT_EQ(Rewrite(none, UneditedEdits(none)).data, none.data);
}

TEST(DenominatorPower, HalvingsWhileAboveOne) {
    EXPECT_EQ(DenominatorPower(1), 0);
    EXPECT_EQ(DenominatorPower(2), 1);
    EXPECT_EQ(DenominatorPower(3), 1);
    EXPECT_EQ(DenominatorPower(4), 2);
    EXPECT_EQ(DenominatorPower(6), 2);
    EXPECT_EQ(DenominatorPower(8), 3);
    EXPECT_EQ(DenominatorPower(12), 3);
    EXPECT_EQ(DenominatorPower(128), 7);
}

TEST(RewrittenVolume, OnePercentageForEveryChannel) {
    TrackEdits edits;
    edits.allChannels = true;
    edits.allChannelsPercent = 50;
    EXPECT_EQ(RewrittenVolume(100, 0, edits), 50);
    EXPECT_EQ(RewrittenVolume(127, 5, edits), 63);
    edits.allChannelsPercent = 200;
    EXPECT_EQ(RewrittenVolume(50, 0, edits), 100);
    EXPECT_EQ(RewrittenVolume(64, 0, edits), 127);
    EXPECT_EQ(RewrittenVolume(100, 0, edits), 127);
    edits.allChannelsPercent = 0;
    EXPECT_EQ(RewrittenVolume(100, 0, edits), 0);
    // A malformed value above 127 is not a volume and is not made into one.
    edits.allChannelsPercent = 50;
    EXPECT_EQ(RewrittenVolume(238, 0, edits), 238);
    edits.allChannelsPercent = 0;
    edits.allChannelsPercent = 100;  // the per-channel values are not used
    edits.origVolume[0] = 100;
    edits.volume[0] = 10;
    EXPECT_EQ(RewrittenVolume(100, 0, edits), 100);
}

TEST(RewrittenVolume, EachChannelInProportionToItsFirstVolume) {
    TrackEdits edits;
    edits.allChannels = false;
    edits.origVolume[9] = 100;
    edits.volume[9] = 80;
    EXPECT_EQ(RewrittenVolume(100, 9, edits), 80);
    EXPECT_EQ(RewrittenVolume(64, 9, edits), 51);
    EXPECT_EQ(RewrittenVolume(127, 9, edits), 101);
    edits.volume[9] = 127;
    EXPECT_EQ(RewrittenVolume(127, 9, edits), 127);  // 162 clamped
    // Unedited and volume-less channels keep every value.
    edits.origVolume[3] = 90;
    edits.volume[3] = 90;
    EXPECT_EQ(RewrittenVolume(40, 3, edits), 40);
    EXPECT_EQ(RewrittenVolume(40, 4, edits), 40);
    // A first volume of 0: its events take the edited volume, nothing else divides by 0.
    edits.origVolume[5] = 0;
    edits.volume[5] = 70;
    EXPECT_EQ(RewrittenVolume(0, 5, edits), 70);
    EXPECT_EQ(RewrittenVolume(30, 5, edits), 30);
}

TEST(RewriteTrack, VolumesUnderRunningStatusAndOtherControllersUntouched) {
    const Bytes events =
        VolumeEvent(2, 100) + Running(0x07, 64) + Running(0x0A, 100) + NoteOn(2, 7, 100) + Bytes{0x00, 0xB2, 0x0B, 100};
    const Bytes image = StyleFile(BasicEvents() + events + EndOfTrack());
    TrackEdits edits = UneditedEdits(image);
    edits.allChannelsPercent = 50;
    const Bytes expected =
        VolumeEvent(2, 50) + Running(0x07, 32) + Running(0x0A, 100) + NoteOn(2, 7, 100) + Bytes{0x00, 0xB2, 0x0B, 100};
    EXPECT_EQ(Rewrite(image, edits).data, StyleFile(BasicEvents() + expected + EndOfTrack()).data);
}

TEST(RewriteTrack, KeepsATrackLengthOneByteShort) {
    Bytes image = StyleFile(BasicEvents() + EndOfTrack(), Ots());
    image.data[21] -= 1;
    TrackEdits edits = UneditedEdits(image);
    edits.title = "Longer Title";
    RewrittenTrack track;
    ASSERT_EQ(RewriteTrack(image.view(), edits, track), std::nullopt);
    EXPECT_EQ(track.walkEnd, 48u);
    Bytes expected = StyleFile(BasicEvents("Longer Title") + EndOfTrack());
    expected.data[21] -= 1;
    EXPECT_EQ(track.bytes, expected.data);
}

}  // namespace
