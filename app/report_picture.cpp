// The report's pictures: the review view framed with its scales and legend, and the host's own
// drawing of a repair, before and after. Both share the frame's layout: a title above, the amplitude
// scale at the left, the time axis in milliseconds below and a legend under it. No state.
#include <cmath>
#include <cstdio>
#include "report.h"
#include "review_terminal.h"

static const uint32_t PAPER = 0x00FFFFFFu;
static const uint32_t INK = 0x00202020u;
static const uint32_t RULE = 0x00909090u;
static const uint32_t PLOT_BLACK = 0x00000000u;
static const uint32_t WAVE_WHITE = 0x00FFFFFFu;
static const uint32_t CANDIDATE_GREY = 0x00404040u;
static const uint32_t START_PEN = 0x00004080u;    // RGB(128, 64, 0), as the view draws the start marker
static const uint32_t END_PEN = 0x002080FFu;      // RGB(255, 128, 32)
static const uint32_t PREVIEW_PEN = 0x0040C0FFu;  // RGB(255, 192, 64)
static const uint32_t HANDLE_PEN = 0x00FF8080u;   // RGB(128, 128, 255)
static const uint32_t BEFORE_RED = 0x003C3CE6u;   // RGB(230, 60, 60)
static const uint32_t SPAN_SHADE = 0x00603018u;   // RGB(24, 48, 96)
static const uint32_t ZERO_GREY = 0x00505050u;

// A plot area inside a picture: its rectangle in the picture's pixels.
struct PlotArea {
    int32_t left, top, width, height;
};

// The step of 1, 2 or 5 times a power of ten that puts at most maxTicks ticks over span.
static double niceStep(double span, int32_t maxTicks)
{
    if (span <= 0 || maxTicks < 1)
        return 1.0;
    double raw = span / maxTicks;
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= raw)
            return factor * power;
    return 10.0 * power;
}

static std::string number(double value)
{
    char text[32];
    if (std::fabs(value) < 1e-12)
        return "0";
    snprintf(text, sizeof text, "%+.3g", value);
    return text;
}

// Ticks and labels at the left edge for amplitudes -top..top (shares of full scale); rowOf maps one.
static void amplitudeScale(Canvas *picture, const PlotArea &area, double top, const std::function<int32_t(double)> &rowOf)
{
    for (int32_t k = -2; k <= 2; k++) {
        double value = top * k / 2.0;
        int32_t y = area.top + rowOf(value);
        canvasLine(picture, area.left - 4, y, area.left - 1, y, RULE, false);
        std::string label = number(value);
        int32_t x = area.left - 6 - canvasTextWidth(label);
        int32_t labelTop = y - 4 < 0 ? 0 : y - 4;
        if (labelTop + 8 > picture->height)
            labelTop = picture->height - 8;
        canvasText(picture, x, labelTop, label, INK);
    }
}

// Ticks and labels below the plot for the times fromMs..toMs across its width, and the caption.
static void timeAxis(Canvas *picture, const PlotArea &area, double fromMs, double toMs, const std::string &caption)
{
    int32_t bottom = area.top + area.height;
    canvasLine(picture, area.left, bottom, area.left + area.width - 1, bottom, RULE, false);
    double span = toMs - fromMs;
    if (span > 0) {
        double step = niceStep(span, area.width / 60 > 1 ? area.width / 60 : 1);
        for (double t = std::ceil(fromMs / step) * step; t <= toMs + 1e-9; t += step) {
            int32_t x = area.left + (int32_t)std::lround((t - fromMs) / span * (area.width - 1));
            canvasLine(picture, x, bottom, x, bottom + 3, RULE, false);
            std::string label = number(std::fabs(t) < step / 1000 ? 0.0 : t);
            if (label[0] == '+')
                label.erase(0, 1);
            canvasText(picture, x - canvasTextWidth(label) / 2, bottom + 5, label, INK);
        }
    }
    canvasText(picture, area.left + (area.width - canvasTextWidth(caption)) / 2, bottom + 16, caption, INK);
}

// One legend item: a black swatch with the element drawn in it, then its name. Returns the x after it.
enum SwatchKind { SWATCH_LINE, SWATCH_BAR, SWATCH_DOTTED, SWATCH_SQUARES, SWATCH_SHADE };

static int32_t legendItem(Canvas *picture, int32_t x, int32_t y, int32_t kind, uint32_t colour, const std::string &name)
{
    canvasFill(picture, x, y, x + 16, y + 9, kind == SWATCH_SHADE ? colour : PLOT_BLACK);
    switch (kind) {
    case SWATCH_LINE:
        canvasLine(picture, x + 1, y + 6, x + 14, y + 2, colour, false);
        break;
    case SWATCH_BAR:
        canvasFill(picture, x + 6, y, x + 10, y + 9, colour);
        break;
    case SWATCH_DOTTED:
        canvasLine(picture, x + 8, y, x + 8, y + 8, colour, true);
        break;
    case SWATCH_SQUARES:
        for (int32_t i = 0; i < 3; i++)
            canvasFill(picture, x + 3 + 4 * i, y + 5 - i, x + 5 + 4 * i, y + 7 - i, colour);
        break;
    default:
        break;
    }
    canvasText(picture, x + 20, y + 1, name, INK);
    return x + 20 + canvasTextWidth(name) + 12;
}

struct LegendEntry {
    int32_t kind;
    uint32_t colour;
    const char *name;
};

// The legend in rows from y, wrapping at the picture's right edge.
static void legend(Canvas *picture, int32_t left, int32_t y, const LegendEntry *entries, int32_t count)
{
    int32_t x = left;
    for (int32_t i = 0; i < count; i++) {
        int32_t width = 20 + canvasTextWidth(entries[i].name) + 12;
        if (x > left && x + width - 12 > picture->width - 4) {
            x = left;
            y += 12;
        }
        x = legendItem(picture, x, y, entries[i].kind, entries[i].colour, entries[i].name);
    }
}

void frameReviewPicture(const ReviewPictureFacts &facts, const std::vector<uint32_t> &pixels, int32_t width,
                        int32_t height, Canvas *picture)
{
    canvasStart(picture, VIEW_FRAME_LEFT + width + VIEW_FRAME_RIGHT, VIEW_FRAME_TOP + height + VIEW_FRAME_BOTTOM, PAPER);
    const PlotArea area = {VIEW_FRAME_LEFT, VIEW_FRAME_TOP, width, height};
    canvasFill(picture, area.left - 1, area.top - 1, area.left + width + 1, area.top + height + 1, RULE);
    canvasPaste(picture, area.left, area.top, pixels, width, height);
    int32_t rate = facts.sampleRate > 0 ? facts.sampleRate : 1;
    uint64_t frame = facts.position ? facts.position - 1 : facts.selStart;
    std::string where = facts.channel ? "channel " + std::to_string(facts.channel) : "all channels";
    std::string title = "review " + std::to_string(facts.review) + ", " + where + ", pass " +
                        std::to_string(facts.pass) + ": candidate at " + formatClock(frame, rate) +
                        (facts.position ? " (sample " + std::to_string(facts.position) + ")" : "");
    canvasText(picture, area.left, 4, title, INK);
    // The view shows -32768/zoom .. 32768/zoom over its height, as its own row mapping does.
    int32_t zoom = facts.zoom >= 1 && facts.zoom <= 12 ? facts.zoom : 1;
    double top = 1.0 / zoom;
    amplitudeScale(picture, area, top, [&](double value) {
        double row = (1.0 - value / top) * height / 2.0;
        return (int32_t)(row < 0 ? 0 : row > height - 1 ? height - 1 : row);
    });
    // The view's stretch, as it computes it: around samples either side, the last slot one past them.
    int64_t index = (int64_t)frame - (int64_t)facts.selStart;
    int64_t first = index - facts.around < 0 ? 0 : index - facts.around;
    int64_t last = index + facts.around >= (int64_t)facts.selCount ? (int64_t)facts.selCount : index + facts.around;
    double slotMs = 1000.0 / rate;
    timeAxis(picture, area, (first - index) * slotMs, (last - index) * slotMs,
             "ms from the candidate; amplitude: share of full scale");
    static const LegendEntry entries[] = {
        {SWATCH_LINE, WAVE_WHITE, "waveform"},     {SWATCH_BAR, CANDIDATE_GREY, "candidate"},
        {SWATCH_DOTTED, START_PEN, "span start"},  {SWATCH_DOTTED, END_PEN, "span end"},
        {SWATCH_SQUARES, PREVIEW_PEN, "repaired curve (preview)"}, {SWATCH_LINE, HANDLE_PEN, "curve handles"},
    };
    legend(picture, area.left, area.top + height + 30, entries, 6);
}

// ---- Repairs

enum { REPAIR_PLOT_WIDTH = 420, REPAIR_PLOT_HEIGHT = 150 };

// The smallest of 1, 0.5, 0.25, 0.1, 0.05, ... at or above peak, so small repairs fill the plot.
static double amplitudeRange(double peak)
{
    double range = 1.0;
    for (int32_t i = 0; i < 12; i++) {
        double next = range / ((i % 3 == 1) ? 2.5 : 2.0);
        if (next < peak)
            break;
        range = next;
    }
    return peak > range ? std::ceil(peak) : range;
}

static void drawCurve(Canvas *picture, const PlotArea &area, const double *values, size_t n, double range,
                      uint32_t colour)
{
    auto rowOf = [&](double v) {
        double row = (1.0 - v / range) * (area.height - 1) / 2.0;
        return area.top + (int32_t)std::lround(row < 0 ? 0 : row > area.height - 1 ? area.height - 1 : row);
    };
    if (n <= (size_t)area.width) {
        int32_t px = 0, py = 0;
        for (size_t i = 0; i < n; i++) {
            int32_t x = area.left + (int32_t)(((double)i + 0.5) * area.width / n), y = rowOf(values[i]);
            if (i)
                canvasLine(picture, px, py, x, y, colour, false);
            else
                canvasLine(picture, x, y, x, y, colour, false);
            px = x;
            py = y;
        }
        return;
    }
    // More frames than columns: each column shows the lowest and highest value among its frames.
    for (int32_t column = 0; column < area.width; column++) {
        size_t from = (size_t)column * n / (size_t)area.width, to = (size_t)(column + 1) * n / (size_t)area.width;
        double low = values[from], high = values[from];
        for (size_t i = from; i < to; i++) {
            low = values[i] < low ? values[i] : low;
            high = values[i] > high ? values[i] : high;
        }
        canvasLine(picture, area.left + column, rowOf(high), area.left + column, rowOf(low), colour, false);
    }
}

void drawRepairPicture(const RepairPictureFacts &facts, Canvas *picture)
{
    const PlotArea area = {VIEW_FRAME_LEFT, VIEW_FRAME_TOP, REPAIR_PLOT_WIDTH, REPAIR_PLOT_HEIGHT};
    canvasStart(picture, area.left + area.width + VIEW_FRAME_RIGHT, area.top + area.height + VIEW_FRAME_BOTTOM, PAPER);
    canvasFill(picture, area.left - 1, area.top - 1, area.left + area.width + 1, area.top + area.height + 1, RULE);
    canvasFill(picture, area.left, area.top, area.left + area.width, area.top + area.height, PLOT_BLACK);
    size_t n = facts.before.size() < facts.after.size() ? facts.before.size() : facts.after.size();
    int32_t rate = facts.sampleRate > 0 ? facts.sampleRate : 1;
    double peak = 0;
    for (size_t i = 0; i < n; i++)
        peak = std::fmax(peak, std::fmax(std::fabs(facts.before[i]), std::fabs(facts.after[i])));
    double range = amplitudeRange(peak);
    if (n > 0) {
        // The changed frames' slots, shaded; then the zero line, the curve before and the curve after.
        double slot = (double)area.width / n;
        int32_t x0 = area.left + (int32_t)((facts.first - facts.windowFirst) * slot);
        int32_t x1 = area.left + (int32_t)std::ceil((facts.last - facts.windowFirst + 1) * slot);
        canvasFill(picture, x0, area.top, x1 > x0 ? x1 : x0 + 1, area.top + area.height, SPAN_SHADE);
        canvasLine(picture, area.left, area.top + (area.height - 1) / 2, area.left + area.width - 1,
                   area.top + (area.height - 1) / 2, ZERO_GREY, false);
        drawCurve(picture, area, facts.before.data(), n, range, BEFORE_RED);
        drawCurve(picture, area, facts.after.data(), n, range, WAVE_WHITE);
    }
    std::string where = facts.channel ? "channel " + std::to_string(facts.channel) : "all channels";
    uint32_t length = facts.last - facts.first + 1;
    char span[64];
    snprintf(span, sizeof span, "%u, %.2f ms", (unsigned)length, length * 1000.0 / rate);
    canvasText(picture, area.left, 4,
               "repair, " + where + ", " + formatClock(facts.first, rate) + ": samples " +
                   std::to_string(facts.first + 1u) + "-" + std::to_string(facts.last + 1u) + " (" + span + ")",
               INK);
    amplitudeScale(picture, area, range, [&](double value) {
        double row = (1.0 - value / range) * (area.height - 1) / 2.0;
        return (int32_t)std::lround(row);
    });
    double slotMs = 1000.0 / rate;
    double fromMs = ((double)facts.windowFirst - facts.first) * slotMs;
    timeAxis(picture, area, fromMs, fromMs + n * slotMs,
             "ms from the first repaired sample; amplitude: share of full scale");
    static const LegendEntry entries[] = {
        {SWATCH_LINE, BEFORE_RED, "before (where it differs)"},
        {SWATCH_LINE, WAVE_WHITE, "after, as written"},
        {SWATCH_SHADE, SPAN_SHADE, "repaired samples"},
    };
    legend(picture, area.left, area.top + area.height + 30, entries, 3);
}
