// Scroll steps of the review dialog's three bars and the clamps of the fields read back at its end.
// The zoom bar runs upside down (thumb at the top for zoom 12), so its steps go the other way.
#include "review_rules.h"

struct BarRule {
    int32_t lineStep;   // change for SB_LINEDOWN (negated for SB_LINEUP)
    int32_t pageStep;   // change for SB_PAGEDOWN (negated for SB_PAGEUP)
    int32_t top;        // value for SB_TOP
    int32_t bottom;     // value for SB_BOTTOM
    int32_t low, high;  // clamp
};

static const BarRule barRules[3] = {
    {-1, -4, 12, 1, 1, 12},     // zoom
    {1, 4, 0, 12, 0, 12},       // blend
    {1, 20, 30, 160, 30, 160},  // width
};

int32_t scrollStep(int32_t bar, int32_t current, int32_t code, int32_t thumb, int32_t *value)
{
    if (bar < SCROLL_ZOOM || bar > SCROLL_WIDTH || code < 0 || code > 7)
        return 0;
    const BarRule &rule = barRules[bar];
    int32_t next = current;
    switch (code) {
    case 0: next = current - rule.lineStep; break;
    case 1: next = current + rule.lineStep; break;
    case 2: next = current - rule.pageStep; break;
    case 3: next = current + rule.pageStep; break;
    case 4:
    case 5: next = bar == SCROLL_ZOOM ? 13 - thumb : thumb; break;
    case 6: next = rule.top; break;
    default: next = rule.bottom; break;
    }
    if (next < rule.low)
        next = rule.low;
    if (next > rule.high)
        next = rule.high;
    *value = next;
    return 1;
}

void storeReviewFields(const ReviewFields &fields, ClickParams &params)
{
    // c2 is compared with the c1 just clamped, so two zeros give 1 and 2. No value lies above the
    // largest c1, and c1 + 1 would wrap to the most negative c2, which every jump passes: that c1 gives
    // way by one so that c2 can stay above it.
    params.c1 = fields.c1 < 1 ? 1 : fields.c1;
    if (params.c1 == INT32_MAX)
        params.c1 = INT32_MAX - 1;
    params.d1 = fields.d1 < 1 ? 1 : fields.d1;
    params.c2 = fields.c2 > params.c1 ? fields.c2 : params.c1 + 1;
    params.useBaseFreqVer = fields.useBaseFreq ? 1 : 0;
    params.baseFreqVerS = fields.severity < 1 ? 1 : fields.severity;
    params.multipass = fields.multipass ? 1 : 0;
    params.autoZoom = fields.autoZoom ? 1 : 0;
    params.rangeDialog = fields.rangeDialog ? 1 : 0;
}
