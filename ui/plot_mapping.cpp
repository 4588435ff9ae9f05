// The waveform view's mappings between sample indices, sample values and pixels. Integer arithmetic
// with truncating division throughout, so that both builds put every pixel in the same place.
#include "plot_context.h"

int32_t sampleToX(const PlotContext &plot, int32_t index)
{
    return ((index - plot.firstSample) * plot.client.right + plot.visibleCount / 2) / plot.visibleCount;
}

int32_t valueToY(int32_t value, const RECT &client, int32_t zoom)
{
    int32_t half = 32768 / zoom;
    int32_t full = 65536 / zoom;
    int32_t y = ((half - value) * client.bottom + half) / full;
    if (y < 0)
        return 0;
    if (y > client.bottom)
        return client.bottom;
    return y;
}

int32_t xToSample(const PlotContext &plot, int32_t x)
{
    int32_t width = plot.client.right;
    int32_t s = plot.firstSample + (x * plot.visibleCount + width / 2) / width;
    if (s < plot.firstSample)
        return plot.firstSample;
    if (s > plot.lastSample)
        return plot.lastSample;
    return s;
}
