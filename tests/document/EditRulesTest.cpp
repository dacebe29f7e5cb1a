// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "FakePresenter.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "document/EditRules.h"
#include "document/KorvaneDoc.h"

namespace {

// Channel 10 found at 100, channel 2 at 50; no other channel has a volume.
std::unique_ptr<CKorvaneDoc> OpenStyle(const TempDir& dir, const Bytes& events) {
    const auto path = dir.Write("Pop.sty", StyleFile(events + EndOfTrack()));
    auto doc = std::make_unique<CKorvaneDoc>();
    EXPECT_TRUE(doc->OnOpenDocument(path));
    return doc;
}

const Bytes kFullEvents =
    BasicEvents() + TempoEvent(500000) + TimeSignatureEvent(4, 2) + VolumeEvent(9, 100) + VolumeEvent(1, 50);

// A value the style does not have is refused, and the document stays as it was.
TEST(EditRules, ValuesTheStyleLacksAreRefused) {
    TempDir dir;
    FakePresenter presenter;
    auto bare = OpenStyle(dir, BasicEvents() + VolumeEvent(9, 100));
    const std::pair<EditRefusal, const char*> cases[] = {
        {EditTempo(*bare, 100), "This style has no tempo to change."},
        {EditTimeSignature(*bare, 3, 4), "This style has no time signature to change."},
        {EditChannelVolume(*bare, 0, 10), "This style has no volume on channel 1 to change."},
    };
    for (const auto& [refusal, text] : cases) EXPECT_EQ(refusal, std::optional<std::string>(text));
    EXPECT_EQ(bare->m_nTempo, -1);
    EXPECT_EQ(bare->m_nTimeSigNumerator, 0);
    EXPECT_EQ(bare->m_nVolume[0], -1);
    EXPECT_FALSE(bare->IsModified());
}

TEST(EditRules, PercentAlwaysScalesTheVolumesAsFound) {
    TempDir dir;
    FakePresenter presenter;
    auto doc = OpenStyle(dir, kFullEvents);
    ASSERT_EQ(EditChannelVolume(*doc, 9, 20), std::nullopt);
    EXPECT_FALSE(doc->m_bAllChannels);
    const struct {
        int percent;
        int channel10;
        int channel2;
    } cases[] = {{100, 100, 50}, {0, 0, 0}, {200, 127, 100}, {50, 50, 25}};
    for (const auto& c : cases) {
        ASSERT_EQ(EditAllChannelsPercent(*doc, c.percent), std::nullopt);
        EXPECT_TRUE(doc->m_bAllChannels);
        EXPECT_EQ(doc->m_nVolume[9], c.channel10) << c.percent;
        EXPECT_EQ(doc->m_nVolume[1], c.channel2) << c.percent;
        EXPECT_EQ(doc->m_nVolume[0], -1) << c.percent;
    }
    EXPECT_EQ(VolumeAtPercent(127, 200), 127);
}

}  // namespace
