// Shared pieces of the search tests: a scripted review that stands in for reviewCandidate and records
// every call, signal builders, and a fixture that also empties the clipboard the steering fills.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>
#include "analysis/range_table.h"
#include "plugin/click_params.h"
#include "support/fake_host.h"

// The samples of x as a run's buffer without a range table.
inline SampleBuffer bareBuffer(std::vector<int16_t> &x)
{
    return SampleBuffer{x.data(), (uint32_t)x.size(), nullptr};
}

struct ReviewCall {
    int32_t candidate;    // buffer index shown
    std::string message;  // the message text as handed over
    uint32_t allowGoBack; // 0 or 1
    int32_t passNumber;   // 1 = first pass
};

struct ReviewScript {
    std::deque<int32_t> codes;                // answers in order
    int32_t fallback;                         // answer once codes is empty
    std::vector<ReviewCall> calls;            // every review, in order
    std::function<void(ClickParams &)> onCall; // runs inside each review (may edit the settings)
};

// The one script the scripted review answers from.
ReviewScript &reviewScript();

// Fixture: PluginTest plus the scripted review installed (fallback "Stop Here"). steeredTo() tells
// where the run left the host (the clipboard text, "" when it did not steer).
class SearchTest : public PluginTest {
protected:
    void SetUp() override;
    void TearDown() override;
    void useScriptedReview(std::initializer_list<int32_t> codes, int32_t fallback = 1);
    void useQuestionBox(); // the plug-in's own review: the question box answered from fakeHost().answers
    std::string steeredTo() const;
    int32_t run() { return XfmDo(&fakeHost().wave); } // one run over the fake host's selection
    int32_t messageBoxesWith(const std::string &text) const;
};

// n samples of silence with single-sample spikes of the given height at the given indices.
std::vector<int16_t> spikes(uint32_t n, std::initializer_list<uint32_t> at, int16_t height = 2000);

// The settings file with the given lines below [Coeffs] (e.g. "StartOver=1").
std::string settingsText(std::initializer_list<const char *> lines);
