// The review dialog harness: host window, instance, buffer and a lambda driver for each test.
#include "review_harness.h"
#include <cstdio>
#include "plugin/module_state.h"

static std::function<void(HWND)> activeDriver;
static std::vector<int> recordedIds;
static std::vector<std::string> messages;
static std::vector<std::pair<HWND, WNDPROC>> recordedProcs;

static void runDriver(HWND dialog, void *) { if (activeDriver) activeDriver(dialog); }

static LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    char line[96];
    snprintf(line, sizeof line, "%d %04X %ld %ld", (int)GetWindowLongA(window, GWL_ID), message, (long)wParam,
             (long)lParam);
    messages.push_back(line);
    for (auto &entry : recordedProcs)
        if (entry.first == window) {
            // The recorder gives the procedure back as the control goes, as any subclasser must.
            if (message == WM_DESTROY)
                SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.second));
            return CallWindowProcA(entry.second, window, message, wParam, lParam);
        }
    return 0;
}

static void subclassRecorded(HWND dialog, void *)
{
    for (int id : recordedIds) {
        HWND item = GetDlgItem(dialog, id);
        WNDPROC old = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(item, GWLP_WNDPROC, (LONG_PTR)recordingProc));
        recordedProcs.push_back({item, old});
    }
}

void recordItemMessages(int id) { recordedIds.push_back(id); }
const std::vector<std::string> &recordedMessages() { return messages; }

void ReviewTest::SetUp()
{
    PluginTest::SetUp();
    activeDriver = nullptr;
    recordedIds.clear();
    messages.clear();
    recordedProcs.clear();
    frame = compatCreateWindow("TestFrame", nullptr, nullptr, 800, 600);
    hostWindow = frame;
    hostInstance = reinterpret_cast<HINSTANCE>((uintptr_t)0x400000);
    samples.assign(1000, 0);
    params = initialClickParams();
    params.spanStart = 490;
    params.spanEnd = 510;
    compatSetDialogDriver(runDriver, nullptr);
    compatSetDialogCreatedHook(subclassRecorded, nullptr);
}

int32_t ReviewTest::review(std::function<void(HWND)> driver, int32_t candidate, char *message,
                           uint32_t allowGoBack, int32_t passNumber)
{
    activeDriver = driver;
    int32_t result = reviewCandidate(nullptr, samples.data(), (uint32_t)samples.size(), candidate, message, &params,
                                     allowGoBack, passNumber);
    activeDriver = nullptr;
    return result;
}

LPARAM mouseAt(int x, int y) { return (LPARAM)(uint32_t)(((uint32_t)(uint16_t)y << 16) | (uint16_t)x); }
WPARAM scrollCode(int code, int thumb) { return (WPARAM)(((uint32_t)(uint16_t)thumb << 16) | (uint16_t)code); }
void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
