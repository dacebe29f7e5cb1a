#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string Page(const char* name) {
    std::ifstream file(std::string(KORVANE_RES_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

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
                                      "SFF1"};
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

}  // namespace
