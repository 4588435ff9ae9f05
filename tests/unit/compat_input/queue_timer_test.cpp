// The stand-in's thread queue and timers: order of delivery, filters, WM_QUIT, the virtual clock that
// waiting advances, and the rule that ends a loop when nothing can arrive any more.
#include <gtest/gtest.h>
#include <vector>
#include "support/fake_host.h"

struct Seen {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;  // clock when seen (timer callbacks: their time argument)
};
static std::vector<Seen> seen;

static LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    seen.push_back({window, message, wParam, lParam, GetTickCount()});
    return 0;
}

static void CALLBACK recordingTimer(HWND window, UINT message, UINT_PTR id, DWORD time)
{
    seen.push_back({window, message, id, 0, time});
}

class QueueTest : public PluginTest {
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        seen.clear();
        window = compatCreateWindow("Target", nullptr, recordingProc, 10, 10);
        child = compatCreateWindow("Target", window, recordingProc, 5, 5);
        other = compatCreateWindow("Target", nullptr, recordingProc, 10, 10);
    }
    // Dispatches until the loop ends; returns the number of messages dispatched.
    int runLoop()
    {
        MSG msg;
        int n = 0;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0 && n < 1000) {
            DispatchMessageA(&msg);
            n++;
        }
        return n;
    }
    HWND window, child, other;
};

TEST_F(QueueTest, PostedMessagesKeepTheirOrderAndPeekingLeavesThem)
{
    PostMessageA(window, WM_USER, 1, 10);
    PostMessageA(other, WM_USER, 2, 20);
    PostMessageA(window, WM_USER + 1, 3, 30);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(compatQueuedMessages(), 3);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(runLoop(), 2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].window, other);
    EXPECT_EQ(seen[0].lParam, 20);
    EXPECT_EQ(seen[1].message, (UINT)WM_USER + 1);
}

TEST_F(QueueTest, FiltersByWindowWithItsChildrenAndByRange)
{
    PostMessageA(other, WM_USER, 1, 0);
    PostMessageA(child, WM_USER, 2, 0);
    PostMessageA(window, WM_USER + 5, 3, 0);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, window, 0, 0));
    EXPECT_EQ(msg.wParam, 2u) << "a child's message passes its parent's filter";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 1, WM_USER + 9, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(compatQueuedMessages(), 1);
}

TEST_F(QueueTest, QuitComesAfterPostedMessagesAndEndsGetMessage)
{
    PostQuitMessage(7);
    PostMessageA(window, WM_USER, 1, 0);
    MSG msg;
    EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, (UINT)WM_USER);
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, (UINT)WM_QUIT);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(compatIdleQuits(), 0);
}

TEST_F(QueueTest, WaitingWithNothingThatCanArriveEndsTheLoopInsteadOfHanging)
{
    MSG msg;
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, (UINT)WM_QUIT);
    EXPECT_EQ(compatIdleQuits(), 1);
    EXPECT_EQ(compatClockNow(), 0u);
    // A timer of another window can never pass this filter: waiting for it would hang just the same.
    UINT_PTR id = SetTimer(other, 5, 100, nullptr);
    EXPECT_FALSE(GetMessageA(&msg, window, 0, 0));
    EXPECT_EQ(compatIdleQuits(), 2);
    KillTimer(other, id);
}

TEST_F(QueueTest, AThreadTimerFiresWhenALoopWaitsAndDispatchCallsItsCallback)
{
    UINT_PTR id = SetTimer(nullptr, 0, 300, recordingTimer);
    ASSERT_NE(id, 0u);
    Sleep(100);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "not due at 100 ms";
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(compatClockNow(), 300u) << "waiting runs the clock to the timer and no further";
    EXPECT_EQ(msg.message, (UINT)WM_TIMER);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, id);
    EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(recordingTimer));
    DispatchMessageA(&msg);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, (UINT)WM_TIMER);
    EXPECT_EQ(seen[0].wParam, id);
    EXPECT_EQ(seen[0].time, 300u);
    EXPECT_TRUE(KillTimer(nullptr, id));
    EXPECT_FALSE(KillTimer(nullptr, id));
}

static int firings = 0;
static void CALLBACK thirdTimeKills(HWND, UINT, UINT_PTR id, DWORD time)
{
    seen.push_back({nullptr, WM_TIMER, id, 0, time});
    if (++firings == 3)
        KillTimer(nullptr, id);
}

TEST_F(QueueTest, TimersRepeatEveryPeriodAndTheEarliestComesFirst)
{
    firings = 0;
    UINT_PTR slow = SetTimer(nullptr, 0, 250, thirdTimeKills);
    UINT_PTR once = SetTimer(nullptr, 0, 0, nullptr); // clamped to 10 ms, no callback
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, once);
    EXPECT_EQ(compatClockNow(), 10u);
    KillTimer(nullptr, once);
    runLoop();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].time, 250u);
    EXPECT_EQ(seen[1].time, 500u);
    EXPECT_EQ(seen[2].time, 750u);
    EXPECT_EQ(seen[2].wParam, slow);
    EXPECT_EQ(compatIdleQuits(), 1);
}

TEST_F(QueueTest, DispatchCallsOnlyTheCallbackOfALiveTimer)
{
    UINT_PTR id = SetTimer(nullptr, 0, 10, recordingTimer);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    KillTimer(nullptr, id);
    DispatchMessageA(&msg);
    MSG forged = MSG();
    forged.message = WM_TIMER;
    forged.wParam = 77;
    forged.lParam = reinterpret_cast<LPARAM>(recordingTimer);
    DispatchMessageA(&forged);
    EXPECT_TRUE(seen.empty());
}
