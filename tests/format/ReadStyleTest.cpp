// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "StyleBytes.h"
#include "format/StyleReader.h"

namespace {

struct Loaded {
    StyleFacts facts;
    std::string error;  // the text as the user sees it; empty when the load succeeded
};

Loaded Read(const Bytes& image) {
    Loaded loaded;
    if (MaybeStyleError error = ReadStyle(image.view(), loaded.facts)) loaded.error = error->Text();
    return loaded;
}

StyleFacts ReadOk(const Bytes& image) {
    Loaded loaded = Read(image);
    EXPECT_EQ(loaded.error, "");
    return loaded.facts;
}

StyleFacts ReadEvents(const Bytes& events, const Bytes& afterTrack = {}) {
    return ReadOk(StyleFile(BasicEvents() + events + EndOfTrack(), afterTrack));
}

TEST(ReadStyle, MinimalStyleHasOnlyItsTitle) {
    const Bytes image = MinimalStyle();
    ASSERT_EQ(image.size(), 48u);
    const StyleFacts facts = ReadOk(image);
    EXPECT_EQ(facts.title, "Test Style");
    EXPECT_EQ(facts.titleLength, 10);
    EXPECT_FALSE(facts.hasCopyright);
    EXPECT_EQ(facts.tempo, -1);
    EXPECT_EQ(facts.timeSigNumerator, 0);
    EXPECT_EQ(facts.timeSigDenominator, 0);
    EXPECT_FALSE(facts.hasCASM);
    EXPECT_FALSE(facts.hasOTS);
    for (bool section : facts.sections) EXPECT_FALSE(section);
    for (int c = 0; c < kChannelCount; ++c) {
        EXPECT_EQ(facts.origVolume[c], -1);
        EXPECT_EQ(facts.channelPart[c], -1);
        EXPECT_EQ(facts.channelLabel[c], "");
    }
}

TEST(ReadStyle, TitleText) {
    EXPECT_EQ(ReadOk(StyleFile(BasicEvents("Pop   ") + EndOfTrack())).title, "Pop");
    EXPECT_EQ(ReadOk(StyleFile(BasicEvents("Pop \t\r\n\v\f") + EndOfTrack())).title, "Pop");
    const std::string forty(40, 'x');
    const StyleFacts longTitle = ReadOk(StyleFile(BasicEvents(forty) + EndOfTrack()));
    EXPECT_EQ(longTitle.title, std::string(32, 'x'));
    EXPECT_EQ(longTitle.titleLength, 40);
    // Keyboards pad their titles with zero bytes to 32.
    const StyleFacts padded =
        ReadOk(StyleFile(TitleEvent(std::string("Rock") + std::string(28, '\0')) + Sff1Marker() + EndOfTrack()));
    EXPECT_EQ(padded.title, "Rock");
    EXPECT_EQ(padded.titleLength, 32);
    const StyleFacts empty = ReadOk(StyleFile(TitleEvent("") + Sff1Marker() + EndOfTrack()));
    EXPECT_EQ(empty.title, "");
    EXPECT_EQ(empty.titleLength, 0);
}

TEST(ReadStyle, TitleIsTheFirstTextOrSequenceNameEvent) {
    EXPECT_EQ(ReadOk(StyleFile(TextMeta(0x01, "Text Title") + TitleEvent("Name") + Sff1Marker())).title, "Text Title");
    EXPECT_EQ(ReadOk(StyleFile(BasicEvents("First") + TextMeta(0x01, "fn:Second"))).title, "First");
}

TEST(ReadStyle, CopyrightIsTheFirstCopyrightEvent) {
    const StyleFacts facts = ReadEvents(CopyrightEvent("(C) Me  ") + CopyrightEvent("Other"));
    EXPECT_TRUE(facts.hasCopyright);
    EXPECT_EQ(facts.copyright, "(C) Me");
    EXPECT_EQ(facts.copyrightLength, 8);
    const StyleFacts emptyEvent = ReadEvents(CopyrightEvent(""));
    EXPECT_TRUE(emptyEvent.hasCopyright);
    EXPECT_EQ(emptyEvent.copyrightLength, 0);
}

TEST(ReadStyle, TempoIsTheFirstTempoBeforeMainA) {
    EXPECT_EQ(ReadEvents(TempoEvent(500000)).tempo, 120);
    // To the nearest whole beat, as a keyboard shows it.
    EXPECT_EQ(ReadEvents(TempoEvent(0x068DB8)).tempo, 140);  // 139.7
    EXPECT_EQ(ReadEvents(TempoEvent(666667)).tempo, 90);     // 89.99995
    EXPECT_EQ(ReadEvents(TempoEvent(500001)).tempo, 120);
    EXPECT_EQ(ReadEvents(TempoEvent(600000)).tempo, 100);
    EXPECT_EQ(ReadEvents(TempoEvent(0xFFFFFF)).tempo, 4);  // 3.58
    EXPECT_EQ(ReadEvents(TempoEvent(500000) + TempoEvent(1000000)).tempo, 120);
    EXPECT_EQ(ReadEvents(MarkerEvent("Main A") + TempoEvent(500000)).tempo, -1);
    EXPECT_EQ(ReadEvents(TempoEvent(1000000) + MarkerEvent("Main A") + TempoEvent(500000)).tempo, 60);
}

TEST(ReadStyle, TempoThatTheDocumentCannotHoldIsLeftWithoutValue) {
    // 0 would divide by zero; below 1832 microseconds the tempo passes 32767.
    EXPECT_EQ(ReadEvents(TempoEvent(0)).tempo, -1);
    EXPECT_EQ(ReadEvents(TempoEvent(1831)).tempo, -1);
    EXPECT_EQ(ReadEvents(TempoEvent(1832)).tempo, 32751);
    // The unusable event is still the style's tempo: a later one does not take its place.
    EXPECT_EQ(ReadEvents(TempoEvent(0) + TempoEvent(500000)).tempo, -1);
    // An event too short for three bytes is not read past its end.
    EXPECT_EQ(ReadEvents(Meta(0x51, {0x07, 0xA1}) + TempoEvent(500000)).tempo, -1);
}

TEST(ReadStyle, TimeSignature) {
    const StyleFacts threeFour = ReadEvents(TimeSignatureEvent(3, 2));
    EXPECT_EQ(threeFour.timeSigNumerator, 3);
    EXPECT_EQ(threeFour.timeSigDenominator, 4);
    const StyleFacts sixEight = ReadEvents(TimeSignatureEvent(6, 3) + TimeSignatureEvent(4, 2));
    EXPECT_EQ(sixEight.timeSigNumerator, 6);
    EXPECT_EQ(sixEight.timeSigDenominator, 8);
    EXPECT_EQ(ReadEvents(TimeSignatureEvent(4, 0)).timeSigDenominator, 1);
    EXPECT_EQ(ReadEvents(TimeSignatureEvent(4, 30)).timeSigDenominator, 1 << 30);
    // A power past the 32-bit field, or an event too short to hold it: no value.
    const StyleFacts tooLarge = ReadEvents(TimeSignatureEvent(4, 31) + TimeSignatureEvent(3, 2));
    EXPECT_EQ(tooLarge.timeSigNumerator, 0);
    EXPECT_EQ(tooLarge.timeSigDenominator, 0);
    EXPECT_EQ(ReadEvents(Meta(0x58, {4})).timeSigDenominator, 0);
}

TEST(ReadStyle, SectionMarkers) {
    const StyleFacts facts = ReadEvents(MarkerEvent("main b") + MarkerEvent("INTRO C") + MarkerEvent("Ending A") +
                                        MarkerEvent("Main B ") + MarkerEvent("Fill In AA") + MarkerEvent("Main"));
    const std::array<bool, kFormSectionCount> expected = {false, true, false, false, false,
                                                      false, true, true,  false, false};
    EXPECT_EQ(facts.sections, expected);
    EXPECT_TRUE(ReadEvents(MarkerEvent("Main A")).sections[kFormSectionMainA]);
}

TEST(ReadStyle, FormatMarkerMustMatchExactly) {
    EXPECT_EQ(Read(StyleFile(TitleEvent("T") + MarkerEvent("SFF3"))).error,
              "Invalid file structure!\n\n(Missing 'SFF1' or 'SFF2' marker.)");
    EXPECT_EQ(Read(StyleFile(TitleEvent("T") + MarkerEvent("sff1"))).error,
              "Invalid file structure!\n\n(Missing 'SFF1' or 'SFF2' marker.)");
    EXPECT_EQ(Read(StyleFile(TitleEvent("T") + MarkerEvent("SFF1 "))).error,
              "Invalid file structure!\n\n(Missing 'SFF1' or 'SFF2' marker.)");
    EXPECT_EQ(Read(StyleFile(Sff1Marker())).error, "Invalid file structure!\n\n(Missing style title.)");
    EXPECT_EQ(Read(StyleFile(MarkerEvent("Main A"))).error, "Invalid file structure!\n\n(Missing style title.)");
}

TEST(ReadStyle, FirstVolumeOfEachChannelCounts) {
    const StyleFacts facts = ReadEvents(VolumeEvent(9, 100) + VolumeEvent(9, 80) + MarkerEvent("Main B") +
                                        VolumeEvent(2, 128) + VolumeEvent(2, 64) + VolumeEvent(0, 0));
    EXPECT_EQ(facts.origVolume[9], 100);
    EXPECT_EQ(facts.origVolume[2], 64);  // 128 is not a volume
    EXPECT_EQ(facts.origVolume[0], 0);
    EXPECT_EQ(facts.origVolume[1], -1);
    // Other controllers and other messages are not volumes.
    const StyleFacts others =
        ReadEvents(Bytes{0x00, 0xB3, 0x0A, 50} + NoteOn(3, 60, 7) + Bytes{0x00, 0xC3, 0x07} + Bytes{0x00, 0xD3, 0x07});
    EXPECT_EQ(others.origVolume[3], -1);
}

TEST(ReadStyle, RunningStatusCarriesAcrossMetaAndSysEx) {
    const StyleFacts facts = ReadEvents(Bytes{0x00, 0xB4, 0x0A, 0x40} + MarkerEvent("x") + SysEx({0x43, 0x10}) +
                                        Running(0x07, 99) + NoteOn(5, 60, 100) + Running(0x07, 70));
    EXPECT_EQ(facts.origVolume[4], 99);
    EXPECT_EQ(facts.origVolume[5], -1);  // the running status is now a note on
    // Program change and channel pressure take one data byte under running status too.
    const StyleFacts oneByte = ReadEvents(Bytes{0x00, 0xC6, 0x05} + Bytes{0x00, 0x07} + VolumeEvent(6, 90));
    EXPECT_EQ(oneByte.origVolume[6], 90);
}

TEST(ReadStyle, DeltaTimesAndVariableLengthMetaAndSysExLengths) {
    // Multi-byte delta times are skipped; lengths of 128 and more take several bytes
    // (81 01 is 129), and a long text or system exclusive message is passed over whole.
    const StyleFacts facts =
        ReadEvents(Bytes{0x81, 0x80, 0x00, 0xB1, 0x07, 77} + Bytes{0x00, 0xFF, 0x7F, 0x81, 0x01} +
                   Bytes::Repeat(0xB2, 129) + VolumeEvent(2, 55) + TextMeta(0x01, std::string(200, 'x')) +
                   SysEx(Bytes{0x43} + Bytes::Repeat(0xB3, 300) + Bytes{0xF7}) + VolumeEvent(3, 33));
    EXPECT_EQ(facts.origVolume[1], 77);
    EXPECT_EQ(facts.origVolume[2], 55);
    EXPECT_EQ(facts.origVolume[3], 33);
    // A long title is read as its first 32 characters.
    const StyleFacts longTitle = ReadOk(StyleFile(TitleEvent(std::string(200, 't')) + Sff1Marker() + EndOfTrack()));
    EXPECT_EQ(longTitle.title, std::string(32, 't'));
    EXPECT_EQ(longTitle.titleLength, 200);
}

// The load's walk maps the track at its markers as it goes (playback's outline of a
// loaded style comes from it), passing channel messages by without stopping: the map
// is the one a walk that stops at every event makes.
TEST(ReadStyle, MapsTheTrackAtItsMarkers) {
    // Offsets: the basic events end at 44, the controller after them takes 4 bytes and
    // the "SInt" marker 8.
    const Bytes image = StyleFile(BasicEvents() + Bytes{0x00, 0xB3, 0x00, 0x7F} + MarkerEvent("SInt") +
                                  Running(0x20, 0x05) + SysEx({0x43, 0x10, 0xF7}) + MarkerEvent("Main A") +
                                  NoteOn(9, 36, 100) + Running(36, 0) + Bytes{0x81, 0x00, 0xC2, 0x07} + EndOfTrack());
    const StyleFacts facts = ReadOk(image);
    TrackMap walked;
    ASSERT_FALSE(MapTrack(image.view(), walked));
    EXPECT_EQ(facts.track, walked);

    const TrackMap& map = facts.track;
    EXPECT_EQ(map.walkEnd, image.size());
    ASSERT_EQ(map.stretches.size(), 4u);  // from the track's start, "SFF1", "SInt", "Main A"
    EXPECT_FALSE(map.stretches[0].HasMarker());
    EXPECT_EQ(map.stretches[0].channels, 0);
    EXPECT_EQ(map.stretches[1].channels, 1 << 3);
    const TrackStretch& setUp = map.stretches[2];
    EXPECT_EQ(setUp.marker, 48u);
    EXPECT_EQ(std::string(image.data.begin() + static_cast<std::ptrdiff_t>(setUp.text),
                          image.data.begin() + static_cast<std::ptrdiff_t>(setUp.text + setUp.textLength)),
              "SInt");
    EXPECT_EQ(setUp.begin, 56u);
    EXPECT_EQ(setUp.runningStatus, 0xB3);  // carried over the marker
    EXPECT_EQ(setUp.channels, 1 << 3);
    EXPECT_EQ(setUp.end, map.stretches[3].marker);
    EXPECT_EQ(map.stretches[3].channels, (1 << 9) | (1 << 2));
    EXPECT_EQ(map.stretches[3].end, map.walkEnd);
}

TEST(ReadStyle, ChannelLabelsWithoutCasmFollowTheChannel) {
    Bytes volumes;
    for (std::uint8_t c = 0; c < 16; ++c) volumes += VolumeEvent(c, 100);
    const StyleFacts facts = ReadEvents(volumes);
    const std::array<std::string, 16> expected = {
        "(1):",  "(2):",  "(3):",  "(4):",  "(5):",  "(6):", "(7):",  "(8):",
        "Rhy1:", "Rhy2:", "Bass:", "Chd1:", "Chd2:", "Pad:", "Phr1:", "Phr2:"};
    EXPECT_EQ(facts.channelLabel, expected);
    for (int c = 0; c < 16; ++c) EXPECT_EQ(facts.channelPart[c], c);
}

TEST(ReadStyle, CasmChannelTable) {
    const Bytes casm = Casm(Cseg(Sdec() + Ctab(3, 10) + Ctab(3, 12) + Ctab(20, 9) + Ctab(5, 16) + Ctab(6, 2)) +
                            Cseg(Sdec() + Ctab(7, 13) + Cntt()));
    const StyleFacts facts = ReadEvents(
        VolumeEvent(3, 100) + VolumeEvent(8, 100) + VolumeEvent(5, 90) + VolumeEvent(6, 80) + VolumeEvent(7, 70), casm);
    EXPECT_TRUE(facts.hasCASM);
    EXPECT_EQ(facts.casmLength, static_cast<std::int32_t>(casm.size()));
    EXPECT_TRUE(facts.hasCntt);
    EXPECT_FALSE(facts.hasOTS);
    EXPECT_EQ(facts.channelLabel[3], "Bass:");  // the first Ctab for a channel decides
    EXPECT_EQ(facts.channelLabel[8], "Rhy1:");  // no Ctab: the channel itself
    EXPECT_EQ(facts.channelLabel[5], "(6):");   // part 16 is ignored
    EXPECT_EQ(facts.channelLabel[6], "(3):");
    EXPECT_EQ(facts.channelLabel[7], "Pad:");  // found in the second CSEG
    EXPECT_EQ(facts.channelPart[2], -1);       // no volume, no label
    EXPECT_EQ(facts.channelLabel[2], "");
}

TEST(ReadStyle, CtabTooShortForItsPartIsIgnored) {
    const StyleFacts facts = ReadEvents(VolumeEvent(3, 100), Casm(Cseg(Chunk("Ctab", {3, 0, 0, 0, 0, 0, 0, 0, 0}))));
    EXPECT_EQ(facts.channelPart[3], 3);
}

TEST(ReadStyle, ChunksAfterTheTrack) {
    const StyleFacts both = ReadEvents({}, Casm(Cseg(Sdec())) + Ots() + Chunk("FNRc", Bytes::Text("x")));
    EXPECT_TRUE(both.hasCASM);
    EXPECT_FALSE(both.hasCntt);
    EXPECT_TRUE(both.hasOTS);
    const StyleFacts otsOnly = ReadEvents({}, Ots());
    EXPECT_FALSE(otsOnly.hasCASM);
    EXPECT_TRUE(otsOnly.hasOTS);
    const StyleFacts unknown = ReadEvents({}, Chunk("MTrk", Bytes::Text("second track")) + Ots());
    EXPECT_FALSE(unknown.hasCASM);
    EXPECT_FALSE(unknown.hasOTS);
    // A chunk is only recognised where more than four bytes are left.
    EXPECT_FALSE(ReadEvents({}, Bytes::Text("OTSc")).hasOTS);
    EXPECT_TRUE(ReadEvents({}, Bytes::Text("OTSc") + Bytes{0}).hasOTS);
}

TEST(ReadStyle, EndOfTrackPlacement) {
    // Track length one byte short: the end-of-track length byte lies just past it.
    Bytes oneShort = MinimalStyle() + Ots();
    oneShort.data[21] -= 1;
    EXPECT_EQ(Read(oneShort).error, "");
    // A track without an end-of-track event is accepted.
    EXPECT_EQ(Read(StyleFile(BasicEvents())).error, "");
}

struct BadFile {
    const char* name;
    Bytes image;
    const char* error;
};

void PrintTo(const BadFile& file, std::ostream* os) { *os << file.name; }

class ReadStyleRejects : public testing::TestWithParam<BadFile> {};

TEST_P(ReadStyleRejects, WithItsMessage) { EXPECT_EQ(Read(GetParam().image).error, GetParam().error); }

Bytes WithByte(Bytes bytes, std::size_t offset, std::uint8_t value) {
    bytes.data[offset] = value;
    return bytes;
}

Bytes WithTrackLength(Bytes bytes, std::uint32_t length) {
    const Bytes field = Bytes::U32BE(length);
    std::copy(field.data.begin(), field.data.end(), bytes.data.begin() + 18);
    return bytes;
}

// Offsets: the track data begins at 22 (0x16); the basic events take 22 bytes, so
// the first event after them begins at 44 (0x2c).
INSTANTIATE_TEST_SUITE_P(
    Structure, ReadStyleRejects,
    testing::Values(BadFile{"no MThd", WithByte(MinimalStyle(), 0, 'm'),
                            "This file is not a Yamaha style file!\n\n(Invalid header.)"},
                    BadFile{"header length 7", HeaderChunk() + Bytes{0} + Chunk("MTrk", BasicEvents()),
                            "This file is not a Yamaha style file!\n\n(Invalid track header.)"},
                    BadFile{"data byte before any status", StyleFile(Bytes{0x00, 0x40} + BasicEvents()),
                            "Invalid style file structure (at: 0x17)!"},
                    BadFile{"system common status", StyleFile(BasicEvents() + Bytes{0x00, 0xF2, 0x00, 0x00}),
                            "Invalid style file structure (at: 0x2d)!"},
                    BadFile{"events after end of track",
                            StyleFile(BasicEvents() + EndOfTrack() + MarkerEvent("Main A")),
                            "Invalid style file structure (at: 0x30)!\n\n(Missing track end marker.)"},
                    BadFile{"end of track of length 1 at the end",
                            StyleFile(BasicEvents() + Bytes{0x00, 0xFF, 0x2F, 0x01, 0x00}),
                            "Invalid style file structure (at: 0x30)!\n\n(Missing track end marker.)"},
                    BadFile{"track length two bytes short", WithTrackLength(MinimalStyle(), 24),
                            "Invalid style file structure (at: 0x30)!\n\n(Missing track end marker.)"},
                    BadFile{"CASM begins with Sdec", StyleFile(BasicEvents() + EndOfTrack(), Casm(Sdec())),
                            "Invalid CASM structure (at: 0x38)!\n\n(Missing CSEG header.)"},
                    BadFile{"CSEG holds an unknown record",
                            StyleFile(BasicEvents() + EndOfTrack(), Casm(Cseg(Sdec() + Chunk("Ctb3", {0})))),
                            "Invalid CASM structure (at: 0x55)!\n\n(Missing Sdec/Ctab header.)"}));

// Every length that points past its chunk or the image is refused at the element
// that overruns; nothing is read outside the image.
INSTANTIATE_TEST_SUITE_P(
    Truncated, ReadStyleRejects,
    testing::Values(
        BadFile{"track length past the image", WithTrackLength(MinimalStyle(), 27),
                "Invalid style file structure (at: 0xe)!"},
        BadFile{"image ends inside the track header", HeaderChunk() + Bytes::Text("MTrk") + Bytes{0, 0},
                "Invalid style file structure (at: 0xe)!"},
        BadFile{"delta time runs to the track end", StyleFile(BasicEvents() + Bytes{0x81, 0x82}),
                "Invalid style file structure (at: 0x2c)!"},
        BadFile{"delta time without event", StyleFile(BasicEvents() + Bytes{0x00}),
                "Invalid style file structure (at: 0x2c)!"},
        BadFile{"meta length past the track", StyleFile(BasicEvents() + Bytes{0x00, 0xFF, 0x01, 0x05, 'a'}),
                "Invalid style file structure (at: 0x2d)!"},
        BadFile{"meta without length byte", StyleFile(BasicEvents() + Bytes{0x00, 0xFF, 0x01}),
                "Invalid style file structure (at: 0x2d)!"},
        BadFile{"meta length runs to the track end", StyleFile(BasicEvents() + Bytes{0x00, 0xFF, 0x01, 0x81, 0x82}),
                "Invalid style file structure (at: 0x2d)!"},
        BadFile{"meta length of five bytes",
                StyleFile(BasicEvents() + Bytes{0x00, 0xFF, 0x01, 0x80, 0x80, 0x80, 0x80, 0x00} + EndOfTrack()),
                "Invalid style file structure (at: 0x2d)!"},
        BadFile{"long system exclusive past the track", StyleFile(BasicEvents() + Bytes{0x00, 0xF0, 0x82, 0x00, 0x43}),
                "Invalid style file structure (at: 0x2d)!"},
        BadFile{"meta without type", StyleFile(BasicEvents() + Bytes{0x00, 0xFF}),
                "Invalid style file structure (at: 0x2d)!"},
        BadFile{"system exclusive past the track", StyleFile(BasicEvents() + Bytes{0x00, 0xF0, 0x03, 0x43}),
                "Invalid style file structure (at: 0x2d)!"},
        BadFile{"channel message cut short", StyleFile(BasicEvents() + Bytes{0x00, 0xB0, 0x07}),
                "Invalid style file structure (at: 0x2d)!"},
        BadFile{"running status cut short", StyleFile(BasicEvents() + VolumeEvent(0, 1) + Bytes{0x00, 0x07}),
                "Invalid style file structure (at: 0x31)!"},
        BadFile{"end of track past the image", WithTrackLength(StyleFile(BasicEvents() + Bytes{0x00, 0xFF, 0x2F}), 25),
                "Invalid style file structure (at: 0x2d)!"},
        BadFile{"CASM length past the image",
                StyleFile(BasicEvents() + EndOfTrack(), Bytes::Text("CASM") + Bytes::U32BE(100) + Cseg(Sdec())),
                "Invalid CASM structure (at: 0x30)!\n\n(Missing CSEG header.)"},
        BadFile{"CASM header cut short", StyleFile(BasicEvents() + EndOfTrack(), Bytes::Text("CASM") + Bytes{0, 0}),
                "Invalid CASM structure (at: 0x30)!\n\n(Missing CSEG header.)"},
        BadFile{"CSEG length past the CASM chunk",
                StyleFile(BasicEvents() + EndOfTrack(),
                          Chunk("CASM", Bytes::Text("CSEG") + Bytes::U32BE(0xFFFFFFF0) + Sdec()) + Ots()),
                "Invalid CASM structure (at: 0x38)!\n\n(Missing CSEG header.)"},
        BadFile{"sub-chunk length past the CSEG",
                StyleFile(BasicEvents() + EndOfTrack(),
                          Casm(Chunk("CSEG", Bytes::Text("Ctab") + Bytes::U32BE(40) + Bytes{1, 2, 3})) + Ots()),
                "Invalid CASM structure (at: 0x40)!\n\n(Missing Sdec/Ctab header.)"},
        BadFile{"sub-chunk header cut short",
                StyleFile(BasicEvents() + EndOfTrack(), Casm(Chunk("CSEG", Bytes::Text("Sdec") + Bytes{0, 0}))),
                "Invalid CASM structure (at: 0x40)!\n\n(Missing Sdec/Ctab header.)"}));

}  // namespace
