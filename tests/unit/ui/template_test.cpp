// Dialog 105: the resource script against the one item table, and the stand-in's dialog built from
// that table (ids, classes, texts, pixel sizes from dialog units).
#include <gtest/gtest.h>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include "review_harness.h"
#include "ui/dialog_template.h"

static std::string sourceFile(const char *relative)
{
    std::string here = __FILE__;
    std::string root = here.substr(0, here.rfind("/tests/unit/ui/"));
    std::ifstream in(root + "/" + relative);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

static std::map<std::string, uint32_t> idNames()
{
    std::map<std::string, uint32_t> names;
    std::istringstream lines(sourceFile("ui/dialog_ids.h"));
    std::string line;
    std::regex define(R"(#define\s+(\w+)\s+(\d+))");
    std::smatch m;
    while (std::getline(lines, line))
        if (std::regex_search(line, m, define))
            names[m[1]] = (uint32_t)std::stoul(m[2]);
    return names;
}

static uint32_t number(const std::string &token, const std::map<std::string, uint32_t> &names)
{
    auto found = names.find(token);
    if (found != names.end())
        return found->second;
    return (uint32_t)std::stoll(token, nullptr, 0);
}

TEST(DialogTemplate, ResourceScriptMatchesTheTable)
{
    std::string rc = sourceFile("ui/vantrope.rc");
    ASSERT_FALSE(rc.empty());
    auto names = idNames();
    std::smatch m;
    ASSERT_TRUE(std::regex_search(rc, m, std::regex(R"((\w+)\s+DIALOGEX\s+(\d+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+))")));
    const DialogTemplateHeader &h = reviewDialogHeader;
    EXPECT_EQ(number(m[1], names), h.resourceId);
    EXPECT_EQ(std::stoi(m[2]), h.x);
    EXPECT_EQ(std::stoi(m[3]), h.y);
    EXPECT_EQ(std::stoi(m[4]), h.cx);
    EXPECT_EQ(std::stoi(m[5]), h.cy);
    EXPECT_EQ((uint32_t)std::stoi(m[6]), h.helpId);
    ASSERT_TRUE(std::regex_search(rc, m, std::regex(R"(STYLE\s+(0x[0-9A-Fa-f]+))")));
    EXPECT_EQ(number(m[1], names), h.style);
    ASSERT_TRUE(std::regex_search(rc, m, std::regex(R"(EXSTYLE\s+(\w+))")));
    EXPECT_EQ(number(m[1], names), h.exStyle);
    ASSERT_TRUE(std::regex_search(rc, m, std::regex(R"(CAPTION\s+\"([^\"]*)\")")));
    EXPECT_EQ(m[1], h.caption);
    ASSERT_TRUE(std::regex_search(rc, m, std::regex(R"(FONT\s+(\d+),\s*\"([^\"]*)\",\s*(\d+),\s*(\d+),\s*(\w+))")));
    EXPECT_EQ((uint16_t)std::stoi(m[1]), h.pointSize);
    EXPECT_EQ(m[2], h.typeface);
    EXPECT_EQ((uint16_t)std::stoi(m[3]), h.weight);
    EXPECT_EQ((uint8_t)std::stoi(m[4]), h.italic);
    EXPECT_EQ((uint8_t)number(m[5], names), h.charset);
    ASSERT_TRUE(std::regex_search(rc, m, std::regex(R"(LANGUAGE\s+(\d+),\s*(\d+))")));
    EXPECT_EQ((uint16_t)(std::stoi(m[1]) | (std::stoi(m[2]) << 10)), h.language);

    std::regex control(R"re(CONTROL\s+"([^"]*)",\s*([-\w]+),\s*(\w+),\s*(\w+),\s*(-?\d+),\s*(-?\d+),\s*(\d+),\s*(\d+),\s*(\w+),\s*(\w+))re");
    int index = 0;
    for (auto it = std::sregex_iterator(rc.begin(), rc.end(), control); it != std::sregex_iterator(); ++it, ++index) {
        ASSERT_LT(index, REVIEW_DIALOG_ITEM_COUNT) << "more items in the script than in the table";
        const std::smatch &c = *it;
        const DialogItemTemplate &item = reviewDialogItems[index];
        std::string where = "item " + std::to_string(index + 1);
        EXPECT_EQ(c[1], item.text) << where;
        EXPECT_EQ(number(c[2], names), item.id) << where;
        EXPECT_EQ(number(c[3], names), item.classOrdinal) << where;
        EXPECT_EQ(number(c[4], names), item.style) << where;
        EXPECT_EQ(std::stoi(c[5]), item.x) << where;
        EXPECT_EQ(std::stoi(c[6]), item.y) << where;
        EXPECT_EQ(std::stoi(c[7]), item.cx) << where;
        EXPECT_EQ(std::stoi(c[8]), item.cy) << where;
        EXPECT_EQ(number(c[9], names), item.exStyle) << where;
        EXPECT_EQ(number(c[10], names), item.helpId) << where;
    }
    EXPECT_EQ(index, REVIEW_DIALOG_ITEM_COUNT);
}

TEST_F(ReviewTest, StandInBuildsTheTable)
{
    review([](HWND dialog) {
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, 286 * 6 / 4);
        EXPECT_EQ(client.bottom, 215 * 13 / 8);
        for (const DialogItemTemplate &item : reviewDialogItems) {
            if (item.id == 0xFFFFFFFFu)
                continue;
            HWND control = GetDlgItem(dialog, (int)item.id);
            ASSERT_NE(control, nullptr) << "item " << item.id;
            char name[32];
            GetClassNameA(control, name, sizeof name);
            const char *expected = item.classOrdinal == 0x80 ? "Button" : item.classOrdinal == 0x81 ? "Edit"
                                   : item.classOrdinal == 0x82 ? "Static" : "ScrollBar";
            EXPECT_STREQ(name, expected) << "item " << item.id;
            EXPECT_EQ((uint32_t)GetWindowLongA(control, GWL_STYLE), item.style) << "item " << item.id;
            GetClientRect(control, &client);
            EXPECT_EQ(client.right, item.cx * 6 / 4) << "item " << item.id;
            EXPECT_EQ(client.bottom, item.cy * 13 / 8) << "item " << item.id;
        }
        SendMessageA(GetDlgItem(dialog, ID_CLOSE), BM_CLICK, 0, 0);
    });
}
