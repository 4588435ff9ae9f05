// The exports: QueryXfm's record, XfmInit/XfmDestroy, and XfmSetup's host recognition and length checks.
#include <gtest/gtest.h>
#include <cstring>
#include "plugin/module_state.h"
#include "plugin/xfm.h"
#include "support/fake_host.h"

namespace {

class EntryPointsTest : public PluginTest {};

TEST_F(EntryPointsTest, QueryFillsEveryFieldWhateverTheRecordHeld)
{
    unsigned char raw[300];
    memset(raw, 0xCC, sizeof raw);
    XfmInfo *info = reinterpret_cast<XfmInfo *>(raw);
    EXPECT_EQ(QueryXfm(info) & 0xFFFF, 0x0480);
    EXPECT_STREQ(info->name, "Vantrope");
    EXPECT_STREQ(info->title, "Vantrope");
    EXPECT_GT(strlen(info->credit), 0u);
    EXPECT_LT(strlen(info->credit), 80u);
    EXPECT_EQ(info->version, 4);
    EXPECT_EQ(info->flags, 17u);
    EXPECT_EQ(info->reserved, 0u);
    EXPECT_EQ(info->extra[0], '\0');
    EXPECT_EQ(info->hostText[0], '\0');
    for (size_t i = strlen(info->name); i < XFM_NAME_WIDTH; i++)
        EXPECT_EQ(info->name[i], '\0') << "name padding at " << i;
    EXPECT_EQ(raw[249], 0xCC) << "the host's bytes past the last text stay untouched";
}

TEST_F(EntryPointsTest, InitAndDestroyAreOneRoutineReturningOne)
{
    EXPECT_EQ(XfmInit(0), 1);
    EXPECT_EQ(XfmDestroy(12345), 1);
}

TEST_F(EntryPointsTest, HostIsRecognisedByItsFramesClassExactly)
{
    struct Row {
        const char *frameClass;
        bool asParent;
        int32_t kind;
    } rows[] = {
        {"COOL96", true, HOST_COOL96},   {"COOL2000SS", true, HOST_COOL2000SS},
        {"COOL96", false, HOST_COOL96},  {"cool96", true, HOST_NONE},
        {"COOL2000", true, HOST_NONE},   {"COOL2000SSX", true, HOST_NONE},
        {"SomeEditor", true, HOST_NONE},
    };
    for (const Row &r : rows) {
        compatReset();
        HWND frame = compatCreateWindow(r.frameClass, nullptr, nullptr, 100, 100);
        HWND window = r.asParent ? compatCreateWindow("HostChild", frame, nullptr, 10, 10) : frame;
        EXPECT_EQ(detectHost(window), r.kind) << r.frameClass << (r.asParent ? " as parent" : " itself");
    }
    EXPECT_EQ(detectHost(nullptr), HOST_NONE);
}

TEST_F(EntryPointsTest, SetupRecordsTheHostEvenWhenItRefuses)
{
    HWND frame = compatCreateWindow("COOL2000SS", nullptr, nullptr, 100, 100);
    HWND child = compatCreateWindow("Child", frame, nullptr, 10, 10);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(0x400000);
    XfmWave &wave = fakeHost().wave;
    wave.selStart = 10;
    wave.selEnd = 8; // wraps to a huge count
    EXPECT_EQ(XfmSetup(child, instance, &wave), 0);
    EXPECT_EQ(hostWindow, child);
    EXPECT_EQ(hostInstance, instance);
    EXPECT_EQ(hostKind, HOST_COOL2000SS);
}

TEST_F(EntryPointsTest, SetupAsksAboveTheLongLimitAndRefusesWhatCannotBeAddressed)
{
    HWND window = compatCreateWindow("Frame", nullptr, nullptr, 100, 100);
    struct Row {
        uint32_t selStart, selEnd;
        int answer;        // to the question, if asked
        int32_t result;
        const char *text;  // the box shown, or null
        UINT icon;
    } rows[] = {
        {0, 3527999, IDNO, 1, nullptr, 0},
        {0, 3528000, IDNO, 0, "You selected very long area.\nContinue?", MB_ICONQUESTION},
        {0, 3528000, IDYES, 1, "You selected very long area.\nContinue?", MB_ICONQUESTION},
        {5, 5 + 2147483645u, IDYES, 1, "You selected very long area.\nContinue?", MB_ICONQUESTION},
        {5, 5 + 2147483646u, IDYES, 0, "Sorry, the selection is too long.", MB_ICONERROR},
        {7, 6, IDNO, 1, nullptr, 0},
        {7, 5, IDYES, 0, "Sorry, the selection is too long.", MB_ICONERROR},
    };
    for (const Row &r : rows) {
        FakeHost &host = fakeHost();
        host.boxes.clear();
        host.answers = {r.answer};
        host.wave.selStart = r.selStart;
        host.wave.selEnd = r.selEnd;
        EXPECT_EQ(XfmSetup(window, nullptr, &host.wave), r.result) << r.selStart << ".." << r.selEnd;
        if (!r.text) {
            EXPECT_TRUE(host.boxes.empty()) << r.selStart << ".." << r.selEnd;
            continue;
        }
        ASSERT_EQ(host.boxes.size(), 1u) << r.selStart << ".." << r.selEnd;
        EXPECT_EQ(host.boxes[0].text, r.text);
        EXPECT_EQ(host.boxes[0].title, "Vantrope");
        EXPECT_EQ(host.boxes[0].owner, window);
        EXPECT_EQ(host.boxes[0].flags & MB_ICONMASK, r.icon);
        if (r.icon == MB_ICONQUESTION) {
            EXPECT_EQ(host.boxes[0].flags & MB_TYPEMASK, (UINT)MB_YESNO);
        }
    }
}

} // namespace
