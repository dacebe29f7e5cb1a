// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "play/chords/CasmRules.h"
#include "play/chords/RuleNames.h"

namespace {

// A channel table as the format hands it over: bass on channel 10 (9 here), SFF1,
// root transposition with the bass table, recorded on C Maj7.
CasmChannelTable BassTable() {
    CasmChannelTable table;
    table.sourceChannel = 9;
    table.destination = 10;
    table.noteMute = 0x0FFF;
    table.chordMute = 0x3'FFFF'FFFFull;
    table.sourceType = 2;
    table.zones[1] = CasmZone{0, 3, 5, 0, 127, 3};
    return table;
}

int SectionOf(std::string_view name) { return *SectionOfMarker(name); }

TEST(CasmRules, SectionsTheSdecNamesTakeItsTablesAndTheOthersTheDefaults) {
    CasmSegment segment;
    segment.sections = {"Main A", "Fill In AA"};
    CasmChannelTable partFour = BassTable();
    partFour.sourceChannel = 3;
    partFour.destination = 4;
    segment.tables = {BassTable(), partFour};
    const StyleChannelRules style = RulesOfSegments({segment});
    EXPECT_TRUE(style.fromCasm);
    EXPECT_TRUE(style.damage.empty());
    for (const char* name : {"Main A", "Fill In AA"}) {
        const SectionChannelRules& rules = style.sections[SectionOf(name)];
        ASSERT_TRUE(rules[9]) << name;
        EXPECT_EQ(rules[9]->part, Part::Bass);
        EXPECT_EQ(rules[9]->RulesFor(40).table, (NttSetting{Ntt::Melody, true}));
        EXPECT_EQ(rules[9]->RulesFor(40).rtr, Rtr::Retrigger);
        // A channel its CSEG has no table for, or a table for a part a keyboard does not
        // have, is not played there.
        EXPECT_FALSE(rules[8]) << name;
        EXPECT_FALSE(rules[3]) << name;
    }
    const SectionChannelRules& other = style.sections[SectionOf("Main B")];
    for (int channel = 0; channel < 16; ++channel) EXPECT_EQ(other[channel].has_value(), channel >= 8) << channel;
}

TEST(CasmRules, CnttReplacesTheTableInTheSff2Numbering) {
    CasmSegment segment;
    segment.sections = {"Main A"};
    segment.tables = {BassTable()};
    segment.nttOverrides = {{9, 0x02}, {4, 0x81}};
    const StyleChannelRules style = RulesOfSegments({segment});
    EXPECT_EQ(style.sections[SectionOf("Main A")][9]->RulesFor(60).table, (NttSetting{Ntt::Chord, false}));
}

TEST(CasmRules, ANumberNamingNoSettingPlaysTheWholeStyleWithoutItsCasm) {
    struct Case {
        const char* what;
        void (*spoil)(CasmChannelTable&);
    };
    const Case cases[] = {
        {"source channel 17", [](CasmChannelTable& t) { t.sourceChannel = 16; }},
        {"source chord cancel", [](CasmChannelTable& t) { t.sourceType = 34; }},
        {"table 6 in SFF1", [](CasmChannelTable& t) { t.zones[1].ntt = 6; }},
        {"retrigger rule 6", [](CasmChannelTable& t) { t.zones[1].rtr = 6; }},
        {"high key 12", [](CasmChannelTable& t) { t.zones[1].highKey = 12; }},
    };
    for (const Case& c : cases) {
        CasmSegment segment;
        segment.sections = {"Main A"};
        segment.tables = {BassTable()};
        segment.tables[0].offset = 0x40;
        c.spoil(segment.tables[0]);
        const StyleChannelRules style = RulesOfSegments({segment});
        EXPECT_EQ(style.damage, "Invalid CASM structure (at: 0x40)!\n\n(Unknown channel rule.)") << c.what;
        EXPECT_TRUE(style.sections[SectionOf("Main A")][8]) << c.what;
    }
}

}  // namespace

namespace {

TEST(RuleNames, SummariesNameWhatIsLeftOutTheShorterWay) {
    ChannelRules rules = *RulesOfTable(BassTable(), std::nullopt);
    EXPECT_EQ(ZoneSummary(rules.zones[1]), "root transposition, melody + bass, high key F, retrigger");
    rules.zones[1].lowLimit = 28;
    rules.zones[1].highLimit = 51;
    rules.zones[1].ntr = Ntr::RootFixed;
    EXPECT_EQ(ZoneSummary(rules.zones[1]), "root fixed, melody + bass, notes 28-51, retrigger");

    const struct {
        std::uint16_t noteMute;
        std::uint64_t chordMute;
        const char* summary;
    } cases[] = {
        {0x0FFF, 0x3'FFFF'FFFFull, "plays on every chord"},
        {0x0BFF, 0x3'FFFF'FFFFull, "not on Bb"},
        {0x0001, 0x3'FFFF'FFFFull, "only on C"},
        {0x0FFF, 0x3'FFFF'FEFFull, "not on min"},
        {0x0FFF, 0x0'0000'0101ull, "only on Maj, min"},
        {0x0000, 0x0'0000'0000ull, "on no root; on no chord type"},
    };
    for (const auto& c : cases) {
        rules.noteMute = c.noteMute;
        rules.chordMute = c.chordMute;
        EXPECT_EQ(MuteSummary(rules), c.summary);
    }
}

}  // namespace
