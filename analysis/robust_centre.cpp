// integerMean and robustCentre: the typical value of the verification's interval list, a median
// found by stepping from the truncated mean through the distinct values. Pure functions; no state.
// Sums are formed in 64 bits, and differences too unless every value is 0 or more (then they fit 32
// bits), so no list of 32-bit values can overflow them.
#include "base_freq.h"
#include <cstring>

int32_t integerMean(const int32_t *values, int32_t n)
{
    if (n <= 0)
        return -1;
    int64_t sum = 0;
    for (int32_t k = 0; k < n; ++k)
        sum += values[k];
    // C++ division truncates toward zero, also for a negative sum.
    return (int32_t)(sum / n);
}

// One step's view of the values from centre in direction dir: the smallest positive distance gap,
// how many values lie exactly that far (cnt), and how many sit on the centre (zeros).
struct CentreStep {
    int64_t gap;   // smallest positive (value - centre) * dir; 0 when no value lies beyond
    int32_t cnt;   // values at distance gap, 0..n
    int32_t zeros; // values equal to centre, 0..n
};

static CentreStep measureStep(const int32_t *values, int32_t n, int64_t centre, int32_t dir)
{
    CentreStep s = {0, 0, 0};
    for (int32_t k = 0; k < n; ++k) {
        int64_t e = ((int64_t)values[k] - centre) * dir;
        if (e == 0) {
            ++s.zeros;
        } else if (e > 0) {
            if (s.gap == 0 || e < s.gap) {
                s.gap = e;
                s.cnt = 1;
            } else if (e == s.gap) {
                ++s.cnt;
            }
        }
    }
    return s;
}

// The centre has just crossed the middle after step s in direction dir. Which side it settles on
// depends on how far past the balance the last step went compared with the values it stepped onto; a
// tie takes the midpoint of the last two centres, truncated toward zero and so rounded toward the last
// one.
static int32_t settle(int64_t centre, const CentreStep &s, int32_t above, int32_t below, int32_t dir)
{
    int32_t excess = (below - above) * dir;
    if (excess < s.cnt)
        return (int32_t)centre;
    if (excess > s.cnt)
        return (int32_t)(centre - s.gap * dir);
    return (int32_t)(centre - (s.gap * dir) / 2);
}

// The same walk four values at a time, for up to 24 values that are all 0 or more: the centre then
// lies between the smallest and the largest of them (the mean does, and steps land on values), so
// every distance from it fits 32 bits. Lanes past the count are masked off.
typedef int32_t Int4 __attribute__((vector_size(16)));

enum { laneGroups = 6, laneValues = 4 * laneGroups };

struct LaneList {
    Int4 value[laneGroups]; // the values, 0 past the count
    Int4 valid[laneGroups]; // all ones in a lane that holds a value, else 0
    int32_t groups;         // groups in use, 1..6
};

static void loadLanes(LaneList &lanes, const int32_t *values, int32_t n)
{
    lanes.groups = (n + 3) / 4;
    Int4 index = {0, 1, 2, 3}, count = {n, n, n, n};
    for (int32_t g = 0; g < lanes.groups; ++g) {
        if (4 * g + 4 <= n) {
            memcpy(&lanes.value[g], values + 4 * g, sizeof(Int4));
        } else {
            int32_t part[4] = {0, 0, 0, 0};
            memcpy(part, values + 4 * g, (size_t)(n - 4 * g) * sizeof(int32_t));
            memcpy(&lanes.value[g], part, sizeof(Int4));
        }
        lanes.valid[g] = index < count;
        index += 4;
    }
}

static int32_t laneSum(Int4 v)
{
    return v[0] + v[1] + v[2] + v[3];
}

static CentreStep measureLanes(const LaneList &lanes, int32_t centre, int32_t dir)
{
    const int32_t none = INT32_MAX; // no distance beyond the centre; a real one is kept as d - 1 below it
    Int4 c = {centre, centre, centre, centre};
    int32_t flip = dir < 0 ? -1 : 0;
    Int4 sign = {flip, flip, flip, flip};
    Int4 noneLanes = {none, none, none, none};
    Int4 key[laneGroups];
    Int4 low = noneLanes, zeros = {0, 0, 0, 0};
    for (int32_t g = 0; g < lanes.groups; ++g) {
        Int4 e = ((lanes.value[g] - c) ^ sign) - sign;
        zeros -= (e == 0) & lanes.valid[g];
        Int4 beyond = (e > 0) & lanes.valid[g];
        Int4 k = (beyond & (e - 1)) | (~beyond & noneLanes);
        key[g] = k;
        Int4 less = k < low;
        low = (less & k) | (~less & low);
    }
    int32_t least = low[0];
    for (int32_t lane = 1; lane < 4; ++lane)
        least = low[lane] < least ? low[lane] : least;
    CentreStep s = {0, 0, laneSum(zeros)};
    if (least == none)
        return s;
    Int4 at = {least, least, least, least}, count = {0, 0, 0, 0};
    for (int32_t g = 0; g < lanes.groups; ++g)
        count -= key[g] == at;
    s.gap = (int64_t)least + 1;
    s.cnt = laneSum(count);
    return s;
}

// robustCentre for a list loadLanes took, from its truncated mean centre (0 or more).
static int32_t centreInLanes(const LaneList &lanes, int32_t centre)
{
    Int4 c = {centre, centre, centre, centre}, more = {0, 0, 0, 0}, fewer = {0, 0, 0, 0};
    for (int32_t g = 0; g < lanes.groups; ++g) {
        more -= (lanes.value[g] > c) & lanes.valid[g];
        fewer -= (lanes.value[g] < c) & lanes.valid[g];
    }
    int32_t above = laneSum(more), below = laneSum(fewer);
    if (above == below)
        return centre;
    int32_t dir = above > below ? 1 : -1;
    CentreStep s;
    do {
        s = measureLanes(lanes, centre, dir);
        if (s.gap == 0)
            return centre;
        centre += (int32_t)s.gap * dir;
        if (dir > 0) {
            below += s.zeros;
            above -= s.cnt;
        } else {
            above += s.zeros;
            below -= s.cnt;
        }
    } while ((above - below) * dir > 0);
    return settle(centre, s, above, below, dir);
}

int32_t robustCentre(const int32_t *values, int32_t n)
{
    if (n <= 0)
        return -1;
    if (n <= laneValues) {
        // The mean as integerMean forms it, with the smallest value found on the way.
        int64_t sum = 0;
        int32_t smallest = values[0];
        for (int32_t k = 0; k < n; ++k) {
            sum += values[k];
            smallest = values[k] < smallest ? values[k] : smallest;
        }
        int32_t mean = (int32_t)(sum / n);
        if (mean < 0)
            return -1;
        if (smallest >= 0) {
            LaneList lanes;
            loadLanes(lanes, values, n);
            return centreInLanes(lanes, mean);
        }
    }
    int64_t centre = integerMean(values, n);
    if (centre < 0)
        return -1;
    int32_t above = 0;
    int32_t below = 0;
    for (int32_t k = 0; k < n; ++k) {
        above += values[k] > centre;
        below += values[k] < centre;
    }
    if (above == below)
        return (int32_t)centre;
    int32_t dir = above > below ? 1 : -1;
    CentreStep s;
    do {
        s = measureStep(values, n, centre, dir);
        if (s.gap == 0)
            return (int32_t)centre;
        centre += s.gap * dir;
        if (dir > 0) {
            below += s.zeros;
            above -= s.cnt;
        } else {
            above += s.zeros;
            below -= s.cnt;
        }
    } while ((above - below) * dir > 0);
    return settle(centre, s, above, below, dir);
}
