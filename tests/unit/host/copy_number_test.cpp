// The clipboard routine of steering: the text it leaves, and every way it can fail without leaking
// the block or leaving the clipboard open.
#include <gtest/gtest.h>
#include <climits>
#include "support/fake_host.h"
#include "host/navigation.h"

class CopyNumberTest : public PluginTest {
protected:
    void TearDown() override
    {
        compatClearClipboard();
        PluginTest::TearDown();
    }
};

TEST_F(CopyNumberTest, WritesSignedDecimalText)
{
    struct Row {
        int32_t value;
        const char *text;
    } rows[] = {{0, "0"}, {-25, "-25"}, {1095, "1095"}, {INT32_MAX, "2147483647"}, {INT32_MIN, "-2147483648"}};
    for (const Row &row : rows) {
        copyNumber(row.value);
        EXPECT_EQ(compatClipboardText(), row.text) << "value " << row.value;
    }
}

TEST_F(CopyNumberTest, FailuresKeepTheOldTextLeakNothingAndCloseTheClipboard)
{
    struct Row {
        const char *name;
        void (*arm)();
        bool setAttempted;  // the clipboard was emptied, and the block offered
    } rows[] = {
        {"OpenClipboard fails", [] { compatFailNextOpenClipboard(); }, false},
        {"GlobalAlloc fails", [] { compatFailNextGlobalAlloc(); }, false},
        {"GlobalLock fails", [] { compatFailNextGlobalLock(); }, false},
        {"SetClipboardData refuses the block", [] { compatFailNextSetClipboardData(); }, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        resetForRun();
        compatSetClipboardText("old");
        row.arm();

        copyNumber(77);

        EXPECT_EQ(compatClipboardText(), row.setAttempted ? "" : "old");
        EXPECT_EQ(compatInputLog().size(), row.setAttempted ? 1u : 0u);
        HWND other = compatCreateWindow("Other", nullptr, nullptr, 1, 1);
        EXPECT_TRUE(OpenClipboard(other)) << "the clipboard was left open";
        CloseClipboard();
        compatClearClipboard();
    }
}
