// The transcript: JSON string escaping of the plug-in's single-byte texts and of UTF-8 text, and one
// flushed line per event in order.
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include "app/transcript.h"
#include "support/fake_host.h"

TEST(JsonEscape, EscapesWhatJsonForbidsAndKeepsTheRest)
{
    struct Row {
        const char *text;
        const char *escaped;
    };
    const Row rows[] = {
        {"Looking for Click(s) in the Selection", "Looking for Click(s) in the Selection"},
        {"say \"hi\"", "say \\\"hi\\\""},
        {"C:\\path", "C:\\\\path"},
        {"line\nnext\r\ttab", "line\\nnext\\r\\ttab"},
        {"\b\f", "\\b\\f"},
        {"\x01\x1f", "\\u0001\\u001f"},
        {"\x7f", "\\u007f"},
        {"caf\xe9", "caf\\u00e9"},
        {"\xff", "\\u00ff"},
        // Well-formed UTF-8 stays as it is; anything else is read byte by byte as Windows-1252.
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xb5", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xb5"},
        {"\x80 \x93q\x94 \x81", "\\u20ac \\u201cq\\u201d \\u0081"},
        {"\xc0\xaf", "\\u00c0\\u00af"},             // overlong
        {"\xed\xa0\x80", "\\u00ed\\u00a0\\u20ac"},    // a surrogate
        {"\xf4\x90\x80\x80", "\\u00f4\\u0090\\u20ac\\u20ac"}, // past U+10FFFF
        {"\xe2\x82", "\\u00e2\\u201a"},             // cut short by the end
        {"\xc3", "\\u00c3"},
        {"/<>&'", "/<>&'"},
        {"", ""},
    };
    for (const Row &row : rows)
        EXPECT_EQ(jsonEscape(row.text), row.escaped) << "for \"" << row.text << "\"";
    EXPECT_EQ(jsonString(nullptr), "\"\"");
    EXPECT_EQ(jsonString("a\"b"), "\"a\\\"b\"");
}

class TranscriptFile : public PluginTest {
protected:
    void TearDown() override
    {
        transcriptClose();
        PluginTest::TearDown();
    }
    std::string contents(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(TranscriptFile, OneFlushedLinePerEventInOrder)
{
    std::string path = profileDir + "/t.jsonl", error;
    transcriptEvent("{\"event\":\"dropped\"}");
    ASSERT_TRUE(transcriptOpen(path, &error)) << error;
    EXPECT_TRUE(transcriptActive());
    transcriptEvent("{\"event\":\"query\",\"result\":1152}");
    transcriptEvent("{\"event\":\"finish\"}");
    // Readable before the close: a crash later must not lose these lines.
    EXPECT_EQ(contents(path), "{\"event\":\"query\",\"result\":1152}\n{\"event\":\"finish\"}\n");
    transcriptClose();
    EXPECT_FALSE(transcriptActive());
    transcriptEvent("{\"event\":\"late\"}");
    EXPECT_EQ(contents(path), "{\"event\":\"query\",\"result\":1152}\n{\"event\":\"finish\"}\n");
}

TEST_F(TranscriptFile, UnwritablePathIsReportedWithItsName)
{
    std::string error;
    EXPECT_FALSE(transcriptOpen(profileDir + "/no/such/dir/t.jsonl", &error));
    EXPECT_NE(error.find("t.jsonl"), std::string::npos) << error;
    EXPECT_FALSE(transcriptActive());
}
