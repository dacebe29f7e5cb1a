// SPDX-License-Identifier: GPL-3.0-or-later
// Styles of current keyboards: the "SFF2" marker and the "Ctb2" channel tables, read
// and saved by the same walk as SFF1 styles; and the promise both kinds share, that a
// save with nothing edited gives back the file byte for byte.

#include <gtest/gtest.h>

#include "SaveFixture.h"
#include "StyleBytes.h"
#include "document/KorvaneDoc.h"
#include "format/StyleReader.h"

namespace {

std::string ReadError(const Bytes& image, StyleFacts& facts) {
    const MaybeStyleError error = ReadStyle(image.view(), facts);
    return error ? error->Text() : "";
}

// Which markers do not count is ReadStyle.FormatMarkerMustMatchExactly's to show.
TEST(StyleFormat, TheFirstSff1OrSff2MarkerNamesIt) {
    const std::pair<Bytes, StyleFormat> cases[] = {
        {Sff1Marker(), StyleFormat::Sff1},
        {Sff2Marker(), StyleFormat::Sff2},
        {Sff2Marker() + Sff1Marker(), StyleFormat::Sff2},
        {MarkerEvent("Main A") + Sff2Marker(), StyleFormat::Sff2},
    };
    for (const auto& [markers, format] : cases) {
        StyleFacts facts;
        EXPECT_EQ(ReadError(StyleFile(TitleEvent("T") + markers + EndOfTrack()), facts), "");
        EXPECT_EQ(facts.format, format);
    }
}

// Channels 9, 10 and 11 (index 8-10) have volumes; the CASM chunk decides their parts.
// Overruns of every other kind are ReadStyleRejects' to show.
struct CasmCase {
    const char* name;
    Bytes casm;
    std::array<std::string, 3> labels;  // of channels 9-11
    std::string error{};                // instead, when the load refuses the style
};

class Sff2Casm : public testing::TestWithParam<CasmCase> {};

TEST_P(Sff2Casm, ChannelTablesDecideTheLabels) {
    const CasmCase& c = GetParam();
    const Bytes image =
        StyleFile(BasicSff2Events() + VolumeEvent(8, 100) + VolumeEvent(9, 100) + VolumeEvent(10, 100) + EndOfTrack(),
                  c.casm + OtsOfFourMembers());
    StyleFacts facts;
    EXPECT_EQ(ReadError(image, facts), c.error);
    if (c.error.empty()) {
        EXPECT_EQ((std::array{facts.channelLabel[8], facts.channelLabel[9], facts.channelLabel[10]}), c.labels);
        EXPECT_TRUE(facts.hasOTS);
    }
}

const std::array<std::string, 3> kOwnParts = {"Rhy1:", "Rhy2:", "Bass:"};

INSTANTIATE_TEST_SUITE_P(
    Records, Sff2Casm,
    testing::Values(
        CasmCase{
            "ctb2_47_bytes", Casm(Cseg(Sdec() + Ctb2(8, 10) + Ctb2(9, 8) + Ctb2(10, 15))), {"Bass:", "Rhy1:", "Phr2:"}},
        CasmCase{"ctb2_51_bytes",
                 Casm(Cseg(Sdec() + Ctb2(8, 11, 51)) + Cseg(Sdec("Main B") + Ctb2(9, 12, 51))),
                 {"Chd1:", "Chd2:", "Bass:"}},
        CasmCase{"first_record_per_channel_wins_in_a_mixed_cseg",
                 Casm(Cseg(Sdec() + Ctab(8, 13) + Ctb2(8, 14)) + Cseg(Sdec() + Ctb2(9, 14) + Ctab(9, 13))),
                 {"Pad:", "Phr1:", "Bass:"}},
        CasmCase{"channel_or_part_of_16_ignored", Casm(Cseg(Sdec() + Ctb2(16, 8) + Ctb2(9, 16) + Cntt())), kOwnParts},
        CasmCase{"record_too_short_for_its_part", Casm(Cseg(Sdec() + Chunk("Ctb2", {8, 'N', 'a', 'm', 'e'}))),
                 kOwnParts},
        // The track ends at 0x3c; CASM, CSEG and the 21-byte Sdec put the record at 0x61.
        CasmCase{"record_past_its_cseg",
                 Casm(Chunk("CSEG", Sdec() + Bytes::Text("Ctb2") + Bytes::U32BE(47) + Bytes{8, 9})),
                 {},
                 "Invalid CASM structure (at: 0x61)!\n\n(Missing Sdec/Ctab header.)"}),
    [](const testing::TestParamInfo<CasmCase>& info) { return std::string(info.param.name); });

class Sff2Save : public SaveFixture {};

// What real files hold and a careless save loses: titles padded with zero bytes,
// copyrights of 33 characters or of blanks, the keyboard's rounded tempo, later tempo
// events, long texts, the OTS members and the chunks after them.
TEST_F(Sff2Save, NothingEditedWritesTheFileBackByteForByte) {
    for (const bool sff2 : {false, true}) {
        const Bytes marker = sff2 ? Sff2Marker() : Sff1Marker();
        const Bytes casm = sff2 ? Casm(Cseg(Sdec() + Ctb2(9, 8) + Ctb2(10, 10, 51)) + Cseg(Sdec("Main B") + Cntt()))
                                : Casm(Cseg(Sdec() + Ctab(9, 8) + Cntt()));
        const Bytes image =
            StyleFile(TitleEvent(std::string("Bossa") + std::string(27, '\0')) +
                          CopyrightEvent("(C) 2005 Keyboard Style Works 2005") + marker + TempoEvent(666667) +
                          TimeSignatureEvent(6, 3) + TextMeta(0x01, std::string(200, 'c')) + VolumeEvent(9, 100) +
                          MarkerEvent("Main A") + VolumeEvent(9, 90) + TempoEvent(700000) + EndOfTrack(),
                      casm + OtsOfFourMembers() + Chunk("FNRc", Bytes::Text("names")));
        const auto path = dir.Write("Bossa.sty", image);
        auto doc = Open(path);
        EXPECT_EQ(doc->m_nTempo, 90);
        ASSERT_TRUE(doc->OnSaveDocument(path));
        EXPECT_EQ(ReadFileBytes(path).data, image.data) << sff2;

        // Blanks as copyright read as none and stay; an edit back to the loaded values
        // is no edit.
        const Bytes blanks = StyleFile(TitleEvent("Pop") + CopyrightEvent("    ") + marker + EndOfTrack());
        const auto blanksPath = dir.Write("Blanks.sty", blanks);
        auto blanksDoc = Open(blanksPath);
        blanksDoc->m_strStyleTitle = "Other";
        blanksDoc->m_strStyleTitle = "Pop";
        ASSERT_TRUE(blanksDoc->OnSaveDocument(blanksPath));
        EXPECT_EQ(ReadFileBytes(blanksPath).data, blanks.data) << sff2;
    }
}

TEST_F(Sff2Save, EveryEditWorksOnSff2) {
    const Bytes casm = Casm(Cseg(Sdec() + Ctb2(9, 8) + Cntt()) + Cseg(Sdec("Main B") + Cntt() + Ctb2(2, 10, 51)));
    const Bytes after = OtsOfFourMembers() + Chunk("FNRc", Bytes::Text("names"));
    const auto path = dir.Write(
        "Pop.sty", StyleFile(TitleEvent("Pop") + Sff2Marker() + TempoEvent(666667) + TimeSignatureEvent(4, 2) +
                                 VolumeEvent(9, 100) + VolumeEvent(2, 80) + EndOfTrack(),
                             casm + after));
    auto doc = Open(path);
    EXPECT_EQ(doc->m_styleFormat, StyleFormat::Sff2);
    EXPECT_EQ(doc->m_strChannelLabel[9], "Rhy1:");
    EXPECT_EQ(doc->m_strChannelLabel[2], "Bass:");
    EXPECT_TRUE(doc->m_bHasCntt);
    doc->m_strStyleTitle = "Rock";
    doc->m_strCopyright = "(C) Me";
    doc->m_nTempo = 120;
    doc->m_nTimeSigNumerator = 3;
    doc->m_bAllChannels = false;
    doc->m_nVolume[9] = 50;
    doc->m_bDeleteAllCntt = true;
    ASSERT_TRUE(doc->OnSaveDocument(path));
    const Bytes stripped = Casm(Cseg(Sdec() + Ctb2(9, 8)) + Cseg(Sdec("Main B") + Ctb2(2, 10, 51)));
    EXPECT_EQ(ReadFileBytes(path).data,
              StyleFile(TitleEvent("Rock") + CopyrightEvent("(C) Me") + Sff2Marker() + TempoEvent(500000) +
                            TimeSignatureEvent(3, 2) + VolumeEvent(9, 50) + VolumeEvent(2, 80) + EndOfTrack(),
                        stripped + after)
                  .data);
}

}  // namespace
