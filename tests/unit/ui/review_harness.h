// Test harness for the review dialog through the stand-in: a host window and instance, a sample
// buffer and settings, and a driver that the test writes as a lambda acting on the open dialog.
#pragma once
#include <functional>
#include <vector>
#include "support/fake_host.h"
#include "ui/dialog_ids.h"
#include "ui/review.h"

class ReviewTest : public PluginTest {
protected:
    void SetUp() override;
    // Runs reviewCandidate with the harness's buffer and params; the driver sees the dialog.
    int32_t review(std::function<void(HWND)> driver, int32_t candidate = 500, char *message = nullptr,
                   uint32_t allowGoBack = 1, int32_t passNumber = 1);
    std::vector<int16_t> samples;   // 1000 zeros unless a test changes them
    ClickParams params;             // initial values with span 490..510
    HWND frame = nullptr;
};

LPARAM mouseAt(int x, int y);
// BM_CLICK on the dialog's item id, as a user's click on it.
void click(HWND dialog, int id);
WPARAM scrollCode(int code, int thumb);
// Messages sent to one dialog item from the moment the dialog's controls exist, as "MSG wParam lParam".
void recordItemMessages(int id);
const std::vector<std::string> &recordedMessages();
