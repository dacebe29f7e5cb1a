// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "msg/ChordMessages.h"
#include "msg/PlayMessages.h"
#include "msg/StyleMessages.h"
#include "options/HelpCommand.h"

namespace {

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Page(const char* name) { return FileText(std::string(KORVANE_RES_DIR) + "/" + name); }

// The pages explain every option of the form by the name the user sees, the side
// files, the naming rules and the companion, and lead to each other.
TEST(HelpPages, ExplainEveryOptionAndLinkToEachOther) {
    const char* const mustAppear[] = {"Set filename = title",
                                      "Format filename (...$)",
                                      "Delete old style file if name changed",
                                      "Delete \"cntt\" data from CASM section",
                                      "Delete OTS settings",
                                      "Export OTS settings",
                                      "Import OTS settings",
                                      "Delete CASM section",
                                      "Export CASM section",
                                      "Import CASM section",
                                      "Change volume for all channels",
                                      "Pop.prs.csm",
                                      "012_New Style.sty",
                                      "korvane-cli save",
                                      "--percent",
                                      "SFF1",
                                      "korvane-cli render",
                                      "korvane-cli play",
                                      "\"SoundFont\" in the section \"Playback\"",
                                      "source chord",
                                      "Chords:",
                                      "Play &gt; Chords",
                                      "C | Am7 | Dm7 G7"};
    for (const auto& [page, other] : {std::pair{"korvane.htm", "korvane_e.htm"}, {"korvane_e.htm", "korvane.htm"}}) {
        const std::string html = Page(page);
        ASSERT_FALSE(html.empty()) << page;
        EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << page;
        EXPECT_NE(html.find(std::string("href=\"") + other + "\""), std::string::npos) << page;
        for (const char* text : mustAppear) EXPECT_NE(html.find(text), std::string::npos) << page << ": " << text;
    }
    EXPECT_NE(Page("korvane.htm").find("lang=\"de\""), std::string::npos);
    EXPECT_NE(Page("korvane_e.htm").find("lang=\"en\""), std::string::npos);
}

// Each message of the engine's table, of playback's, of chord progressions' and Help's own, appears word for
// word as the user sees it (its blank line kept by the stylesheet), every value filled
// in ("%x", "%s") written as "&hellip;".
TEST(HelpPages, QuoteEveryEngineMessage) {
    std::vector<std::string> texts(style_messages::kAll.begin(), style_messages::kAll.end());
    texts.insert(texts.end(), {help_messages::kPageNotFound, help_messages::kPageNotOpened});
    texts.insert(texts.end(), play_messages::kAll.begin(), play_messages::kAll.end());
    texts.insert(texts.end(), chord_messages::kAll.begin(), chord_messages::kAll.end());
    for (const char* page : {"korvane.htm", "korvane_e.htm"}) {
        const std::string html = Page(page);
        for (std::string text : texts) {
            for (const char* placeholder : {"%x", "%s"}) {
                for (std::size_t at; (at = text.find(placeholder)) != std::string::npos;)
                    text.replace(at, 2, "&hellip;");
            }
            EXPECT_NE(html.find(text), std::string::npos) << page << ": " << text;
        }
    }
}

}  // namespace
