// The scripted and the interactive user of the review dialog, shared by both builds: reads what the
// open dialog shows, sends the script's actions as the window messages a person's input produces,
// presses the answer and writes the review's transcript event. Owns the script, the fallback answers
// and the current review (its number, what it showed, its next action, the button pressed).
#include "review_driver.h"
#include <cstdio>
#include "candidate_list.h"
#include "console.h"
#include "host_session.h"
#include "report.h"
#include "review_terminal.h"
#include "terminal_prompt.h"
#include "transcript.h"
#include "ui/dialog_ids.h"
#include "ui/review_rules.h"

// The view at the terminal: characters across (64 fit an 80-column line with the scale) and rows.
enum { TERMINAL_VIEW_COLUMNS = 64, TERMINAL_VIEW_ROWS = 5 };

struct ReviewShown {
    std::string caption;  // the dialog's caption
    std::string message;  // text of the message line 1029
    std::string c1, d1, c2, severity; // texts of fields 110, 111, 112, 1040
    bool use, multipass, autozoom, rangeDialog; // check boxes 1039, 1034, 1037, 1038
    int32_t zoomPosition; // zoom bar position, zoomBarPosition(zoom): 1..12
    int32_t blend;        // blend bar position, lineBezier: 0..12
    int32_t width;        // width bar position, ptsAround: 30..160
    bool goBack;          // "Go Back" enabled
    bool repair;          // "&Repair" enabled
    std::string picture;  // path of the report picture, "" when none
    int32_t channel;      // presented channel, 1-based; 0 = all channels at once
    int32_t channels;     // channels in the file
    int32_t sampleRate;   // frames per second, 0 = unknown
    int32_t pass;         // pass number, from 1
    int32_t numberInPass; // reviews of this pass so far, this one included
};

static std::vector<ReviewActions> script;
static BoxScript fallback = {REVIEW_SCRIPT, {}, 0, false};
static int32_t reviewNumber = 0;  // reviews opened so far; the current one's number
static ReviewShown shown;
static ReviewActions current;     // actions of the current review
static uint32_t nextAction = 0;   // index into current
static int32_t pressedButton = 0; // button pressed in the current review, 0 = none yet
static uint32_t selectionStart = 0; // selStart of the current selection
static uint32_t selectionCount = 0; // samples in the current selection, 0 = unknown
static int32_t passOfLastReview = -1; // finish calls of the selection when its last review opened
static int32_t reviewsInPass = 0;   // reviews of that pass so far
static bool personAnswers = false;  // the current review is left to a person

void reviewDriverSelection(uint32_t selStart, uint32_t sampleCount)
{
    selectionStart = selStart;
    selectionCount = sampleCount;
    passOfLastReview = -1;
    reviewsInPass = 0;
}

void reviewDriverConfigure(const std::vector<ReviewActions> &newScript, const BoxScript &newFallback)
{
    script = newScript;
    fallback = newFallback;
    reviewNumber = 0;
    nextAction = 0;
    pressedButton = 0;
    current.clear();
}

static std::string itemText(HWND dialog, int32_t id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, (int)sizeof text);
    return text;
}

static int32_t barPosition(HWND dialog, int32_t id)
{
    return (int32_t)SendMessageA(GetDlgItem(dialog, id), SBM_GETPOS, 0, 0);
}

static bool buttonEnabled(HWND dialog, int32_t id)
{
    HWND button = GetDlgItem(dialog, id);
    return button && IsWindowEnabled(button);
}

static void readShown(HWND dialog, ReviewShown *out)
{
    char caption[1024] = "";
    GetWindowTextA(dialog, caption, (int)sizeof caption);
    out->caption = caption;
    out->message = itemText(dialog, IDC_MESSAGE);
    out->c1 = itemText(dialog, IDC_C1);
    out->d1 = itemText(dialog, IDC_D1);
    out->c2 = itemText(dialog, IDC_C2);
    out->severity = itemText(dialog, IDC_SEVERITY);
    out->use = IsDlgButtonChecked(dialog, IDC_USE_BASE_FREQ) == BST_CHECKED;
    out->multipass = IsDlgButtonChecked(dialog, IDC_MULTIPASS) == BST_CHECKED;
    out->autozoom = IsDlgButtonChecked(dialog, IDC_AUTOZOOM) == BST_CHECKED;
    out->rangeDialog = IsDlgButtonChecked(dialog, IDC_RANGE_DIALOG) == BST_CHECKED;
    out->zoomPosition = barPosition(dialog, IDC_ZOOM_BAR);
    out->blend = barPosition(dialog, IDC_BLEND_BAR);
    out->width = barPosition(dialog, IDC_WIDTH_BAR);
    out->goBack = buttonEnabled(dialog, ID_GO_BACK);
    out->repair = buttonEnabled(dialog, ID_REPAIR);
}

// Where the review stands in the run: its channel, the file's rate and the pass and its count.
static void placeReview(ReviewShown *out)
{
    int32_t passesDone = sessionPasses();
    if (passesDone != passOfLastReview) {
        passOfLastReview = passesDone;
        reviewsInPass = 0;
    }
    out->pass = passesDone + 1;
    out->numberInPass = ++reviewsInPass;
    const HostAudio *audio = sessionAudio();
    out->channel = sessionSelection().channel;
    out->channels = audio ? audio->channels : 1;
    out->sampleRate = audio ? audio->sampleRate : 0;
}

static uint64_t namedPosition(const std::string &message)
{
    CandidateFacts facts;
    return readCandidateMessage(message, &facts) ? facts.position : 0;
}

void reviewDialogOpened(HWND dialog)
{
    reviewNumber++;
    shown = ReviewShown();
    readShown(dialog, &shown);
    placeReview(&shown);
    candidateListReview(shown.message, reviewPlatformRequest());
    if (reportActive()) {
        std::vector<uint32_t> pixels;
        int32_t width = 0, height = 0;
        ReviewPictureFacts facts = {reviewNumber, shown.channel, shown.pass, shown.sampleRate, selectionStart,
                                    selectionCount, namedPosition(shown.message), shown.width, zoomBarPosition(shown.zoomPosition)};
        if (reviewPlatformViewPixels(GetDlgItem(dialog, IDC_WAVE_VIEW), &pixels, &width, &height))
            shown.picture = reportPicture(facts, pixels, width, height);
    }
    current = (uint32_t)(reviewNumber - 1) < script.size() ? script[reviewNumber - 1] : ReviewActions();
    nextAction = 0;
    pressedButton = 0;
    personAnswers = false;
}

static const char *buttonText(int32_t id)
{
    switch (id) {
    case ID_STOP_HERE: return "Stop Here";
    case ID_CLOSE: return "Close";
    case ID_FIND_NEXT: return "Find Next";
    case ID_GO_BACK: return "Go Back";
    case ID_REPAIR: return "Repair";
    case ID_AUTO_REPAIR: return "AutoRepair";
    case ID_SKIP: return "Skip";
    default: return "?";
    }
}

// BM_CLICK presses a disabled button as readily as an enabled one, so the driver checks first and
// presses Stop Here, which the dialog never disables, in its place.
static void pressButton(HWND dialog, int32_t id)
{
    if (!buttonEnabled(dialog, id)) {
        sessionClearProgress();
        fprintf(stderr, "vantrope: review %d: \"%s\" is disabled in this review; pressing \"Stop Here\" instead\n",
                (int)reviewNumber, buttonText(id));
        id = ID_STOP_HERE;
    }
    pressedButton = id;
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// The column the marker's pen drew in the view's top rows, or fallback when none is found there.
static int32_t markerColumn(HWND view, uint32_t colour, int32_t fallbackColumn)
{
    std::vector<uint32_t> pixels;
    int32_t width = 0, height = 0;
    if (!reviewPlatformViewPixels(view, &pixels, &width, &height))
        return fallbackColumn;
    // The dotted line starts at row 0, so its first dots lie in the top rows whatever the dot pattern.
    for (int32_t y = 0; y < height && y < 8; y++)
        for (int32_t x = 0; x < width; x++)
            if (pixels[(size_t)y * (size_t)width + (size_t)x] == colour)
                return x;
    return fallbackColumn;
}

// The key-state bit of the left button in a mouse message's first parameter.
enum { LEFT_BUTTON_DOWN = 0x0001 };

static LPARAM mousePoint(int32_t x, int32_t y) { return (LPARAM)(uint32_t)(((uint32_t)y << 16) | ((uint32_t)x & 0xFFFFu)); }

// The view's column of sample position (selStart + index + 1), by the view's own mapping over the
// stretch round the candidate that the message names; column 0 when the message names none.
static int32_t columnOfPosition(HWND dialog, int32_t position, int32_t width)
{
    std::string named = reportPosition(itemText(dialog, IDC_MESSAGE));
    // The plug-in formats 32-bit positions, at most ten digits.
    if (named.empty() || named.size() > 10 || width <= 0 || selectionCount == 0)
        return 0;
    int64_t candidate = std::stoll(named) - 1 - (int64_t)selectionStart;
    if (candidate < 0 || candidate > INT32_MAX || selectionCount > (uint32_t)INT32_MAX)
        return 0; // the plug-in names candidates inside its selection only
    int64_t index = (int64_t)position - 1 - (int64_t)selectionStart;
    ViewStretch stretch = viewStretch((int32_t)candidate, barPosition(dialog, IDC_WIDTH_BAR), selectionCount);
    // The view's sampleToX, in 64 bits: a script may name a position far outside the stretch.
    int64_t visible = stretch.visibleCount;
    int64_t column = ((index - stretch.firstSample) * width + visible / 2) / visible;
    return (int32_t)(column < -32768 ? -32768 : column > 32767 ? 32767 : column);
}

static void dragAcrossView(HWND dialog, const ReviewAction &action)
{
    HWND view = GetDlgItem(dialog, IDC_WAVE_VIEW);
    RECT client = {0, 0, 0, 0};
    GetClientRect(view, &client);
    int32_t y = client.bottom / 2;
    int32_t from = action.fromPosition ? columnOfPosition(dialog, action.value, client.right) : action.value;
    int32_t to = action.toPosition ? columnOfPosition(dialog, action.target, client.right) : action.target;
    if (action.code == DRAG_FROM_START)
        from = markerColumn(view, START_MARKER_COLOUR, 0);
    else if (action.code == DRAG_FROM_END)
        from = markerColumn(view, END_MARKER_COLOUR, 0);
    SendMessageA(view, WM_MOUSEMOVE, 0, mousePoint(from, y));
    SendMessageA(view, WM_LBUTTONDOWN, LEFT_BUTTON_DOWN, mousePoint(from, y));
    SendMessageA(view, WM_MOUSEMOVE, LEFT_BUTTON_DOWN, mousePoint(to, y));
    reviewPlatformSettle(dialog);
    SendMessageA(view, WM_LBUTTONUP, 0, mousePoint(to, y));
}

static void runAction(HWND dialog, const ReviewAction &action)
{
    HWND item = action.item ? GetDlgItem(dialog, action.item) : nullptr;
    switch (action.kind) {
    case ACTION_SET:
        SetWindowTextA(item, action.text.c_str());
        break;
    case ACTION_CHECK:
        SendMessageA(item, BM_CLICK, 0, 0);
        break;
    case ACTION_SCROLL: {
        UINT message = action.item == IDC_ZOOM_BAR ? WM_VSCROLL : WM_HSCROLL;
        WPARAM code = (WPARAM)(((uint32_t)action.value << 16) | (uint32_t)action.code);
        SendMessageA(dialog, message, code, (LPARAM)item);
        break;
    }
    case ACTION_DRAG:
        dragAcrossView(dialog, action);
        break;
    case ACTION_PRESS:
        pressButton(dialog, action.item);
        break;
    default:
        break;
    }
}

int32_t reviewDialogContinue(HWND dialog)
{
    while (nextAction < current.size() && !pressedButton) {
        const ReviewAction &action = current[nextAction++];
        if (action.kind == ACTION_WAIT) {
            if (action.value > 0)
                return action.value;
            continue;
        }
        runAction(dialog, action);
        if (!pressedButton)
            reviewPlatformSettle(dialog);
    }
    if (pressedButton)
        return 0;
    if (fallback.mode == REVIEW_ASK) {
        personAnswers = true;
        return -1;
    }
    pressButton(dialog, scriptedAnswer(&fallback, itemText(dialog, IDC_MESSAGE).c_str()));
    return 0;
}

static std::string settingsLine(const ReviewShown &now)
{
    auto onOff = [](bool on) { return on ? "on" : "off"; };
    return "settings: C1 " + now.c1 + ", Dist1 " + now.d1 + ", C2 " + now.c2 + ", Severity " + now.severity +
           ", base-frequency check " + onOff(now.use) + ", Multipass " + onOff(now.multipass) + ", Autozoom " +
           onOff(now.autozoom) + ", Range Dialog " + onOff(now.rangeDialog) + "; zoom " +
           std::to_string(zoomBarPosition(now.zoomPosition)) + ", blend " + std::to_string(now.blend) + ", width " +
           std::to_string(now.width);
}

static void showOnTerminal(HWND dialog)
{
    ReviewShown now;
    readShown(dialog, &now);
    TerminalReview review = {now.message, now.caption, shown.channel, shown.channels, shown.sampleRate,
                             selectionStart, selectionCount, shown.pass, shown.numberInPass,
                             1.0 / zoomBarPosition(now.zoomPosition), now.width, {}, settingsLine(now), shown.picture};
    std::vector<uint32_t> pixels;
    int32_t width = 0, height = 0;
    if (reviewPlatformViewPixels(GetDlgItem(dialog, IDC_WAVE_VIEW), &pixels, &width, &height))
        review.view = viewAsText(pixels, width, height, TERMINAL_VIEW_COLUMNS, TERMINAL_VIEW_ROWS, terminalTakesUtf8());
    fputs(terminalReviewText(review).c_str(), stderr);
    fputs(terminalPrompt(true, now.repair, now.goBack).c_str(), stderr);
    fflush(stderr);
}

static void promptAgain(HWND dialog)
{
    fputs(terminalPrompt(true, buttonEnabled(dialog, ID_REPAIR), buttonEnabled(dialog, ID_GO_BACK)).c_str(), stderr);
    fflush(stderr);
}

// The end of input closes the review as Close does; no one is left to answer the file's later reviews.
static void closeAtEndOfInput(HWND dialog)
{
    fprintf(stderr, "\n");
    if (!sessionCancelled()) {
        fprintf(stderr, "vantrope: end of input: the review is closed as \"close\" would; the repairs made so far "
                        "are kept, and the review of the file ends here\n");
        sessionEndFile();
    }
    pressButton(dialog, ID_CLOSE);
}

// The actions a typed line asks for; false with the reason told when there are none to run.
static bool typedActions(HWND dialog, const std::string &line, ReviewActions *actions)
{
    int32_t answer = line.find(':') == std::string::npos ? typedReviewAnswer(line, true) : 0;
    if (answer == HELP_REQUESTED) {
        fputs(terminalHelp(true).c_str(), stderr);
        return false;
    }
    std::string error;
    if (answer > 0) {
        actions->push_back(ReviewAction{ACTION_PRESS, answer, 0, 0, 0, std::string(), false, false});
    } else if (line.find_first_not_of(" \t\r") == std::string::npos) {
        return false;
    } else if (line.find(':') == std::string::npos) {
        fprintf(stderr, "vantrope: \"%s\" is no answer (? for help)\n", line.c_str());
        return false;
    } else if (!parseReviewActions(line, actions, &error)) {
        fprintf(stderr, "vantrope: %s (? for help)\n", error.c_str());
        return false;
    }
    // A person is asked again rather than given Stop Here for a disabled button.
    if (!actions->empty() && actions->back().kind == ACTION_PRESS && !buttonEnabled(dialog, actions->back().item)) {
        fprintf(stderr, "vantrope: \"%s\" is not available in this review\n", buttonText(actions->back().item));
        return false;
    }
    return true;
}

void reviewAskAtTerminal(HWND dialog)
{
    std::string line;
    sessionClearProgress();
    personAnswers = true;
    showOnTerminal(dialog);
    while (!pressedButton) {
        if (!readAnswerLine(&line)) {
            closeAtEndOfInput(dialog);
            break;
        }
        ReviewActions actions;
        if (!typedActions(dialog, line, &actions)) {
            promptAgain(dialog);
            continue;
        }
        current = actions;
        nextAction = 0;
        int32_t pause;
        while ((pause = reviewDialogContinue(dialog)) > 0)
            Sleep((DWORD)pause);
        // Actions that press nothing changed the dialog: it is shown again as it is now.
        if (!pressedButton)
            showOnTerminal(dialog);
    }
}

int32_t reviewPressedButton() { return pressedButton ? pressedButton : ID_CLOSE; }

static std::string jsonBool(bool value) { return value ? "true" : "false"; }

void reviewDialogClosed(int32_t result)
{
    const ReviewShown &s = shown;
    transcriptEvent("{\"event\":\"review\",\"caption\":" + jsonString(s.caption.c_str()) +
                    ",\"message\":" + jsonString(s.message.c_str()) + ",\"goBack\":" + jsonBool(s.goBack) +
                    ",\"repair\":" + jsonBool(s.repair) + ",\"fields\":{\"c1\":" + jsonString(s.c1.c_str()) +
                    ",\"d1\":" + jsonString(s.d1.c_str()) + ",\"c2\":" + jsonString(s.c2.c_str()) +
                    ",\"severity\":" + jsonString(s.severity.c_str()) + ",\"use\":" + jsonBool(s.use) +
                    ",\"multipass\":" + jsonBool(s.multipass) + ",\"autozoom\":" + jsonBool(s.autozoom) +
                    ",\"rangeDialog\":" + jsonBool(s.rangeDialog) + ",\"zoom\":" + std::to_string(s.zoomPosition) +
                    ",\"blend\":" + std::to_string(s.blend) + ",\"width\":" + std::to_string(s.width) +
                    "},\"answer\":" + std::to_string(result) + "}");
    std::string line = s.message;
    for (char &c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    sessionClearProgress();
    if (consoleNotes() && !candidateListActive())
        fprintf(stderr, "vantrope: review %d: %s (answered %s)\n", (int)reviewNumber, line.c_str(), answerName(result));
    // A person's Stop ends the review of the whole file, not only this channel's.
    if (personAnswers && result == ID_STOP_HERE && !sessionFileEnded()) {
        fprintf(stderr, "vantrope: stopped: the repairs made so far are kept, and the review of the file ends here\n");
        sessionEndFile();
    }
    reportEntry(ReportReview{reviewNumber, s.channel, s.pass, s.sampleRate, s.caption, s.message, result, s.picture});
}
