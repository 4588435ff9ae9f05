// The curve bridge against a slow, obvious model: every step of the walk is listed first, then each
// column takes the first step that lands in it and the gaps are filled. Also the handle stretch at
// the L = 9 / 10 boundary and the line's rounding against exact rational arithmetic.
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "plugin/click_params.h"
#include "repair/repair.h"
#include "repair_helpers.h"
#include "support/fake_host.h"

namespace {

struct ModelPoints {
    double x[4], y[4];
};

// Handles from the neighbours' means; stretch = false keeps them at an index distance of 2.
ModelPoints modelHandles(const std::vector<int16_t> &v, uint32_t s, uint32_t e, bool stretch)
{
    ModelPoints p;
    double mL = ((int32_t)v[s - 3] + v[s - 2] + v[s - 1]) / 3.0;
    double mR = ((int32_t)v[e + 1] + v[e + 2] + v[e + 3]) / 3.0;
    p.x[0] = s;
    p.y[0] = v[s];
    p.x[3] = e;
    p.y[3] = v[e];
    p.x[1] = p.x[0] + (p.x[0] - (p.x[0] - 2.0));
    p.y[1] = p.y[0] + (p.y[0] - mL);
    p.x[2] = p.x[3] + (p.x[3] - (p.x[3] + 2.0));
    p.y[2] = p.y[3] + (p.y[3] - mR);
    double f = (e - s) * 0.1111111111111111;
    if (stretch) {
        for (int i : {1, 2}) {
            int a = i == 1 ? 0 : 3;
            p.x[i] = p.x[a] + f * (p.x[i] - p.x[a]);
            p.y[i] = p.y[a] + f * (p.y[i] - p.y[a]);
        }
    }
    return p;
}

// The bridge from the full list of walk steps.
std::vector<int16_t> modelCurve(const ModelPoints &p, uint32_t s, uint32_t e)
{
    int32_t length = (int32_t)(e - s);
    struct Step {
        int64_t column;
        double y;
    };
    std::vector<Step> steps;
    for (double t = 0.0; t < 1.0; t = t + 0.00031152647975077883) {
        double u = 1 - t;
        double x = u * u * (3 * t * p.x[1] + u * p.x[0]) + t * t * (3 * u * p.x[2] + t * p.x[3]);
        double y = u * u * (3 * t * p.y[1] + u * p.y[0]) + t * t * (3 * u * p.y[2] + t * p.y[3]);
        steps.push_back({(int64_t)x - (int64_t)s, y});
    }
    std::vector<bool> reached(length + 1, false);
    std::vector<int32_t> value(length + 1, 0);
    value[0] = (int32_t)p.y[0];
    reached[0] = true;
    for (const Step &st : steps) {
        if (st.column >= length)
            break;
        if (st.column < 1 || reached[st.column])
            continue;
        double y = st.y > 32767 ? 32767 : (st.y < -32767 ? -32767 : st.y);
        reached[st.column] = true;
        value[st.column] = (int32_t)y;
    }
    reached[length] = true;
    value[length] = (int32_t)p.y[3];
    int32_t prev = 0;
    for (int32_t k = 1; k <= length; k++) {
        if (!reached[k])
            continue;
        for (int32_t j = prev + 1; j < k; j++)
            value[j] = value[prev] + (value[k] - value[prev]) * (j - prev) / (k - prev);
        prev = k;
    }
    return std::vector<int16_t>(value.begin(), value.end());
}

class CurveModelTest : public PluginTest {
protected:
    std::vector<int16_t> fastCurve(const std::vector<int16_t> &v, uint32_t s, uint32_t e)
    {
        ClickParams params = clickParams;
        params.spanStart = (int32_t)s;
        params.spanEnd = (int32_t)e;
        std::vector<int16_t> out(BRIDGE_ENTRIES, 0x5A5A);
        EXPECT_EQ(buildCurveBridge(v.data(), (uint32_t)v.size(), params, out.data()), 1);
        for (uint32_t k = e - s + 1; k < BRIDGE_ENTRIES; k++) {
            EXPECT_EQ(out[k], 0x5A5A) << "entry " << k << " lies beyond the span";
        }
        return std::vector<int16_t>(out.begin(), out.begin() + (e - s + 1));
    }
};

TEST_F(CurveModelTest, WalkMatchesTheModelOverManySpans)
{
    // Lengths across the whole range, quiet and loud signals, steep and flat shoulders.
    for (uint32_t seed = 1; seed <= 6; seed++) {
        for (uint32_t length : {6u, 7u, 9u, 10u, 11u, 17u, 32u, 63u, 100u, 199u, 257u, 319u, 320u}) {
            int32_t amplitude = seed % 2 ? 65535 : 4000;
            std::vector<int16_t> v = noiseSignal(length + 20, seed * 31 + length, amplitude);
            uint32_t s = 8, e = 8 + length;
            std::vector<int16_t> got = fastCurve(v, s, e);
            std::vector<int16_t> want = modelCurve(modelHandles(v, s, e, length >= 10), s, e);
            ASSERT_EQ(dumpEntries(got), dumpEntries(want)) << "length " << length << ", seed " << seed;
        }
    }
}

TEST_F(CurveModelTest, HandlesStretchFromLength10)
{
    // At L = 9 the factor 9 x 0.111... is not above 1, so the handles stay 2 samples from the anchors;
    // from L = 10 they move out. Steep shoulders make the difference visible in the bridge.
    for (uint32_t length : {9u, 10u, 11u}) {
        std::vector<int16_t> v(40);
        for (uint32_t i = 0; i < 40; i++)
            v[i] = (int16_t)(i < 10 ? -9000 + 1500 * (int32_t)i : 12000 - 1100 * (int32_t)i);
        uint32_t s = 10, e = 10 + length;
        std::vector<int16_t> kept = modelCurve(modelHandles(v, s, e, false), s, e);
        std::vector<int16_t> got = fastCurve(v, s, e);
        if (length == 9) {
            EXPECT_EQ(dumpEntries(got), dumpEntries(kept)) << "length 9 keeps the handles";
            continue;
        }
        std::vector<int16_t> stretched = modelCurve(modelHandles(v, s, e, true), s, e);
        ASSERT_NE(kept, stretched) << "the signal does not tell the two handle rules apart";
        EXPECT_EQ(dumpEntries(got), dumpEntries(stretched)) << "length " << length << " stretches";
    }
}

TEST_F(CurveModelTest, HandlesAreReflectedAndScaledAsWritten)
{
    // Spans where the middle entry depends on the last bit of a handle: 2 vS - mL in place of
    // vS + (vS - mL), or L / 9 in place of L x 0.111..., would give the other value.
    struct Row {
        int32_t before[3], vS, vE, after[3];
        uint32_t length, entry;
        int32_t want, other;
    } rows[] = {
        {{251, 705, -984}, -902, -554, {231, 826, 102}, 176, 88, -14169, -14170},
        {{218, -669, -337}, 751, 957, {523, -567, -8}, 102, 51, 9303, 9302},
        {{453, 255, 302}, -838, -864, {315, -22, 629}, 276, 138, -27829, -27830},
        {{434, -543, -464}, 889, 849, {118, -342, -469}, 194, 97, 18328, 18329},
    };
    for (const Row &r : rows) {
        uint32_t s = 4, e = 4 + r.length;
        std::vector<int16_t> v(e + 5, 0);
        for (uint32_t i = 0; i < 3; i++) {
            v[s - 3 + i] = (int16_t)r.before[i];
            v[e + 1 + i] = (int16_t)r.after[i];
        }
        v[s] = (int16_t)r.vS;
        v[e] = (int16_t)r.vE;
        std::vector<int16_t> got = fastCurve(v, s, e);
        EXPECT_EQ(got[r.entry], r.want) << "length " << r.length << " entry " << r.entry << " (not " << r.other
                                        << ")";
    }
}

TEST_F(CurveModelTest, LineRoundsToNearestRisingAndUpToOneAboveFalling)
{
    // Exact rounding of vS + delta k / L, half up, by floor division on 64-bit integers; a falling line
    // may lie one above it (truncation, not flooring), a rising or level one never differs.
    for (int32_t vS : {-32768, -700, 0, 5, 32767}) {
        for (int32_t vE : {-32768, -701, -1, 0, 4, 9000, 32767}) {
            for (int32_t length : {1, 2, 3, 7, 11, 64, 320}) {
                std::vector<int16_t> v(length + 10, 0);
                v[3] = (int16_t)vS;
                v[3 + length] = (int16_t)vE;
                ClickParams params = clickParams;
                params.spanStart = 3;
                params.spanEnd = 3 + length;
                std::vector<int16_t> out(BRIDGE_ENTRIES, 0);
                ASSERT_EQ(buildLineBridge(v.data(), (uint32_t)v.size(), params, out.data()), 1);
                int64_t delta = (int64_t)vE - vS;
                for (int32_t k = 0; k <= length; k++) {
                    int64_t num = 2 * delta * k + length, den = 2 * (int64_t)length;
                    int64_t nearest = vS + (num >= 0 ? num / den : -((-num + den - 1) / den));
                    int64_t above = out[k] - nearest;
                    bool ok = delta >= 0 ? above == 0 : (above == 0 || above == 1);
                    EXPECT_TRUE(ok) << vS << " -> " << vE << " over " << length << ", entry " << k
                                    << ": got " << out[k] << ", nearest " << nearest;
                }
                int32_t wantEnd = (delta < 0 && length >= 2) ? vE + 1 : vE;
                EXPECT_EQ(out[length], wantEnd) << vS << " -> " << vE << " over " << length;
            }
        }
    }
}

} // namespace
