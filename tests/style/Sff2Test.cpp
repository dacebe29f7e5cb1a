// SPDX-License-Identifier: GPL-3.0-or-later
// Styles of current keyboards: the "SFF2" marker and the "Ctb2" channel tables, read
// and saved by the same walk as SFF1 styles; and the promise both kinds share, that a
// save with nothing edited gives back the file byte for byte.

#include <gtest/gtest.h>

#include "SaveFixture.h"
#include "StyleBytes.h"
#include "style/KorvaneDoc.h"
#include "style/StyleReader.h"

namespace {

std::string ReadError(const Bytes& image, StyleFacts& facts) {
    const MaybeStyleError error = ReadStyle(image.view(), facts);
    return error ? error->Text() : "";
}

TEST(StyleFormat, TheFirstSff1OrSff2MarkerNamesIt) {
    struct Case {
        Bytes markers;
        std::optional<StyleFormat> format;  // nothing: refused for its missing marker
    };
    const Case cases[] = {
        {Sff1Marker(), StyleFormat::Sff1},
        {Sff2Marker(), StyleFormat::Sff2},
        {Sff2Marker() + Sff1Marker(), StyleFormat::Sff2},
        {MarkerEvent("Main A") + Sff2Marker(), StyleFormat::Sff2},
        {MarkerEvent("sff2"), std::nullopt},
        {MarkerEvent("SFF3") + MarkerEvent("SFF22"), std::nullopt},
    };
    for (const Case& c : cases) {
        StyleFacts facts;
        const std::string error = ReadError(StyleFile(TitleEvent("T") + c.markers + EndOfTrack()), facts);
        if (c.format) {
            EXPECT_EQ(error, "");
            EXPECT_EQ(facts.format, *c.format);
        } else {
            EXPECT_EQ(error, "Invalid file structure!\n\n(Missing 'SFF1' marker.)");
        }
    }
}

// Channels 9, 10 and 11 (index 8-10) have volumes; the CASM chunk decides their parts.
struct CasmCase {
    const char* name;
    Bytes casm;
    std::array<std::string, 3> labels;  // of channels 9-11; all empty when refused
    std::string error{};                // "%x" stands for the offset of errorTag
    const char* errorTag = "";
};

class Sff2Casm : public testing::TestWithParam<CasmCase> {};

TEST_P(Sff2Casm, ChannelTablesDecideTheLabels) {
    const CasmCase& c = GetParam();
    const Bytes image =
        StyleFile(BasicSff2Events() + VolumeEvent(8, 100) + VolumeEvent(9, 100) + VolumeEvent(10, 100) + EndOfTrack(),
                  c.casm + OtsOfFourMembers());
    StyleFacts facts;
    const std::string error = ReadError(image, facts);
    if (c.error.empty()) {
        EXPECT_EQ(error, "");
        EXPECT_EQ((std::array{facts.channelLabel[8], facts.channelLabel[9], facts.channelLabel[10]}), c.labels);
        EXPECT_TRUE(facts.hasOTS);
    } else {
        const std::string text(image.data.begin(), image.data.end());
        const std::size_t at = text.find(c.errorTag, text.find("CASM"));
        std::string expected = c.error;
        char hex[16];
        std::snprintf(hex, sizeof hex, "%zx", at);
        expected.replace(expected.find("%x"), 2, hex);
        EXPECT_EQ(error, expected);
    }
}

const std::array<std::string, 3> kOwnParts = {"Rhy1:", "Rhy2:", "Bass:"};
const std::string kMissingSdecCtab = "Invalid CASM structure (at: 0x%x)!\n\n(Missing Sdec/Ctab header.)";

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
        CasmCase{"record_past_its_cseg",
                 Casm(Chunk("CSEG", Sdec() + Bytes::Text("Ctb2") + Bytes::U32BE(47) + Bytes{8, 9})),
                 {},
                 kMissingSdecCtab,
                 "Ctb2"},
        CasmCase{"cseg_past_the_casm_chunk",
                 Chunk("CASM", Bytes::Text("CSEG") + Bytes::U32BE(500) + Sdec() + Ctb2(8, 9)),
                 {},
                 "Invalid CASM structure (at: 0x%x)!\n\n(Missing CSEG header.)",
                 "CSEG"},
        CasmCase{
            "unknown_record", Casm(Cseg(Sdec() + Chunk("Ctb1", Bytes::Repeat(0, 47)))), {}, kMissingSdecCtab, "Ctb1"}),
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
