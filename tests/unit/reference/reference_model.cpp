// The reference model's rules, each written the slow and obvious way: no tables, no remembered
// walks, every sum formed again where it is needed. State: the model's skip list only.
#include "reference_model.h"
#include <cstdio>
#include <cstdlib>
#include "plugin/xfm_types.h"
#include "repair/repair.h"

namespace refmodel {

static std::vector<int32_t> skipped; // oldest first, at most 60

void refModelReset() { skipped.clear(); }

bool modelIsSkipped(int32_t p)
{
    for (int32_t e : skipped)
        if (std::abs(p - e) < 5)
            return true;
    return false;
}

void modelAddSkipped(int32_t p)
{
    for (int32_t e : skipped)
        if (e == p)
            return;
    if (skipped.size() == 60)
        skipped.erase(skipped.begin());
    skipped.push_back(p);
}

static int32_t at(const int16_t *x, int64_t k) { return (int32_t)x[k]; }
static int32_t step(const int16_t *x, int64_t k) { return std::abs(at(x, k + 1) - at(x, k)); }

void refLocateSpan(const int16_t *x, uint32_t count, uint32_t p, ClickParams &params)
{
    int64_t pp = p;
    int64_t st = pp - 4, en = pp + 8;
    bool refine = true;
    if (pp - 4 <= 0) {
        st = 1;
        refine = false;
    }
    if (pp + 8 >= (int64_t)count - 1) {
        en = (int64_t)count - 2;
        refine = false;
    }
    if (refine) {
        int32_t sum = 0;
        for (int64_t k = pp - 2; k <= pp + 3; ++k)
            sum += step(x, k);
        int32_t thr = ((sum + 3) / 6) / 2;
        int64_t i = pp - 3;
        while (i < pp - 2 && step(x, i) <= thr)
            ++i;
        st = i - 2 < 1 ? 1 : i - 2;
        int64_t j = pp + 7;
        while (j > pp + 4 && std::abs(at(x, j) - at(x, j - 1)) <= thr)
            --j;
        en = j + 2;
    }
    params.spanStart = (int32_t)st;
    params.spanEnd = (int32_t)en;
}

int32_t refTroughLeft(const int16_t *x, int32_t start, int32_t h)
{
    if (start < 0 || h < 0) return -1;
    int32_t m = start;
    for (int32_t i = start - 1; i >= 0; --i) {
        if (at(x, i) > at(x, m) + h) break;
        if (at(x, i) < at(x, m)) m = i;
    }
    return m;
}

int32_t refPeakLeft(const int16_t *x, int32_t start, int32_t h)
{
    if (start < 0 || h < 0) return -1;
    int32_t m = start;
    for (int32_t i = start - 1; i >= 0; --i) {
        if (at(x, i) < at(x, m) - h) break;
        if (at(x, i) > at(x, m)) m = i;
    }
    return m;
}

int32_t refTroughRight(const int16_t *x, int32_t start, uint32_t count, int32_t h)
{
    if (start < 0 || (int64_t)start >= (int64_t)count || h < 0) return -1;
    int32_t m = start;
    for (int64_t i = start + 1; i < (int64_t)count; ++i) {
        if (at(x, i) > at(x, m) + h) break;
        if (at(x, i) < at(x, m)) m = (int32_t)i;
    }
    return m;
}

int32_t refPeakRight(const int16_t *x, int32_t start, uint32_t count, int32_t h)
{
    if (start < 0 || (int64_t)start >= (int64_t)count || h < 0) return -1;
    int32_t m = start;
    for (int64_t i = start + 1; i < (int64_t)count; ++i) {
        if (at(x, i) < at(x, m) - h) break;
        if (at(x, i) > at(x, m)) m = (int32_t)i;
    }
    return m;
}

int32_t refIntegerMean(const int32_t *v, int32_t n)
{
    if (n <= 0) return -1;
    int64_t sum = 0;
    for (int32_t i = 0; i < n; ++i) sum += v[i];
    return (int32_t)(sum / n);
}

int32_t refRobustCentre(const int32_t *v, int32_t n)
{
    if (n <= 0) return -1;
    int32_t centre = refIntegerMean(v, n);
    if (centre < 0) return -1;
    int32_t above = 0, below = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (v[i] > centre) ++above;
        if (v[i] < centre) ++below;
    }
    if (above == below) return centre;
    int32_t dir = above > below ? 1 : -1;
    int32_t gap = 0, cnt = 0;
    do {
        bool found = false;
        int32_t zeros = 0;
        cnt = 0;
        for (int32_t i = 0; i < n; ++i) {
            int32_t e = (v[i] - centre) * dir;
            if (e == 0) ++zeros;
            if (e > 0 && (!found || e < gap)) { gap = e; cnt = 1; found = true; }
            else if (e > 0 && e == gap) ++cnt;
        }
        if (!found) return centre;
        centre += gap * dir;
        if (dir == 1) { below += zeros; above -= cnt; }
        else { above += zeros; below -= cnt; }
    } while ((above - below) * dir > 0);
    int32_t excess = (below - above) * dir;
    if (excess < cnt) return centre;
    if (excess > cnt) return centre - gap * dir;
    return centre - (gap * dir) / 2;
}

static int32_t rangeOf(const int16_t *x, int64_t a, int64_t b)
{
    if (b <= a) return 0;
    int32_t lo = at(x, a), hi = at(x, a);
    for (int64_t k = a; k <= b; ++k) {
        if (at(x, k) < lo) lo = at(x, k);
        if (at(x, k) > hi) hi = at(x, k);
    }
    return hi - lo;
}

// Extrema on one side into slots; kind true = trough. Returns the new end slot (L or R).
static int32_t collectSide(const int16_t *x, uint32_t count, int32_t p, int32_t h, int32_t *slot, bool left,
                           bool *bad)
{
    int32_t trough = left ? refTroughLeft(x, p, h) : refTroughRight(x, p, count, h);
    int32_t peak = left ? refPeakLeft(x, p, h) : refPeakRight(x, p, count, h);
    int32_t edge = left ? 10 : 9;
    if (trough == -1 || peak == -1) { *bad = true; return edge; }
    if (trough == p && peak == p) return edge;
    int32_t e = left ? 9 : 10;
    bool isTrough;
    if (left) isTrough = !(peak > trough);
    else isTrough = !(peak < trough);
    slot[e] = isTrough ? trough : peak;
    for (;;) {
        int32_t q = slot[e], next;
        if (left) next = isTrough ? refPeakLeft(x, q, h) : refTroughLeft(x, q, h);
        else next = isTrough ? refPeakRight(x, q, count, h) : refTroughRight(x, q, count, h);
        if (next == -1 || next == q || e == (left ? 0 : 20)) break;
        e += left ? -1 : 1;
        slot[e] = next;
        isTrough = !isTrough;
    }
    return e;
}

int32_t refVerify(const int16_t *x, uint32_t p, uint32_t count, ClickParams &params, int32_t sampleRate)
{
    if (count < 23) return 0;
    int32_t s = params.baseFreqVerS;
    if (s == 0) return 1;
    if (params.spanStart <= 0) params.spanStart = 1;
    if ((int64_t)params.spanEnd >= (int64_t)count - 1) params.spanEnd = (int32_t)(count - 2);
    int32_t w = params.spanEnd - params.spanStart;
    int32_t hw = sampleRate < 0 ? 1470 : sampleRate / 30;
    if (hw < w) hw = w;
    int64_t a = (int64_t)params.spanStart - 2 * (int64_t)hw;
    if (a < 1) a = 1;
    int64_t b = (int64_t)params.spanEnd + 2 * (int64_t)hw;
    if (b > (int64_t)count - 2) b = (int64_t)count - 2;
    int32_t h = rangeOf(x, a, b) / 6;
    int32_t r2 = rangeOf(x, params.spanStart, params.spanEnd);
    if ((r2 + 1) / 2 < h) h = (r2 + 1) / 2;
    int32_t slot[21] = {0};
    bool bad = false;
    int32_t L = collectSide(x, count, (int32_t)p, h, slot, true, &bad);
    if (bad) return 1;
    int32_t R = collectSide(x, count, (int32_t)p, h, slot, false, &bad);
    if (bad) return 1;
    int32_t n = R - L;
    if (n < 4) return 1;
    int32_t d[21];
    for (int32_t k = 0; k < n; ++k) d[k] = slot[L + k + 1] - slot[L + k];
    int32_t centre = refRobustCentre(d, n);
    if (centre < 0) return 1;
    int64_t limit = (3 * (int64_t)centre) / (2 * (int64_t)s);
    return w > limit ? 0 : 1;
}

} // namespace refmodel
