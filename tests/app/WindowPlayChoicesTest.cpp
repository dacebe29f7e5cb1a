// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/WindowPlayChoices.h"

namespace {

using Sections = std::vector<std::string>;

// Play's first choice in a window: "Main A", else the style's first Main, else its first section.
TEST(WindowPlayChoices, FirstChoiceIsMainAOrTheFirstMain) {
    const std::pair<Sections, std::string> cases[] = {
        {{"Intro A", "Main A", "Main B"}, "Main A"},
        {{"Intro A", "Main C", "Main B"}, "Main C"},
        {{"Intro B", "Ending A"}, "Intro B"},
        {{}, "Main A"},
    };
    for (const auto& c : cases) {
        CWindowPlayChoices choices;
        const Sections& sections = c.first;
        EXPECT_EQ(choices.Chosen(&choices, [&sections] { return sections; }), c.second);
    }
}

// Sections are read once per window, but read again while a style lists none; a window
// forgotten starts afresh.
TEST(WindowPlayChoices, KeepsEachWindowsChoicesUntilItIsForgotten) {
    CWindowPlayChoices choices;
    int reads = 0;
    Sections listed;
    const auto read = [&] {
        ++reads;
        return listed;
    };
    const int window = 0;
    EXPECT_TRUE(choices.Sections(&window, read).empty());
    listed = {"Main A", "Main B"};
    EXPECT_EQ(choices.Sections(&window, read), listed);
    EXPECT_EQ(choices.Sections(&window, read), listed);
    EXPECT_EQ(reads, 2);
    choices.Choose(&window, "Main B");
    choices.GiveChords(&window, WindowChords{"Am7", *ParseChord("Am7")});
    EXPECT_EQ(choices.Chosen(&window, read), "Main B");
    const int other = 0;
    EXPECT_FALSE(choices.Chords(&other));
    choices.Forget(&window);
    EXPECT_FALSE(choices.Knows(&window));
    EXPECT_FALSE(choices.Chords(&window));
    EXPECT_EQ(choices.Chosen(&window, read), "Main A");
}

}  // namespace
