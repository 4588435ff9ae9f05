// Fuzz target: whole runs of XfmDo over a fake host, with fuzzed samples, settings, host quirks and a
// fuzzed sequence of answers (question box) or dialog actions (buttons, check boxes, typed fields,
// scroll bars, drags in the view). Checks what a user relies on: the run ends; every review shows a
// candidate and a span inside the buffer; every repair writes at most 321 samples, inside the buffer,
// within the span the last review left (until "Auto Repair" takes over); no sample outside the
// repaired spans changes, none outside the selection at all; every text shown is one of the
// plug-in's own; nothing is left allocated, captured or running afterwards.
// Repairs are observed where every write into the run's buffer passes: the range table's update,
// wrapped at link time (-Wl,--wrap).
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>
#include "compat_host.h"
#include "fuzz_scratch.h"
#include "analysis/range_table.h"
#include "window_table.h"
#include "plugin/click_params.h"
#include "plugin/messages.h"
#include "plugin/module_reset.h"
#include "plugin/module_state.h"
#include "plugin/xfm.h"
#include "ui/dialog_ids.h"
#include "ui/review.h"

struct Repair {
    uint32_t first, last; // buffer indices, inclusive
};

struct FuzzRun {
    FuzzedDataProvider *data;
    std::vector<int16_t> recording;
    uint32_t selStart, selEnd;
    XfmWave wave;
    int32_t cancelFlag;
    int32_t cancelAtProgress; // 0 = never
    int32_t progressCalls;
    bool failRead;
    const int16_t *buffer;    // the plug-in's sample buffer, as the read callback saw it
    uint32_t count;
    std::vector<Repair> repairs;
    bool automatic;           // "Auto Repair" (or the question's Cancel) was answered
    bool reviewed;            // a review answered Repair or Auto Repair: its span bounds the next repair
    int32_t reviewedStart, reviewedEnd;
};

static FuzzRun run;

[[noreturn]] static void fail(const char *what, const std::string &detail = "")
{
    fprintf(stderr, "run: %s %s\n", what, detail.c_str());
    abort();
}

// ---- texts ---------------------------------------------------------------------------------------

// Whether text is format filled in: %ld with a decimal number, %s with one of the two verdicts.
static bool matchesFormat(const char *text, const char *format, const char **rest)
{
    while (*format) {
        if (strncmp(format, "%ld", 3) == 0) {
            if (*text == '-')
                text++;
            if (*text < '0' || *text > '9')
                return false;
            while (*text >= '0' && *text <= '9')
                text++;
            format += 3;
        } else if (strncmp(format, "%s", 2) == 0) {
            if (strncmp(text, MSG_VERIFY_OK, strlen(MSG_VERIFY_OK)) == 0)
                text += strlen(MSG_VERIFY_OK);
            else if (strncmp(text, MSG_VERIFY_REJECT, strlen(MSG_VERIFY_REJECT)) == 0)
                text += strlen(MSG_VERIFY_REJECT);
            else
                return false;
            format += 2;
        } else if (*text++ != *format++) {
            return false;
        }
    }
    *rest = text;
    return true;
}

static bool candidateText(const char *text, bool questionAllowed)
{
    const char *rest = nullptr;
    if (!matchesFormat(text, MSG_POSSIBLE_CLICK, &rest) && !matchesFormat(text, MSG_BEST_GUESS, &rest))
        return false;
    return *rest == '\0' || (questionAllowed && strcmp(rest, MSG_REVIEW_QUESTION) == 0);
}

static bool pluginText(const char *text)
{
    static const char *const fixed[] = {MSG_SELECTION_TOO_LONG, MSG_VERY_LONG_AREA, MSG_ONLY_16_BIT,
                                        MSG_TOO_FEW_SAMPLES, MSG_FRAME_TOO_SMALL, MSG_NO_MEMORY, MSG_CANT_READ,
                                        MSG_ONLY_MONO, MSG_CANT_REPAIR, MSG_NOTHING_FOUND, MSG_REVIEW_QUESTION};
    for (const char *f : fixed)
        if (strcmp(text, f) == 0)
            return true;
    return candidateText(text, true);
}

// ---- the host ------------------------------------------------------------------------------------

static int32_t XFM_STDCALL hostRead(void *buffer, uint32_t offset, uint32_t bytes)
{
    if (run.failRead)
        return 1;
    run.buffer = static_cast<const int16_t *>(buffer);
    const uint8_t *source = reinterpret_cast<const uint8_t *>(run.recording.data());
    size_t available = run.recording.size() * 2;
    for (uint32_t i = 0; i < bytes; i++)
        static_cast<uint8_t *>(buffer)[i] = offset + (size_t)i < available ? source[offset + i] : 0;
    return 0;
}

static int32_t XFM_STDCALL hostWrite(void *buffer, uint32_t offset, uint32_t bytes)
{
    if (offset != run.selStart * 2u || bytes != run.count * 2u)
        fail("a write other than the whole selection");
    memcpy(reinterpret_cast<uint8_t *>(run.recording.data()) + offset, buffer, bytes);
    return 0;
}

static int32_t XFM_STDCALL hostProgress(int32_t, int32_t)
{
    if (run.cancelAtProgress && ++run.progressCalls == run.cancelAtProgress)
        run.cancelFlag = 1;
    return 0;
}

static int32_t XFM_STDCALL hostStatus(const char *text, int32_t)
{
    if (strcmp(text, MSG_STATUS_LOOKING) != 0)
        fail("status text not the plug-in's own:", text);
    return 0;
}

static int32_t XFM_CDECL hostFinish(XfmWave *wave)
{
    if (wave != &run.wave)
        fail("finish called with another record");
    return 0;
}

static int answerBox(HWND, const char *text, const char *title, UINT flags, void *)
{
    if (!pluginText(text) || strcmp(title, MSG_TITLE) != 0)
        fail("message box text not the plug-in's own:", text);
    UINT type = flags & MB_TYPEMASK;
    if (type != MB_YESNO && type != MB_YESNOCANCEL)
        return IDOK;
    static const int answers[] = {IDNO, IDYES, IDCANCEL};
    int answer = run.data->remaining_bytes() ? run.data->PickValueInArray(answers) : IDNO;
    return type == MB_YESNO && answer == IDCANCEL ? IDNO : answer;
}

// ---- the dialog's user ---------------------------------------------------------------------------

static bool dialogEnded(HWND dialog)
{
    CompatWindow *w = compatWindow(dialog);
    return !w || w->dialogEnded;
}

static LPARAM pointAt(int32_t x, int32_t y) { return (LPARAM)(((uint32_t)(uint16_t)y << 16) | (uint16_t)x); }

// One action of a person at the dialog, chosen by the fuzzed bytes.
static void act(HWND dialog)
{
    FuzzedDataProvider &d = *run.data;
    static const int buttons[] = {ID_STOP_HERE, ID_CLOSE, ID_FIND_NEXT, ID_GO_BACK, ID_REPAIR, ID_AUTO_REPAIR,
                                  ID_SKIP};
    static const int boxes[] = {IDC_MULTIPASS, IDC_AUTOZOOM, IDC_RANGE_DIALOG, IDC_USE_BASE_FREQ};
    static const int fields[] = {IDC_C1, IDC_D1, IDC_C2, IDC_SEVERITY};
    static const int bars[] = {IDC_ZOOM_BAR, IDC_BLEND_BAR, IDC_WIDTH_BAR};
    switch (d.ConsumeIntegralInRange<int>(0, 5)) {
    case 0: {
        HWND button = GetDlgItem(dialog, d.PickValueInArray(buttons));
        if (IsWindowEnabled(button)) // a person cannot press a disabled button
            SendMessageA(button, BM_CLICK, 0, 0);
        break;
    }
    case 1:
        SendMessageA(GetDlgItem(dialog, d.PickValueInArray(boxes)), BM_CLICK, 0, 0);
        break;
    case 2: {
        int id = d.PickValueInArray(fields);
        std::string text = d.ConsumeBool() ? std::to_string(d.ConsumeIntegral<int32_t>()) : d.ConsumeRandomLengthString(16);
        SetDlgItemTextA(dialog, id, text.c_str());
        break;
    }
    case 3: {
        int id = d.PickValueInArray(bars);
        WPARAM code = (WPARAM)d.ConsumeIntegralInRange<uint32_t>(0, 8) |
                      ((WPARAM)d.ConsumeIntegral<uint16_t>() << 16);
        SendMessageA(dialog, id == IDC_ZOOM_BAR ? WM_VSCROLL : WM_HSCROLL, code, (LPARAM)GetDlgItem(dialog, id));
        break;
    }
    case 4: {
        static const UINT mouse[] = {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP};
        int32_t x = d.ConsumeIntegralInRange<int32_t>(-40, 700), y = d.ConsumeIntegralInRange<int32_t>(0, 200);
        SendMessageA(GetDlgItem(dialog, IDC_WAVE_VIEW), d.PickValueInArray(mouse), 0, pointAt(x, y));
        break;
    }
    default:
        compatPumpPaints();
        break;
    }
}

static void driveDialog(HWND dialog, void *)
{
    for (int32_t i = 0; i < 48 && run.data->remaining_bytes() && !dialogEnded(dialog); i++)
        act(dialog);
    // Left open, the stand-in closes it as Escape would.
}

// A review is shown a span inside the buffer. Dragging may leave the end marker one past the last
// sample (the view's stretch ends at sampleCount); the repair pulls such an end back before it writes,
// and every write is checked on its own below.
static void checkSpan(const char *when, const ClickParams &p, uint32_t endLimit)
{
    if (p.spanStart < 0 || p.spanEnd < 0 || (uint32_t)p.spanStart >= run.count || (uint32_t)p.spanEnd >= endLimit)
        fail("review span outside the buffer", std::string(when) + " " + std::to_string(p.spanStart) + ".." +
                                                     std::to_string(p.spanEnd) + " of " + std::to_string(run.count));
}

static int32_t observedReview(XfmWave *wave, int16_t *samples, uint32_t sampleCount, int32_t candidate, char *message,
                              ClickParams *params, uint32_t allowGoBack, int32_t passNumber)
{
    if (samples != run.buffer || sampleCount != run.count || candidate < 0 || (uint32_t)candidate >= sampleCount)
        fail("review of a candidate outside the buffer");
    if (!message || !candidateText(message, false))
        fail("candidate message not the plug-in's own:", message ? message : "(none)");
    checkSpan("shown", *params, run.count);
    int32_t code = reviewCandidate(wave, samples, sampleCount, candidate, message, params, allowGoBack, passNumber);
    checkSpan("left", *params, run.count + 1);
    run.reviewed = code == ID_REPAIR || code == ID_AUTO_REPAIR;
    run.reviewedStart = params->spanStart;
    run.reviewedEnd = params->spanEnd;
    if (code == ID_AUTO_REPAIR)
        run.automatic = true;
    return code;
}

extern "C" void __real__Z14samplesChangedR12SampleBufferjj(SampleBuffer &buffer, uint32_t first, uint32_t last);

// Every repair of the run's buffer ends here (the range table's update); an empty span wrote nothing.
extern "C" void __wrap__Z14samplesChangedR12SampleBufferjj(SampleBuffer &buffer, uint32_t first, uint32_t last)
{
    if (first > last) {
        __real__Z14samplesChangedR12SampleBufferjj(buffer, first, last);
        return;
    }
    if (buffer.samples != run.buffer || last >= run.count)
        fail("repair outside the buffer", std::to_string(first) + ".." + std::to_string(last));
    if (last - first + 1u > 321u)
        fail("repair of more than 321 samples", std::to_string(first) + ".." + std::to_string(last));
    if (!run.automatic && (!run.reviewed || (int32_t)first < run.reviewedStart || (int32_t)last > run.reviewedEnd))
        fail("repair outside the span the review left", std::to_string(first) + ".." + std::to_string(last) +
                                                            " reviewed " + std::to_string(run.reviewedStart) +
                                                            ".." + std::to_string(run.reviewedEnd));
    run.repairs.push_back({first, last});
    __real__Z14samplesChangedR12SampleBufferjj(buffer, first, last);
}

// ---- one run -------------------------------------------------------------------------------------

// Settings mostly near what users choose, sometimes anything at all.
static void writeSettings(FuzzedDataProvider &d)
{
    static const char *const keys[] = {"C1", "D1", "C2", "Zoom", "LineBezier", "PtsAround", "StartOver",
                                       "AutoZoom", "RangeDialog", "UseBaseFreqVer", "BaseFreqVerS"};
    static const int32_t usual[][2] = {{1, 12}, {1, 3000}, {1, 20}, {1, 12}, {0, 12}, {30, 160},
                                       {0, 1},  {0, 1},    {0, 1},  {0, 1},  {-2, 6}};
    std::string text = "[Coeffs]\n";
    for (int i = 0; i < 11; i++) {
        int32_t value = d.ConsumeIntegralInRange<uint8_t>(0, 15) == 0
                            ? d.ConsumeIntegral<int32_t>()
                            : d.ConsumeIntegralInRange<int32_t>(usual[i][0], usual[i][1]);
        text += std::string(keys[i]) + "=" + std::to_string(value) + "\n";
    }
    std::ofstream(profileDir("run") + "/Vantrope.ini", std::ios::binary | std::ios::trunc) << text;
}

// A quiet signal (silence, a tone or noise) with clicks of fuzzed place, height and width.
static std::vector<int16_t> makeSamples(FuzzedDataProvider &d, uint32_t n)
{
    std::vector<int16_t> s(n, 0);
    int32_t kind = d.ConsumeIntegralInRange<int32_t>(0, 3);
    int32_t level = d.ConsumeIntegralInRange<int32_t>(0, 4000);
    uint32_t seed = d.ConsumeIntegral<uint32_t>() | 1u;
    for (uint32_t i = 0; i < n; i++) {
        seed ^= seed << 13, seed ^= seed >> 17, seed ^= seed << 5;
        int32_t v = 0;
        if (kind == 1)
            v = (int32_t)((i * 37u) % 200u) < 100 ? level : -level; // a square-ish tone
        else if (kind == 2)
            v = (int32_t)(seed % (uint32_t)(2 * level + 1)) - level;
        else if (kind == 3)
            v = (int32_t)(((i * 13u) % 128u)) * level / 64 - level;
        s[i] = (int16_t)v;
    }
    int32_t clicks = d.ConsumeIntegralInRange<int32_t>(0, 12);
    for (int32_t c = 0; c < clicks && n; c++) {
        uint32_t at = d.ConsumeIntegralInRange<uint32_t>(0, n - 1);
        uint32_t width = d.ConsumeIntegralInRange<uint32_t>(1, 40);
        int16_t height = d.ConsumeIntegral<int16_t>();
        for (uint32_t k = 0; k < width && at + k < n; k++)
            s[at + k] = height;
    }
    if (d.ConsumeIntegralInRange<int32_t>(0, 7) == 0) { // a stretch of raw bytes as samples
        std::vector<uint8_t> raw = d.ConsumeBytes<uint8_t>(d.ConsumeIntegralInRange<size_t>(0, 400));
        uint32_t at = n ? d.ConsumeIntegralInRange<uint32_t>(0, n - 1) : 0;
        for (size_t k = 0; k + 1 < raw.size() && at + k / 2 < n; k += 2)
            s[at + k / 2] = (int16_t)(raw[k] | raw[k + 1] << 8);
    }
    return s;
}

static void setUpRun(FuzzedDataProvider &d)
{
    compatReset();
    resetModuleState();
    compatSetProfileDirectory(profileDir("run"));
    compatSetMessageBoxResponder(answerBox, nullptr);
    compatSetDialogDriver(driveDialog, nullptr);
    reviewOverride = observedReview;
    run = FuzzRun();
    run.data = &d;
    uint32_t before = d.ConsumeIntegralInRange<uint32_t>(0, 30), after = d.ConsumeIntegralInRange<uint32_t>(0, 30);
    uint32_t n = d.ConsumeIntegralInRange<uint32_t>(30, 5000);
    writeSettings(d);
    std::vector<int16_t> selection = makeSamples(d, n);
    run.recording.assign(before, 1234);
    run.recording.insert(run.recording.end(), selection.begin(), selection.end());
    run.recording.insert(run.recording.end(), after, -1234);
    run.selStart = before;
    run.selEnd = before + n - 1;
    run.count = n;
    XfmWave &w = run.wave;
    w = XfmWave();
    w.channels = 1;
    w.bitsPerSample = 16;
    w.bytesPerFrame = 2;
    w.sampleRate = 44100;
    w.selStart = run.selStart;
    w.selEnd = run.selEnd;
    w.readSamples = hostRead;
    w.writeSamples = hostWrite;
    w.cancelFlag = &run.cancelFlag;
    w.progress = hostProgress;
    w.setStatus = hostStatus;
    w.finish = hostFinish;
    switch (d.ConsumeIntegralInRange<int32_t>(0, 15)) { // now and then a host that gets something wrong
    case 0:
        run.failRead = true;
        break;
    case 1:
        run.cancelAtProgress = d.ConsumeIntegralInRange<int32_t>(1, 60);
        break;
    case 2:
        w.channels = 2;
        break;
    case 3:
        w.progress = nullptr, w.setStatus = nullptr, w.finish = nullptr, w.cancelFlag = nullptr;
        break;
    default:
        break;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider d(bytes, size);
    bool dialog = d.ConsumeBool();
    setUpRun(d);
    HWND frame = dialog ? compatCreateWindow("FuzzFrame", nullptr, nullptr, 800, 600) : nullptr;
    HINSTANCE instance = dialog ? reinterpret_cast<HINSTANCE>((uintptr_t)0x400000) : nullptr;
    std::vector<int16_t> original = run.recording;
    if (XfmSetup(frame, instance, &run.wave) != 1)
        fail("a short selection refused");
    int32_t result = XfmDo(&run.wave);
    if (result != 0 && result != 1)
        fail("result code", std::to_string(result));

    std::vector<bool> repaired(run.recording.size(), false);
    for (const Repair &r : run.repairs)
        for (uint32_t i = r.first; i <= r.last; i++)
            repaired[run.selStart + i] = true;
    for (size_t i = 0; i < original.size(); i++)
        if (original[i] != run.recording[i] && !repaired[i])
            fail("a sample outside every repaired span changed at", std::to_string(i));

    compatClearClipboard(); // the steering's text belongs to the clipboard, not to the run
    if (compatLiveGlobalBlocks() != 0 || compatLivePens() != 0 || compatLiveDeviceContexts() != 0 ||
        compatLiveTimers() != 0 || GetCapture() != nullptr)
        fail("something of the run was left live");
    reviewOverride = nullptr;
    return 0;
}
