// Contract tests of the stand-in's GDI canvas: Win32's pixel rules for rectangles and lines, the dot
// pattern, background modes, object selection and deletion, and the counters of live objects.
#include <cstdlib>
#include "support/fake_host.h"

class GdiContract : public PluginTest {
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        window = compatCreateWindow("Canvas", nullptr, nullptr, 40, 30);
    }
    // The canvas as rows of characters: '.' for the initial face colour, 'W' white, 'B' black, 'r' red,
    // '?' anything else.
    std::string rows(int top, int bottom, int left, int right)
    {
        std::string text;
        for (int y = top; y < bottom; y++) {
            for (int x = left; x < right; x++) {
                uint32_t p = compatCanvasPixel(window, x, y);
                text += p == 0xC0C0C0 ? '.' : p == 0xFFFFFF ? 'W' : p == 0 ? 'B' : p == 0x0000FF ? 'r' : '?';
            }
            text += '\n';
        }
        return text;
    }
    HWND window = nullptr;
};

TEST_F(GdiContract, RectangleOutlineFillAndNullPen)
{
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(compatCanvasPixel(window, 0, 0), 0xC0C0C0u) << "a new canvas shows the button face";
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, 1, 1, 5, 4);
    EXPECT_EQ(rows(0, 5, 0, 6), "......\n.BBBB.\n.BWWB.\n.BBBB.\n......\n") << "right and bottom exclusive";
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 10, 1, 14, 4);
    EXPECT_EQ(rows(0, 5, 9, 15), "......\n.WWW..\n.WWW..\n......\n......\n")
        << "without a pen one pixel less each way";
    SelectObject(dc, GetStockObject(WHITE_PEN));
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 24, 4, 20, 1); // given backwards
    EXPECT_EQ(rows(0, 5, 19, 25), "......\n.WWWW.\n.W..W.\n.WWWW.\n......\n") << "no brush keeps the inside";
    Rectangle(dc, 38, 28, 45, 35); // partly off the canvas: clipped
    EXPECT_EQ(compatCanvasPixel(window, 39, 28), 0xFFFFFFu);
    EXPECT_EQ(compatCanvasPixel(window, 38, 29), 0xFFFFFFu);
    EXPECT_EQ(compatCanvasPixel(window, 39, 29), 0xC0C0C0u);
    ReleaseDC(window, dc);
}

// Pixels along a line, by walking the canvas for the one colour drawn.
static int countOf(HWND window, uint32_t colour)
{
    std::vector<uint32_t> pixels;
    int w, h;
    compatCanvasPixels(window, pixels, w, h);
    int n = 0;
    for (uint32_t p : pixels)
        n += p == colour;
    return n;
}

TEST_F(GdiContract, LinesExcludeTheirLastPixel)
{
    const struct {
        int x0, y0, x1, y1;
    } rows[] = {{2, 2, 12, 2}, {2, 2, 2, 12}, {2, 2, 12, 12}, {12, 12, 2, 5}, {5, 20, 8, 2}, {30, 3, 3, 25}, {7, 7, 7, 7}};
    for (const auto &r : rows) {
        compatReset();
        window = compatCreateWindow("Canvas", nullptr, nullptr, 40, 30);
        HDC dc = GetDC(window);
        HPEN red = CreatePen(PS_SOLID, 1, 0x0000FF);
        SelectObject(dc, red);
        POINT previous = {-1, -1};
        MoveToEx(dc, r.x0, r.y0, &previous);
        EXPECT_EQ(previous.x, 0) << "a new device context starts at 0, 0";
        LineTo(dc, r.x1, r.y1);
        int steps = std::max(std::abs(r.x1 - r.x0), std::abs(r.y1 - r.y0));
        std::string what = std::to_string(r.x0) + "," + std::to_string(r.y0) + " to " + std::to_string(r.x1) +
                           "," + std::to_string(r.y1);
        EXPECT_EQ(countOf(window, 0x0000FF), steps) << what;
        if (steps) {
            EXPECT_EQ(compatCanvasPixel(window, r.x0, r.y0), 0x0000FFu) << what << ": first pixel drawn";
            EXPECT_NE(compatCanvasPixel(window, r.x1, r.y1), 0x0000FFu) << what << ": last pixel left out";
        }
        MoveToEx(dc, 0, 0, &previous);
        EXPECT_EQ(previous.x, r.x1) << "LineTo moves the current position";
        SelectObject(dc, GetStockObject(BLACK_PEN));
        DeleteObject(red);
        ReleaseDC(window, dc);
    }
}

TEST_F(GdiContract, DottedPenAndBackgroundMode)
{
    HDC dc = GetDC(window);
    HPEN dotted = CreatePen(PS_DOT, 1, 0x0000FF);
    HGDIOBJ old = SelectObject(dc, dotted);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE) << "device contexts start opaque";
    MoveToEx(dc, 0, 1, nullptr);
    LineTo(dc, 14, 1);
    EXPECT_EQ(rows(1, 2, 0, 15), "rrr...rrr...rr.\n") << "gaps left as they were";
    SetBkMode(dc, OPAQUE);
    MoveToEx(dc, 0, 3, nullptr);
    LineTo(dc, 14, 3);
    EXPECT_EQ(rows(3, 4, 0, 15), "rrrWWWrrrWWWrr.\n") << "opaque gaps take the background colour";
    EXPECT_EQ(SetBkMode(dc, 99), 0);
    SelectObject(dc, old);
    DeleteObject(dotted);
    ReleaseDC(window, dc);
}

TEST_F(GdiContract, ObjectsAndCounters)
{
    HDC dc = GetDC(window);
    EXPECT_EQ(compatLiveDeviceContexts(), 1);
    HPEN pen = CreatePen(PS_SOLID, 1, 0x123456);
    EXPECT_EQ(compatLivePens(), 1);
    HGDIOBJ previous = SelectObject(dc, pen);
    EXPECT_EQ(previous, GetStockObject(BLACK_PEN)) << "a device context starts with the black pen";
    EXPECT_EQ(SelectObject(dc, GetStockObject(GRAY_BRUSH)), GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(compatLivePens(), 1) << "deleted while selected: it goes when it is deselected";
    EXPECT_EQ(SelectObject(dc, previous), pen);
    EXPECT_EQ(compatLivePens(), 0);
    EXPECT_FALSE(DeleteObject(pen)) << "a pen is deleted once";
    EXPECT_EQ(SelectObject(dc, pen), nullptr) << "a deleted pen cannot be selected";
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_PEN))) << "stock objects ignore deletion";
    EXPECT_NE(SelectObject(dc, GetStockObject(WHITE_PEN)), nullptr);
    EXPECT_EQ(GetStockObject(9), nullptr);
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    EXPECT_EQ(ReleaseDC(window, dc), 0) << "released once";
    EXPECT_EQ(compatLiveDeviceContexts(), 0);
    EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_PEN)), nullptr) << "a released context takes nothing";
    // A pen still selected when its device context goes is freed with it.
    dc = GetDC(window);
    pen = CreatePen(PS_DOT, 1, 0);
    SelectObject(dc, pen);
    DeleteObject(pen);
    ReleaseDC(window, dc);
    EXPECT_EQ(compatLivePens(), 0);
    // The drawing survives between device contexts: it is the window's canvas.
    dc = GetDC(window);
    SelectObject(dc, GetStockObject(WHITE_PEN));
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 2, 0);
    ReleaseDC(window, dc);
    dc = GetDC(window);
    EXPECT_EQ(compatCanvasPixel(window, 1, 0), 0xFFFFFFu);
    ReleaseDC(window, dc);
    // Fault switches.
    compatFailNextCreatePen();
    EXPECT_EQ(CreatePen(PS_DOT, 1, 0), nullptr);
    compatFailNextGetDC();
    EXPECT_EQ(GetDC(window), nullptr);
    EXPECT_EQ(GetDC(nullptr), nullptr);
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    EXPECT_FALSE(compatCanvasPixels(compatCreateWindow("Canvas", nullptr, nullptr, 4, 4), pixels, w, h))
        << "no canvas before the first GetDC";
    EXPECT_TRUE(compatCanvasPixels(window, pixels, w, h));
    EXPECT_EQ(w, 40);
    EXPECT_EQ(pixels.size(), 40u * 30u);
}
