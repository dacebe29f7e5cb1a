// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "StyleBytes.h"
#include "format/CasmTables.h"

namespace {

// The content of a channel table up to its source chord, one field a line.
Bytes TableHead(std::uint8_t source, std::uint8_t part) {
    return Bytes{source} + Bytes::Text("Bass    ") + Bytes{part} +  //
           Bytes{0x01} +                                            // editable
           Bytes{0x05, 0x81} +                                      // note mute: A, Bb off; C and G plays
           Bytes{0x06, 0x00, 0x80, 0xFF, 0x04} +  // chord mute: autostart + 1+2+5; dim7..; min only; Maj7 only
           Bytes{0x02, 0x0A};                     // source chord D min7
}

std::vector<CasmSegment> Read(const Bytes& casm, MaybeStyleError* error = nullptr) {
    std::vector<CasmSegment> segments;
    MaybeStyleError result = ReadCasmTables(casm.view(), ByteRange{0, casm.size()}, segments);
    if (error)
        *error = result;
    else
        EXPECT_FALSE(result) << result->Text();
    return segments;
}

TEST(CasmTables, Sff1TableGivesEveryField) {
    const Bytes ctab = Chunk("Ctab", TableHead(2, 10) + Bytes{1, 3, 7, 24, 96, 4, 0});
    const auto segments = Read(Casm(Cseg(Sdec("Main A, Fill In AA,Main B") + ctab)));
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].sections, (std::vector<std::string>{"Main A", "Fill In AA", "Main B"}));
    ASSERT_EQ(segments[0].tables.size(), 1u);
    const CasmChannelTable& table = segments[0].tables[0];
    EXPECT_FALSE(table.sff2);
    EXPECT_EQ(table.offset, 8u + 8u + 8u + 25u);
    EXPECT_EQ(table.sourceChannel, 2);
    EXPECT_EQ(table.name, "Bass    ");
    EXPECT_EQ(table.destination, 10);
    EXPECT_TRUE(table.editable);
    EXPECT_EQ(table.noteMute, 0x0581);
    EXPECT_EQ(table.chordMute, 0x2'0080'FF04ull);
    EXPECT_TRUE(table.autostart);
    EXPECT_EQ(table.sourceRoot, 2);
    EXPECT_EQ(table.sourceType, 10);
    const CasmZone& zone = table.zones[1];
    EXPECT_EQ((std::array{zone.ntr, zone.ntt, zone.highKey, zone.lowLimit, zone.highLimit, zone.rtr}),
              (std::array<std::uint8_t, 6>{1, 3, 7, 24, 96, 4}));
    EXPECT_EQ(table.middleLow, 0);
    EXPECT_EQ(table.middleHigh, 127);
}

TEST(CasmTables, Sff2TableGivesItsThreeZonesAndCnttOverrides) {
    const Bytes zones = Bytes{48, 83} + Bytes{1, 0, 5, 0, 47, 0} + Bytes{0, 0x81, 5, 48, 83, 3} +
                        Bytes{0, 2, 5, 84, 127, 1} + Bytes::Repeat(0, 7);
    const Bytes ctb2 = Chunk("Ctb2", TableHead(11, 13) + zones);
    const auto segments =
        Read(Casm(Cseg(Sdec("Main A") + ctb2 + Chunk("Cntt", {11, 0x82, 12, 0x01})) + Cseg(Sdec("Ending A"))));
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[1].sections, std::vector<std::string>{"Ending A"});
    const CasmChannelTable& table = segments[0].tables.at(0);
    EXPECT_TRUE(table.sff2);
    EXPECT_EQ(table.middleLow, 48);
    EXPECT_EQ(table.middleHigh, 83);
    EXPECT_EQ(table.zones[0].ntr, 1);
    EXPECT_EQ(table.zones[1].ntt, 0x81);
    EXPECT_EQ(table.zones[1].rtr, 3);
    EXPECT_EQ(table.zones[2].lowLimit, 84);
    ASSERT_EQ(segments[0].nttOverrides.size(), 2u);
    EXPECT_EQ(segments[0].nttOverrides[0].sourceChannel, 11);
    EXPECT_EQ(segments[0].nttOverrides[0].ntt, 0x82);
    EXPECT_EQ(segments[0].nttOverrides[1].sourceChannel, 12);
}

TEST(CasmTables, DamagedTablesAreRefusedWithTheirOffset) {
    struct Case {
        const char* what;
        Bytes casm;
        std::string text;
    };
    const std::string shortTable = "Invalid CASM structure (at: 0x1e)!\n\n(Channel table too short.)";
    const Case cases[] = {
        {"Ctab cut before its special feature",
         Casm(Cseg(Sdec("Main A") + Chunk("Ctab", TableHead(9, 9) + Bytes{0, 0, 0, 0, 127, 0}))), shortTable},
        {"Ctab with a break voice but without its four bytes",
         Casm(Cseg(Sdec("Main A") + Chunk("Ctab", TableHead(9, 9) + Bytes{0, 0, 0, 0, 127, 0, 1}))), shortTable},
        {"Ctb2 cut inside its high zone",
         Casm(Cseg(Sdec("Main A") + Chunk("Ctb2", TableHead(9, 9) + Bytes::Repeat(0, 19)))), shortTable},
        {"a sub-chunk of another kind", Casm(Cseg(Sdec("Main A") + Chunk("Xtab", {}))),
         "Invalid CASM structure (at: 0x1e)!\n\n(Missing Sdec/Ctab header.)"},
    };
    for (const Case& c : cases) {
        MaybeStyleError error;
        Read(c.casm, &error);
        ASSERT_TRUE(error) << c.what;
        EXPECT_EQ(error->Text(), c.text) << c.what;
    }
}

}  // namespace
