// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "framework/Profile.h"

namespace {

TEST(MemoryProfile, DefaultsUntilWritten) {
    CMemoryProfile profile;
    EXPECT_EQ(profile.GetProfileInt("Settings", "AdaptFilename", 1), 1);
    EXPECT_EQ(profile.GetProfileString("Settings", "Language", ""), "");
    profile.WriteProfileInt("Settings", "AdaptFilename", 0);
    profile.WriteProfileString("Settings", "Language", "E");
    EXPECT_EQ(profile.GetProfileInt("Settings", "AdaptFilename", 1), 0);
    EXPECT_EQ(profile.GetProfileString("Settings", "Language", ""), "E");
    EXPECT_EQ(profile.GetProfileInt("Other", "AdaptFilename", 7), 7);
}

TEST(MemoryProfile, AppProfileIsReplaceable) {
    CMemoryProfile mine;
    mine.WriteProfileInt("Settings", "X", 5);
    SetAppProfile(&mine);
    EXPECT_EQ(AppProfile().GetProfileInt("Settings", "X", 0), 5);
    SetAppProfile(nullptr);
    EXPECT_EQ(AppProfile().GetProfileInt("Settings", "X", 0), 0);
}

}  // namespace
