// A small raster canvas for the report's pictures: filled rectangles, lines, dotted lines and text in
// a 5 by 8 pixel font, on COLORREF pixels (0x00BBGGRR) as the view's own pixels are read. Pure; the
// canvas is the caller's record.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Canvas {
    int32_t width;                // pixels across, 1 or more
    int32_t height;               // pixels down, 1 or more
    std::vector<uint32_t> pixels; // row-major COLORREF values, top row first
};

// Character cells of canvasText: 6 pixels across (5 for the glyph, 1 apart), 10 down.
enum { GLYPH_ADVANCE = 6, TEXT_LINE_HEIGHT = 10 };

// Makes a width x height canvas filled with colour.
void canvasStart(Canvas *canvas, int32_t width, int32_t height, uint32_t colour);

// Fills the rectangle left..right-1, top..bottom-1, clipped to the canvas.
void canvasFill(Canvas *canvas, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour);

// A line from (x0, y0) to (x1, y1), both ends drawn; every other pixel only when dotted.
void canvasLine(Canvas *canvas, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour, bool dotted);

// Text with its top-left corner at (x, y); characters outside printable ASCII are drawn as '?'.
void canvasText(Canvas *canvas, int32_t x, int32_t y, const std::string &text, uint32_t colour);

// Width in pixels of text as canvasText draws it.
int32_t canvasTextWidth(const std::string &text);

// Copies width x height pixels with their top-left corner at (x, y), unchanged.
void canvasPaste(Canvas *canvas, int32_t x, int32_t y, const std::vector<uint32_t> &pixels, int32_t width,
                 int32_t height);
