// The stand-in's GDI: stock and created pens and brushes, device contexts of windows, and a raster
// canvas per window (32-bit COLORREF pixels) that Rectangle and MoveToEx/LineTo draw on with Win32's
// pixel rules. Counts live pens and device contexts so tests can see that nothing leaks. A deleted
// pen's record, a released device context's record and a destroyed window's canvas are freed, so
// that a long session holds only what is in use; handles are never given out twice.
#include <map>
#include "compat_host.h"
#include "ui_internal.h"

enum GdiKind { GDI_PEN, GDI_BRUSH };

struct GdiObject {
    GdiKind kind;
    int style;              // PS_* for pens; PS_NULL also marks NULL_BRUSH
    COLORREF colour;        // 0x00BBGGRR
    bool stock;             // stock objects are never deleted
    bool live;
    bool deletePending;     // deleted while selected: goes when deselected
};

struct DeviceContext {
    bool live;
    HWND window;
    size_t pen, brush;      // indices into the object table
    int bkMode;             // TRANSPARENT or OPAQUE
    COLORREF bkColour;      // gap colour of dotted lines in OPAQUE mode
    int x, y;               // current position
    int dashPhase;          // pixels drawn since the last MoveToEx, for the dot pattern
};

struct Canvas {
    int width, height;
    std::vector<uint32_t> pixels;
};

static std::map<size_t, GdiObject> objects;       // by handle number; stock objects are 0..8
static std::map<size_t, DeviceContext> contexts;  // live device contexts only, by handle number
static std::map<HWND, Canvas> canvases;
static size_t nextObject = 0, nextContext = 0;

enum : uintptr_t { OBJECT_HANDLE_BASE = 0x00D00000, DC_HANDLE_BASE = 0x00E00000, BUTTON_FACE = 0x00C0C0C0 };
enum { DOT_ON = 3, DOT_PERIOD = 6, STOCK_COUNT = 9 };

static void addStock(GdiKind kind, int style, COLORREF colour)
{
    objects[nextObject++] = {kind, style, colour, true, true, false};
}

void compatResetGdi()
{
    objects.clear();
    contexts.clear();
    canvases.clear();
    nextObject = nextContext = 0;
    // In GetStockObject's numbering: brushes 0..5, pens 6..8.
    addStock(GDI_BRUSH, PS_SOLID, 0x00FFFFFF);
    addStock(GDI_BRUSH, PS_SOLID, 0x00C0C0C0);
    addStock(GDI_BRUSH, PS_SOLID, 0x00808080);
    addStock(GDI_BRUSH, PS_SOLID, 0x00404040);
    addStock(GDI_BRUSH, PS_SOLID, 0x00000000);
    addStock(GDI_BRUSH, PS_NULL, 0);
    addStock(GDI_PEN, PS_SOLID, 0x00FFFFFF);
    addStock(GDI_PEN, PS_SOLID, 0x00000000);
    addStock(GDI_PEN, PS_NULL, 0);
}

int compatLivePens()
{
    int n = 0;
    for (const auto &entry : objects)
        n += (!entry.second.stock && entry.second.live && entry.second.kind == GDI_PEN) ? 1 : 0;
    return n;
}

int compatLiveDeviceContexts() { return (int)contexts.size(); }
int compatLiveCanvases() { return (int)canvases.size(); }

int compatLiveHostCanvases()
{
    int n = 0;
    for (const auto &entry : canvases)
        n += compatIsHostWindow(entry.first) ? 1 : 0;
    return n;
}
int compatGdiRecords() { return (int)(objects.size() - (objects.empty() ? 0 : STOCK_COUNT) + contexts.size()); }

void compatForgetWindowGdi(HWND window) { canvases.erase(window); }

static HGDIOBJ objectHandle(size_t index) { return reinterpret_cast<HGDIOBJ>(OBJECT_HANDLE_BASE + index * 4); }

static GdiObject *objectOf(HGDIOBJ handle, size_t *index)
{
    if (objects.empty())
        compatResetGdi();
    uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if (value < OBJECT_HANDLE_BASE || (value - OBJECT_HANDLE_BASE) % 4)
        return nullptr;
    size_t i = (value - OBJECT_HANDLE_BASE) / 4;
    auto found = objects.find(i);
    if (found == objects.end() || !found->second.live)
        return nullptr;
    *index = i;
    return &found->second;
}

static DeviceContext *contextOf(HDC dc)
{
    uintptr_t value = reinterpret_cast<uintptr_t>(dc);
    if (value < DC_HANDLE_BASE || (value - DC_HANDLE_BASE) % 4)
        return nullptr;
    auto found = contexts.find((value - DC_HANDLE_BASE) / 4);
    return found == contexts.end() ? nullptr : &found->second;
}

HGDIOBJ WINAPI GetStockObject(int index)
{
    if (objects.empty())
        compatResetGdi();
    return index >= 0 && index < STOCK_COUNT ? objectHandle((size_t)index) : nullptr;
}

HPEN WINAPI CreatePen(int style, int width, COLORREF colour)
{
    (void)width; // every pen draws one pixel wide here
    if (objects.empty())
        compatResetGdi();
    if (compatCallFails(COMPAT_CREATE_PEN))
        return nullptr;
    size_t index = nextObject++;
    objects[index] = {GDI_PEN, style, colour & 0x00FFFFFF, false, true, false};
    return objectHandle(index);
}

static bool selectedAnywhere(size_t index)
{
    for (const auto &entry : contexts)
        if (entry.second.pen == index || entry.second.brush == index)
            return true;
    return false;
}

// An object deleted while selected goes once no device context holds it any more.
static void settlePending(size_t index)
{
    auto found = objects.find(index);
    if (found != objects.end() && found->second.deletePending && !selectedAnywhere(index))
        objects.erase(found);
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object)
{
    DeviceContext *c = contextOf(dc);
    size_t index = 0;
    GdiObject *o = objectOf(object, &index);
    if (!c || !o || o->deletePending)
        return nullptr;
    size_t &slot = o->kind == GDI_PEN ? c->pen : c->brush;
    size_t previous = slot;
    slot = index;
    settlePending(previous);
    return objectHandle(previous);
}

BOOL WINAPI DeleteObject(HGDIOBJ object)
{
    size_t index = 0;
    GdiObject *o = objectOf(object, &index);
    if (!o || o->deletePending)
        return FALSE;
    if (o->stock)
        return TRUE;
    o->deletePending = true;
    settlePending(index);
    return TRUE;
}

HDC WINAPI GetDC(HWND window)
{
    CompatWindow *w = compatWindow(window);
    if (objects.empty())
        compatResetGdi();
    if (compatCallFails(COMPAT_GET_DC))
        return nullptr;
    if (!w)
        return nullptr; // the screen's device context is not modelled
    if (!canvases.count(window)) {
        Canvas &canvas = canvases[window];
        canvas.width = w->width;
        canvas.height = w->height;
        canvas.pixels.assign((size_t)(w->width > 0 ? w->width : 0) * (size_t)(w->height > 0 ? w->height : 0),
                             BUTTON_FACE);
    }
    // A common device context starts with the defaults every time: black pen, white brush, opaque.
    size_t index = nextContext++;
    contexts[index] = {true, window, (size_t)BLACK_PEN, (size_t)WHITE_BRUSH, OPAQUE, 0x00FFFFFF, 0, 0, 0};
    return reinterpret_cast<HDC>(DC_HANDLE_BASE + index * 4);
}

int WINAPI ReleaseDC(HWND window, HDC dc)
{
    DeviceContext *c = contextOf(dc);
    if (!c || c->window != window)
        return 0;
    size_t pen = c->pen, brush = c->brush;
    contexts.erase((reinterpret_cast<uintptr_t>(dc) - DC_HANDLE_BASE) / 4);
    settlePending(pen);
    settlePending(brush);
    return 1;
}

int WINAPI SetBkMode(HDC dc, int mode)
{
    DeviceContext *c = contextOf(dc);
    if (!c || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    int previous = c->bkMode;
    c->bkMode = mode;
    return previous;
}

static void plot(Canvas &canvas, int x, int y, COLORREF colour)
{
    if (x >= 0 && y >= 0 && x < canvas.width && y < canvas.height)
        canvas.pixels[(size_t)y * (size_t)canvas.width + (size_t)x] = colour;
}

static void fill(Canvas &canvas, int left, int top, int right, int bottom, COLORREF colour)
{
    for (int y = top; y < bottom; y++)
        for (int x = left; x < right; x++)
            plot(canvas, x, y, colour);
}

BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    DeviceContext *c = contextOf(dc);
    if (!c)
        return FALSE;
    // A context kept past its window's destruction draws nowhere.
    auto found = canvases.find(c->window);
    if (found == canvases.end())
        return TRUE;
    Canvas &canvas = found->second;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const GdiObject &pen = objects[c->pen];
    const GdiObject &brush = objects[c->brush];
    if (pen.style == PS_NULL) {
        // Without an outline Win32 fills one pixel less to the right and at the bottom.
        if (brush.style != PS_NULL)
            fill(canvas, left, top, right - 1, bottom - 1, brush.colour);
        return TRUE;
    }
    if (brush.style != PS_NULL)
        fill(canvas, left + 1, top + 1, right - 1, bottom - 1, brush.colour);
    fill(canvas, left, top, right, top + 1, pen.colour);
    fill(canvas, left, bottom - 1, right, bottom, pen.colour);
    fill(canvas, left, top, left + 1, bottom, pen.colour);
    fill(canvas, right - 1, top, right, bottom, pen.colour);
    return TRUE;
}

BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous)
{
    DeviceContext *c = contextOf(dc);
    if (!c)
        return FALSE;
    if (previous) {
        previous->x = c->x;
        previous->y = c->y;
    }
    c->x = x;
    c->y = y;
    c->dashPhase = 0;
    return TRUE;
}

static void linePixel(Canvas &canvas, DeviceContext &c, const GdiObject &pen, int x, int y)
{
    bool on = pen.style != PS_DOT || c.dashPhase % DOT_PERIOD < DOT_ON;
    c.dashPhase++;
    if (on)
        plot(canvas, x, y, pen.colour);
    else if (c.bkMode == OPAQUE)
        plot(canvas, x, y, c.bkColour);
}

BOOL WINAPI LineTo(HDC dc, int x, int y)
{
    DeviceContext *c = contextOf(dc);
    if (!c)
        return FALSE;
    auto found = canvases.find(c->window);
    if (found == canvases.end()) {
        c->x = x;
        c->y = y;
        return TRUE;
    }
    Canvas &canvas = found->second;
    const GdiObject &pen = objects[c->pen];
    // Bresenham from the current position; the end point itself is not drawn.
    int x0 = c->x, y0 = c->y;
    int dx = x > x0 ? x - x0 : x0 - x, dy = y > y0 ? y0 - y : y - y0;
    int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
    int error = dx + dy;
    while (x0 != x || y0 != y) {
        if (pen.style != PS_NULL)
            linePixel(canvas, *c, pen, x0, y0);
        int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
    c->x = x;
    c->y = y;
    return TRUE;
}

bool compatCanvasPixels(HWND window, std::vector<uint32_t> &pixels, int &width, int &height)
{
    auto found = canvases.find(window);
    if (found == canvases.end())
        return false;
    pixels = found->second.pixels;
    width = found->second.width;
    height = found->second.height;
    return true;
}

uint32_t compatCanvasPixel(HWND window, int x, int y)
{
    auto found = canvases.find(window);
    if (found == canvases.end())
        return 0xFFFFFFFFu;
    const Canvas &canvas = found->second;
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height)
        return 0xFFFFFFFFu;
    return canvas.pixels[(size_t)y * (size_t)canvas.width + (size_t)x];
}
