#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Page(const char* name) { return FileText(std::string(KORVANE_RES_DIR) + "/" + name); }

// Every text the engine can show, read from its header so that a new one cannot be
// left out of the pages.
std::vector<std::string> EngineMessages() {
    const std::string header = FileText(KORVANE_STYLE_MESSAGES);
    const std::regex literal(R"re(=\s*"((?:[^"\\]|\\.)*)")re");
    std::vector<std::string> texts;
    for (std::sregex_iterator it(header.begin(), header.end(), literal), end; it != end; ++it) {
        std::string text = (*it)[1];
        for (std::size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, "\n");
        texts.push_back(text);
    }
    return texts;
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

// Each message appears word for word as the user sees it (its blank line kept by the
// stylesheet), the file position "%x" written as "0x&hellip;".
TEST(HelpPages, QuoteEveryEngineMessage) {
    const std::vector<std::string> messages = EngineMessages();
    ASSERT_GE(messages.size(), 20u);
    for (const char* page : {"korvane.htm", "korvane_e.htm"}) {
        const std::string html = Page(page);
        for (std::string text : messages) {
            if (const auto at = text.find("%x"); at != std::string::npos) text.replace(at, 2, "&hellip;");
            EXPECT_NE(html.find(text), std::string::npos) << page << ": " << text;
        }
    }
}

}  // namespace
