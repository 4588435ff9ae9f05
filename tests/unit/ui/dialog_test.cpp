// The review dialog through the stand-in: what initialising shows and in which order, the commands,
// the read-back at the end, the three scroll bars, autozoom, and the view's installation.
#include <cstring>
#include "plugin/messages.h"
#include "plugin/module_state.h"
#include "review_harness.h"
#include "ui/review_view.h"

static std::string itemText(HWND dialog, int id)
{
    char text[256];
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

static std::string windowText(HWND window)
{
    char text[256];
    GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST_F(ReviewTest, InitialisingShowsTheSettings)
{
    params.c1 = 4;
    params.d1 = -600;
    params.c2 = 9;
    params.baseFreqVerS = 17;
    params.lineBezier = 5;
    params.ptsAround = 160;
    params.zoom = 3;
    params.useBaseFreqVer = 1;
    params.multipass = 7; // any nonzero switch shows checked
    params.autoZoom = 0;
    params.rangeDialog = 1;
    strcpy(textBuffer, "Possible click found at sample 501");
    HWND seen = nullptr;
    int32_t result = review(
        [&](HWND dialog) {
            seen = dialog;
            EXPECT_EQ(itemText(dialog, IDC_MESSAGE), "Possible click found at sample 501")
                << "the message line is set before the caption reuses the text buffer";
            EXPECT_EQ(windowText(dialog), "Possible click (Pass 3)");
            EXPECT_EQ(itemText(dialog, IDC_C1), "4");
            EXPECT_EQ(itemText(dialog, IDC_D1), "-600");
            EXPECT_EQ(itemText(dialog, IDC_C2), "9");
            EXPECT_EQ(itemText(dialog, IDC_SEVERITY), "17");
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_BLEND_BAR, SBM_GETPOS, 0, 0), 5);
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_WIDTH_BAR, SBM_GETPOS, 0, 0), 160)
                << "the range must be set before the position";
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_ZOOM_BAR, SBM_GETPOS, 0, 0), 10);
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_USE_BASE_FREQ), (UINT)BST_CHECKED);
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MULTIPASS), (UINT)BST_CHECKED);
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_AUTOZOOM), (UINT)BST_UNCHECKED);
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RANGE_DIALOG), (UINT)BST_CHECKED);
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, ID_GO_BACK)));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, ID_REPAIR)));
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, ID_STOP_HERE)) << "focus goes to the first tab stop";
            EXPECT_EQ(activeRequest->candidate, 500);
            EXPECT_FALSE(IsWindowEnabled(frame)) << "the owner is disabled while the dialog runs";
            click(dialog, ID_FIND_NEXT);
        },
        500, textBuffer, 1, 3);
    EXPECT_EQ(result, ID_FIND_NEXT);
    EXPECT_EQ(params.multipass, 1u) << "a switch loaded as 7 is 1 after the review";
    EXPECT_EQ(params.d1, 1) << "a negative Dist1 is clamped when read back";
    EXPECT_FALSE(IsWindow(seen)) << "the dialog is destroyed when it ends";
    EXPECT_TRUE(IsWindowEnabled(frame));
    EXPECT_EQ(activeRequest, nullptr) << "the request lived in the ended review's frame";
}

TEST_F(ReviewTest, RangesWithoutRedrawThenPositionsWithRedraw)
{
    recordItemMessages(IDC_BLEND_BAR);
    recordItemMessages(IDC_WIDTH_BAR);
    recordItemMessages(IDC_ZOOM_BAR);
    params.lineBezier = 4;
    params.ptsAround = 95;
    params.zoom = 2;
    params.autoZoom = 1; // silence around the candidate: 12
    review([](HWND dialog) { click(dialog, ID_CLOSE); });
    std::vector<std::string> expected = {
        "1033 00E2 0 12", "1033 00E0 4 1",  "1035 00E2 30 160", "1035 00E0 95 1",
        "1030 00E2 1 12", "1030 00E0 11 1", "1030 00E0 1 1",
    };
    std::vector<std::string> got;
    for (const std::string &m : recordedMessages())
        if (m.find(" 00E") != std::string::npos)
            got.push_back(m);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(params.zoom, 12) << "autozoom over silence stores the closest zoom";
}

TEST_F(ReviewTest, CaptionAndMessageEdges)
{
    const struct {
        int32_t pass;
        const char *caption;
    } rows[] = {{0, "Possible click"}, {1, "Possible click"}, {2, "Possible click (Pass 2)"}};
    for (const auto &r : rows) {
        review(
            [&](HWND dialog) {
                EXPECT_EQ(windowText(dialog), r.caption) << "pass " << r.pass;
                EXPECT_EQ(itemText(dialog, IDC_MESSAGE), "") << "a null message leaves the line empty";
                click(dialog, ID_SKIP);
            },
            500, nullptr, 1, r.pass);
    }
}

TEST_F(ReviewTest, ButtonsEnabledByRequestAndSpan)
{
    const struct {
        uint32_t allowGoBack;
        int32_t start, end;
        bool goBack, repair;
    } rows[] = {{0, 490, 510, false, true}, {1, 0, 510, true, false}, {1, 490, 0, true, false}};
    for (const auto &r : rows) {
        params.spanStart = r.start;
        params.spanEnd = r.end;
        review(
            [&](HWND dialog) {
                EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, ID_GO_BACK)) != 0, r.goBack);
                EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, ID_REPAIR)) != 0, r.repair);
                EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, ID_AUTO_REPAIR)) != 0, r.repair);
                click(dialog, ID_STOP_HERE);
            },
            500, nullptr, r.allowGoBack);
    }
}

TEST_F(ReviewTest, EveryButtonEndsWithItsIdAndReadsBack)
{
    const int32_t ids[] = {ID_STOP_HERE, ID_CLOSE, ID_FIND_NEXT, ID_GO_BACK, ID_REPAIR, ID_AUTO_REPAIR, ID_SKIP};
    for (int32_t id : ids) {
        params.c1 = 4;
        int32_t result = review([&](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_C1, "7");
            SendMessageA(dialog, WM_COMMAND, (WPARAM)(uint32_t)id, 0);
        });
        EXPECT_EQ(result, id);
        EXPECT_EQ(params.c1, 7) << "button " << id << " keeps the edited threshold";
    }
}

TEST_F(ReviewTest, FieldsReadBackWithClamps)
{
    const struct {
        const char *c1, *d1, *c2, *severity;
        int32_t wantC1, wantD1, wantC2, wantSeverity;
    } rows[] = {
        {"abc", "600", "9", "5", 1, 600, 9, 5},   {"4", "600", "4", "5", 4, 600, 5, 5},
        {"0", "600", "0", "5", 1, 600, 2, 5},     {"4", "-7", "9", "0", 4, 1, 9, 1},
        {" 12", "30x", "", "+8", 12, 30, 13, 8},
    };
    for (const auto &r : rows) {
        review([&](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_C1, r.c1);
            SetDlgItemTextA(dialog, IDC_D1, r.d1);
            SetDlgItemTextA(dialog, IDC_C2, r.c2);
            SetDlgItemTextA(dialog, IDC_SEVERITY, r.severity);
            click(dialog, IDC_AUTOZOOM); // an automatic check box toggles
            click(dialog, ID_CLOSE);
        });
        EXPECT_EQ(params.c1, r.wantC1) << "C1 \"" << r.c1 << "\"";
        EXPECT_EQ(params.d1, r.wantD1) << "Dist1 \"" << r.d1 << "\"";
        EXPECT_EQ(params.c2, r.wantC2) << "C2 \"" << r.c2 << "\"";
        EXPECT_EQ(params.baseFreqVerS, r.wantSeverity) << "Severity \"" << r.severity << "\"";
        EXPECT_EQ(params.autoZoom, 1u);
        params.autoZoom = 0;
    }
}

TEST_F(ReviewTest, EscapeCloseBoxAndAbandonedDialogEndAsClose)
{
    EXPECT_EQ(review([](HWND dialog) {
                  SetDlgItemTextA(dialog, IDC_C2, "44");
                  SendMessageA(dialog, WM_CLOSE, 0, 0);
              }),
              ID_CLOSE);
    EXPECT_EQ(params.c2, 44) << "the close box keeps the edited thresholds";
    EXPECT_EQ(review([](HWND dialog) { SetDlgItemTextA(dialog, IDC_C2, "45"); }), ID_CLOSE);
    EXPECT_EQ(params.c2, 45) << "a driver that leaves the dialog open ends it as Escape would";
}

TEST_F(ReviewTest, FailuresOfThePlatform)
{
    compatFailNextDialogBox();
    EXPECT_EQ(review([](HWND) { ADD_FAILURE() << "no dialog should open"; }), -1);
    hostInstance = nullptr; // the question box takes the dialog's place
    char message[128] = "Possible click";
    fakeHost().answers.push_back(IDNO);
    int32_t result = review([](HWND) { ADD_FAILURE() << "no dialog without an instance"; }, 500, message);
    ASSERT_EQ(fakeHost().boxes.size(), 1u);
    EXPECT_EQ(fakeHost().boxes[0].text, std::string("Possible click") + MSG_REVIEW_QUESTION);
    EXPECT_NE(result, -1);
}

TEST_F(ReviewTest, ViewThatCannotBeSubclassedEndsAsClose)
{
    compatSetDialogCreatedHook(
        [](HWND dialog, void *) { SetWindowLongPtrA(GetDlgItem(dialog, IDC_WAVE_VIEW), GWLP_WNDPROC, 0); }, nullptr);
    params.c1 = 0;
    bool driven = false;
    EXPECT_EQ(review([&](HWND) { driven = true; }), ID_CLOSE);
    EXPECT_FALSE(driven) << "the dialog ends while initialising";
    EXPECT_EQ(params.c1, 1) << "fields are read back as they were shown";
    EXPECT_EQ(viewSubclassed, 0);
    allowedLive.subclassed = 1; // the hook's own replacement of the view's procedure, never given back
}

TEST_F(ReviewTest, ViewProcedureInstalledAndRemoved)
{
    WNDPROC during = nullptr, buttonProc = nullptr;
    review([&](HWND dialog) {
        HWND view = GetDlgItem(dialog, IDC_WAVE_VIEW);
        during = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(view, GWLP_WNDPROC));
        buttonProc = viewOldProc;
        // The sizing cursor was left as the class cursor of every push button.
        setViewCursor(view, LoadCursorA(nullptr, IDC_SIZEWE));
        EXPECT_EQ(compatCursorId(compatClassCursor("Button")), 32644);
        click(dialog, ID_REPAIR);
    });
    EXPECT_EQ(during, waveViewProc);
    EXPECT_NE(buttonProc, nullptr);
    EXPECT_EQ(viewOldProc, nullptr);
    EXPECT_EQ(viewSubclassed, 0);
    EXPECT_EQ(compatCursorId(compatClassCursor("Button")), 32512) << "the class cursor is back to the arrow";
    EXPECT_EQ(compatCursorId(compatCurrentCursor()), 32512);
}

struct BarCase {
    int bar;
    UINT message;
    int code, thumb;
    int32_t before, after;
    LRESULT position;    // the bar's position afterwards
    bool repaint;
};

TEST_F(ReviewTest, ScrollBarsStoreAndRepaint)
{
    const BarCase rows[] = {
        {IDC_ZOOM_BAR, WM_VSCROLL, SB_LINEUP, 0, 12, 12, 1, false},
        {IDC_ZOOM_BAR, WM_VSCROLL, SB_LINEUP, 0, 5, 6, 7, true},
        {IDC_ZOOM_BAR, WM_VSCROLL, SB_THUMBTRACK, 1, 5, 12, 1, true},
        {IDC_ZOOM_BAR, WM_VSCROLL, SB_THUMBPOSITION, 12, 5, 1, 12, true},
        {IDC_ZOOM_BAR, WM_VSCROLL, SB_TOP, 0, 5, 12, 1, true},
        {IDC_ZOOM_BAR, WM_VSCROLL, SB_BOTTOM, 0, 5, 1, 12, true},
        {IDC_ZOOM_BAR, WM_VSCROLL, SB_ENDSCROLL, 0, 5, 5, 8, false},
        {IDC_ZOOM_BAR, WM_HSCROLL, SB_TOP, 0, 5, 5, 8, false}, // wrong direction for this bar
        {IDC_WIDTH_BAR, WM_HSCROLL, SB_PAGERIGHT, 0, 150, 160, 160, true},
        {IDC_WIDTH_BAR, WM_HSCROLL, SB_PAGELEFT, 0, 40, 30, 30, true},
        {IDC_WIDTH_BAR, WM_VSCROLL, SB_PAGELEFT, 0, 40, 40, 40, false},
        {IDC_BLEND_BAR, WM_HSCROLL, SB_PAGERIGHT, 0, 10, 12, 12, true},
        {IDC_BLEND_BAR, WM_HSCROLL, SB_LINELEFT, 0, 0, 0, 0, false},
    };
    for (const BarCase &r : rows) {
        params.zoom = r.bar == IDC_ZOOM_BAR ? r.before : 5;
        params.ptsAround = r.bar == IDC_WIDTH_BAR ? r.before : 95;
        params.lineBezier = r.bar == IDC_BLEND_BAR ? r.before : 0;
        review([&](HWND dialog) {
            HWND bar = GetDlgItem(dialog, r.bar);
            compatClearInvalidations();
            SendMessageA(dialog, r.message, scrollCode(r.code, r.thumb), reinterpret_cast<LPARAM>(bar));
            int32_t now = r.bar == IDC_ZOOM_BAR ? params.zoom : r.bar == IDC_WIDTH_BAR ? params.ptsAround
                                                                                        : params.lineBezier;
            std::string what = "bar " + std::to_string(r.bar) + " code " + std::to_string(r.code) + " from " +
                               std::to_string(r.before);
            EXPECT_EQ(now, r.after) << what;
            EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), r.position) << what;
            const auto &inv = compatInvalidations();
            bool viewRepainted = inv.size() == 1 && inv[0].window == GetDlgItem(dialog, IDC_WAVE_VIEW) &&
                                 inv[0].whole && inv[0].erase;
            EXPECT_EQ(viewRepainted, r.repaint) << what << " (" << inv.size() << " invalidations)";
            click(dialog, ID_CLOSE);
        });
    }
}

TEST_F(ReviewTest, ScrollFromAnotherWindowIsIgnored)
{
    params.zoom = 5;
    review([&](HWND dialog) {
        SendMessageA(dialog, WM_VSCROLL, scrollCode(SB_TOP, 0), 0);
        SendMessageA(dialog, WM_VSCROLL, scrollCode(SB_TOP, 0),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_WIDTH_BAR)));
        EXPECT_EQ(params.zoom, 5);
        click(dialog, ID_CLOSE);
    });
}

TEST_F(ReviewTest, AutoZoomOnOpening)
{
    params.autoZoom = 1;
    params.zoom = 1;
    samples[500] = 2730;
    review([&](HWND dialog) {
        EXPECT_EQ(params.zoom, 9);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_ZOOM_BAR, SBM_GETPOS, 0, 0), 4);
        click(dialog, ID_CLOSE);
    });
    params.autoZoom = 0;
    params.zoom = 3;
    review([&](HWND dialog) { click(dialog, ID_CLOSE); });
    EXPECT_EQ(params.zoom, 3) << "without autozoom the zoom stays";
}

// A long session (dense clicks give thousands of reviews): each closed dialog gives back its windows,
// canvases and drawing records, so that after a thousand reviews the fixture finds nothing live but
// the host's frame.
TEST_F(ReviewTest, AThousandReviewsLeaveNothingLive)
{
    for (int i = 0; i < 1000; i++) {
        review([&](HWND dialog) {
            HWND view = GetDlgItem(dialog, IDC_WAVE_VIEW);
            SendMessageA(view, WM_LBUTTONDOWN, 0, mouseAt(params.endMarkerX, 10));
            SendMessageA(view, WM_LBUTTONUP, 0, mouseAt(params.endMarkerX, 10));
            compatPumpPaints();
            click(dialog, i % 2 ? ID_CLOSE : ID_FIND_NEXT);
        });
    }
}
