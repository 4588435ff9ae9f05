// Invalidation and paint delivery of the stand-in: InvalidateRect records each call and grows the
// window's update rectangle; compatPumpPaints hands WM_PAINT to every window that has one.
#include "compat_host.h"
#include "ui_internal.h"

static std::vector<CompatInvalidation> invalidations;

void compatResetPaint() { invalidations.clear(); }
const std::vector<CompatInvalidation> &compatInvalidations() { return invalidations; }
void compatClearInvalidations() { invalidations.clear(); }

static RECT clipped(const RECT &r, const CompatWindow &w)
{
    RECT c = r;
    if (c.left < 0) c.left = 0;
    if (c.top < 0) c.top = 0;
    if (c.right > w.width) c.right = w.width;
    if (c.bottom > w.height) c.bottom = w.height;
    return c;
}

BOOL WINAPI InvalidateRect(HWND window, const RECT *rect, BOOL erase)
{
    CompatWindow *w = compatWindow(window);
    // A null window would mean every window on the desktop: nothing of it is modelled.
    if (!window)
        return TRUE;
    if (!w)
        return FALSE;
    RECT whole = {0, 0, w->width, w->height};
    invalidations.push_back({window, rect == nullptr, rect ? *rect : whole, erase != FALSE});
    RECT area = clipped(rect ? *rect : whole, *w);
    if (area.left >= area.right || area.top >= area.bottom)
        return TRUE;
    if (!w->invalid) {
        w->updateRect = area;
    } else {
        RECT &u = w->updateRect;
        if (area.left < u.left) u.left = area.left;
        if (area.top < u.top) u.top = area.top;
        if (area.right > u.right) u.right = area.right;
        if (area.bottom > u.bottom) u.bottom = area.bottom;
    }
    w->invalid = true;
    w->eraseBackground = w->eraseBackground || erase;
    return TRUE;
}

int compatPumpPaints()
{
    int paints = 0;
    // Rounds, because a paint may invalidate again; eight of them bound a window that always does.
    for (int round = 0; round < 8; round++) {
        bool any = false;
        for (HWND window : compatLiveWindowHandles()) {
            CompatWindow *w = compatWindow(window);
            if (!w || !w->invalid)
                continue;
            any = true;
            // The region is taken before the paint, as BeginPaint would: what the paint invalidates
            // again waits for the next round.
            w->invalid = false;
            w->eraseBackground = false;
            SendMessageA(window, WM_PAINT, 0, 0);
            paints++;
        }
        if (!any)
            break;
    }
    return paints;
}
