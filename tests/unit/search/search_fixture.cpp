// The scripted review and the signal builders of the search tests.
#include "search_fixture.h"
#include "compat_host.h"
#include "ui/review.h"

static ReviewScript script;

ReviewScript &reviewScript() { return script; }

static int32_t scriptedReview(XfmWave *, int16_t *, uint32_t, int32_t candidate, char *message, ClickParams *params,
                              uint32_t allowGoBack, int32_t passNumber)
{
    script.calls.push_back({candidate, message ? message : "", allowGoBack, passNumber});
    if (script.onCall)
        script.onCall(*params);
    if (script.codes.empty())
        return script.fallback;
    int32_t code = script.codes.front();
    script.codes.pop_front();
    return code;
}

void SearchTest::SetUp()
{
    PluginTest::SetUp();
    script = ReviewScript();
    script.fallback = 1;
    reviewOverride = scriptedReview;
}

void SearchTest::TearDown()
{
    reviewOverride = nullptr;
    compatClearClipboard(); // the steering's block belongs to the clipboard, not to the run
    PluginTest::TearDown();
}

void SearchTest::useScriptedReview(std::initializer_list<int32_t> codes, int32_t fallback)
{
    reviewOverride = scriptedReview;
    script.codes = codes;
    script.fallback = fallback;
}

void SearchTest::useQuestionBox() { reviewOverride = nullptr; }

std::string SearchTest::steeredTo() const { return compatClipboardText(); }

int32_t SearchTest::messageBoxesWith(const std::string &text) const
{
    int32_t n = 0;
    for (const FakeMessageBox &box : fakeHost().boxes)
        if (box.text == text)
            n++;
    return n;
}

std::vector<int16_t> spikes(uint32_t n, std::initializer_list<uint32_t> at, int16_t height)
{
    std::vector<int16_t> samples(n, 0);
    for (uint32_t i : at)
        samples[i] = height;
    return samples;
}

std::string settingsText(std::initializer_list<const char *> lines)
{
    std::string text = "[Coeffs]\n";
    for (const char *line : lines)
        text += std::string(line) + "\n";
    return text;
}
