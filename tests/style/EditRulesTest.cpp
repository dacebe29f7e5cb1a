#include <gtest/gtest.h>

#include <functional>

#include "FakePresenter.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "style/EditRules.h"
#include "style/KorvaneDoc.h"

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

TEST(EditRules, OutOfRangeAndMissingValuesAreRefusedAndChangeNothing) {
    TempDir dir;
    FakePresenter presenter;
    auto full = OpenStyle(dir, kFullEvents);
    auto bare = OpenStyle(dir, BasicEvents());
    struct Case {
        CKorvaneDoc* doc;
        std::function<EditRefusal(CKorvaneDoc&)> edit;
        const char* refusal;
    };
    const Case cases[] = {
        {full.get(), [](CKorvaneDoc& d) { return EditTempo(d, 251); },
         "The tempo must be a whole number from 0 to 250."},
        {full.get(), [](CKorvaneDoc& d) { return EditTimeSignature(d, 0, 4); },
         "Each part of the time signature must be a whole number from 1 to 128."},
        {full.get(), [](CKorvaneDoc& d) { return EditChannelVolume(d, 9, 128); },
         "A channel volume must be a whole number from 0 to 127."},
        {full.get(), [](CKorvaneDoc& d) { return EditChannelVolume(d, 0, 10); },
         "This style has no volume on channel 1 to change."},
        {full.get(), [](CKorvaneDoc& d) { return EditAllChannelsPercent(d, 201); },
         "The percentage must be a whole number from 0 to 200."},
        {bare.get(), [](CKorvaneDoc& d) { return EditTempo(d, 100); }, "This style has no tempo to change."},
        {bare.get(), [](CKorvaneDoc& d) { return EditTimeSignature(d, 3, 4); },
         "This style has no time signature to change."},
    };
    for (const Case& c : cases) {
        c.doc->SetModifiedFlag(false);
        EXPECT_EQ(c.edit(*c.doc), std::optional<std::string>(c.refusal));
        EXPECT_FALSE(c.doc->IsModified()) << c.refusal;
    }
    EXPECT_EQ(full->m_nTempo, 120);
    EXPECT_EQ(full->m_nVolume[9], 100);
    EXPECT_EQ(bare->m_nTempo, -1);
    // An edit to the value already there leaves the document unmodified.
    EXPECT_EQ(EditTempo(*full, 120), std::nullopt);
    EXPECT_FALSE(full->IsModified());
    EXPECT_EQ(EditTempo(*full, 250), std::nullopt);
    EXPECT_TRUE(full->IsModified());
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
