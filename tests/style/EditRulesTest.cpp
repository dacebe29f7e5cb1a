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

TEST(EditRules, ValuesInRangeAreTakenAndMarkTheDocumentOnlyWhenChanged) {
    TempDir dir;
    FakePresenter presenter;
    auto doc = OpenStyle(dir, kFullEvents);
    struct Case {
        const char* what;
        std::function<EditRefusal(CKorvaneDoc&)> edit;
        bool changes;
    };
    const Case cases[] = {
        {"same tempo", [](CKorvaneDoc& d) { return EditTempo(d, 120); }, false},
        {"tempo 250", [](CKorvaneDoc& d) { return EditTempo(d, 250); }, true},
        {"same time signature", [](CKorvaneDoc& d) { return EditTimeSignature(d, 4, 4); }, false},
        {"time signature 128/128", [](CKorvaneDoc& d) { return EditTimeSignature(d, 128, 128); }, true},
        {"channel 10 to 0", [](CKorvaneDoc& d) { return EditChannelVolume(d, 9, 0); }, true},
        {"percent 200", [](CKorvaneDoc& d) { return EditAllChannelsPercent(d, 200); }, true},
    };
    for (const Case& c : cases) {
        doc->SetModifiedFlag(false);
        EXPECT_EQ(c.edit(*doc), std::nullopt) << c.what;
        EXPECT_EQ(doc->IsModified(), c.changes) << c.what;
    }
    EXPECT_EQ(doc->m_nTempo, 250);
    EXPECT_EQ(doc->m_nTimeSigDenominator, 128);
}

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
