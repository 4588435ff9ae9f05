// The terminal's text of a review: facts read from the candidate message, times, words, the view in
// braille, the prompt, the help and the typed answers.
#include "review_terminal.h"
#include <cstdio>
#include <cstdlib>
#include "box_script.h"

// Colours of the view as the plug-in paints it (COLORREF).
static const uint32_t WAVEFORM_COLOUR = 0x00FFFFFFu;
static const uint32_t CANDIDATE_COLOUR = 0x00404040u;
static const uint32_t START_MARKER_COLOUR = 0x00004080u;
static const uint32_t END_MARKER_COLOUR = 0x002080FFu;
static const uint32_t PREVIEW_COLOUR = 0x0040C0FFu; // the repaired curve's squares, drawn over the span

static bool readNumber(const std::string &text, size_t *at, uint64_t *value)
{
    size_t begin = *at;
    uint64_t total = 0;
    while (*at < text.size() && text[*at] >= '0' && text[*at] <= '9' && *at - begin < 12)
        total = total * 10u + (uint64_t)(text[(*at)++] - '0');
    *value = total;
    return *at > begin;
}

bool readCandidateMessage(const std::string &message, CandidateFacts *facts)
{
    *facts = CandidateFacts{false, 0, -1, -1, ""};
    facts->bestGuess = message.compare(0, 10, "Best guess") == 0;
    size_t at = message.find("at sample ");
    if (at == std::string::npos)
        return false;
    at += 10;
    if (!readNumber(message, &at, &facts->position))
        return false;
    // "(jump/level)" on the first line, when the message gives them.
    size_t open = message.find('(', at);
    size_t line = message.find('\n', at);
    uint64_t jump = 0, level = 0;
    size_t p = open + 1;
    bool inFirstLine = open != std::string::npos && (line == std::string::npos || open < line);
    if (inFirstLine && readNumber(message, &p, &jump) && p < message.size() && message[p] == '/') {
        p++;
        if (readNumber(message, &p, &level)) {
            facts->jump = (int32_t)(jump > 0x7FFFFFFF ? 0x7FFFFFFF : jump);
            facts->level = (int32_t)(level > 0x7FFFFFFF ? 0x7FFFFFFF : level);
        }
    }
    size_t verdict = message.find("Verification: ");
    if (verdict != std::string::npos) {
        std::string rest = message.substr(verdict + 14);
        facts->verification = rest.substr(0, rest.find_first_of("\r\n"));
    }
    return true;
}

std::string formatClock(uint64_t frame, int32_t sampleRate)
{
    if (sampleRate < 1)
        sampleRate = 1;
    uint64_t ms = (frame * 1000u + (uint64_t)sampleRate / 2u) / (uint64_t)sampleRate;
    char text[48];
    snprintf(text, sizeof text, "%llu:%02u:%02u.%03u", (unsigned long long)(ms / 3600000u),
             (unsigned)(ms / 60000u % 60u), (unsigned)(ms / 1000u % 60u), (unsigned)(ms % 1000u));
    return text;
}

std::string describeJump(int32_t jump, int32_t level)
{
    char text[200];
    double share = jump / 32768.0 * 100.0;
    if (level <= 0) {
        snprintf(text, sizeof text, "a jump of %d between neighbouring samples (%.1f%% of full scale)", (int)jump, share);
        return text;
    }
    double ratio = (double)jump / level;
    const char *word = ratio >= 20.0 ? "a strong click" : ratio >= 8.0 ? "a clear click" : "a modest one";
    snprintf(text, sizeof text,
             "a jump of %d between neighbouring samples (%.1f%% of full scale), %.1f times the running level "
             "of %d before it: %s",
             (int)jump, share, ratio, (int)level, word);
    return text;
}

static uint32_t pixelAt(const std::vector<uint32_t> &pixels, int32_t width, int32_t x, int32_t y)
{
    return pixels[(size_t)y * (size_t)width + (size_t)x];
}

// The first column where colour lies in the view, or -1.
static int32_t columnOfColour(const std::vector<uint32_t> &pixels, int32_t width, int32_t height, uint32_t colour)
{
    for (int32_t y = 0; y < height; y++)
        for (int32_t x = 0; x < width; x++)
            if (pixelAt(pixels, width, x, y) == colour)
                return x;
    return -1;
}

static void appendBraille(std::string *line, uint32_t dots)
{
    uint32_t code = 0x2800u + dots;
    line->push_back((char)(0xE0 | (code >> 12)));
    line->push_back((char)(0x80 | ((code >> 6) & 0x3F)));
    line->push_back((char)(0x80 | (code & 0x3F)));
}

// Whether any pixel of the waveform or of the repaired curve over it lies in the block of columns
// x0..x1-1 and rows y0..y1-1 (the centre line excepted).
static bool blockHasWave(const std::vector<uint32_t> &pixels, int32_t width, int32_t height, int32_t x0, int32_t x1,
                         int32_t y0, int32_t y1)
{
    for (int32_t y = y0; y < y1; y++)
        for (int32_t x = x0; x < x1; x++) {
            uint32_t colour = pixelAt(pixels, width, x, y);
            if ((y != height / 2 && colour == WAVEFORM_COLOUR) || colour == PREVIEW_COLOUR)
                return true;
        }
    return false;
}

static std::string spanLine(const std::vector<uint32_t> &pixels, int32_t width, int32_t height, int32_t columns)
{
    std::string line((size_t)columns, ' ');
    auto textColumn = [&](int32_t x) { return x < 0 ? -1 : (int32_t)((int64_t)x * columns / width); };
    int32_t start = textColumn(columnOfColour(pixels, width, height, START_MARKER_COLOUR));
    int32_t end = textColumn(columnOfColour(pixels, width, height, END_MARKER_COLOUR));
    int32_t candidate = textColumn(columnOfColour(pixels, width, height, CANDIDATE_COLOUR));
    if (start >= 0 && end >= start)
        for (int32_t c = start; c <= end && c < columns; c++)
            line[(size_t)c] = '=';
    if (start >= 0)
        line[(size_t)start] = '[';
    if (end >= 0 && end < columns)
        line[(size_t)end] = ']';
    // The candidate bar is 4 pixels wide; its middle is two columns on.
    if (candidate >= 0) {
        int32_t middle = textColumn(columnOfColour(pixels, width, height, CANDIDATE_COLOUR) + 2);
        line[(size_t)(middle < columns ? middle : columns - 1)] = '^';
    }
    size_t last = line.find_last_not_of(' ');
    return last == std::string::npos ? "" : line.substr(0, last + 1);
}

std::vector<std::string> viewAsText(const std::vector<uint32_t> &pixels, int32_t width, int32_t height,
                                    int32_t columns, int32_t rows, bool unicode)
{
    std::vector<std::string> lines;
    if (width <= 0 || height <= 0 || columns <= 0 || rows <= 0 || pixels.size() != (size_t)width * (size_t)height)
        return lines;
    const int32_t dotColumns = unicode ? 2 : 1, dotRows = unicode ? 4 : 1;
    for (int32_t row = 0; row < rows; row++) {
        std::string line;
        for (int32_t column = 0; column < columns; column++) {
            uint32_t dots = 0;
            for (int32_t dx = 0; dx < dotColumns; dx++)
                for (int32_t dy = 0; dy < dotRows; dy++) {
                    int32_t across = column * dotColumns + dx, down = row * dotRows + dy;
                    int32_t x0 = (int32_t)((int64_t)across * width / (columns * dotColumns));
                    int32_t x1 = (int32_t)((int64_t)(across + 1) * width / (columns * dotColumns));
                    int32_t y0 = (int32_t)((int64_t)down * height / (rows * dotRows));
                    int32_t y1 = (int32_t)((int64_t)(down + 1) * height / (rows * dotRows));
                    if (!blockHasWave(pixels, width, height, x0, x1 > x0 ? x1 : x0 + 1, y0, y1 > y0 ? y1 : y0 + 1))
                        continue;
                    static const uint32_t bit[2][4] = {{0x01, 0x02, 0x04, 0x40}, {0x08, 0x10, 0x20, 0x80}};
                    dots |= unicode ? bit[dx][dy] : 1u;
                }
            if (unicode)
                appendBraille(&line, dots);
            else
                line += dots ? '*' : ' ';
        }
        lines.push_back(line);
    }
    lines.push_back(spanLine(pixels, width, height, columns));
    return lines;
}

static std::string share(double value)
{
    char text[32];
    snprintf(text, sizeof text, value == 0 ? "0" : "%+.3g", value);
    return text;
}

static std::string milliseconds(double ms)
{
    char text[32];
    snprintf(text, sizeof text, "%+.1f ms", ms);
    return text;
}

// The view's lines with the amplitude at its edges on the left and the times at its ends below.
static void appendView(std::string *text, const TerminalReview &r, uint64_t index)
{
    const size_t label = 7;
    for (size_t i = 0; i + 1 < r.view.size(); i++) {
        std::string edge = i == 0 ? share(r.fullScaleShown) : i + 2 == r.view.size() ? share(-r.fullScaleShown) : "";
        *text += std::string(label - 1 - (edge.size() < label - 1 ? edge.size() : label - 1), ' ') + edge + " " +
                 r.view[i] + "\n";
    }
    if (!r.view.empty()) {
        bool span = r.view.back().find('[') != std::string::npos;
        *text += std::string(label, ' ') + r.view.back() + (span ? "   ([ ] the span to repair, ^ the candidate)\n"
                                                                : "   (^ the candidate)\n");
    }
    int64_t first = (int64_t)index - r.around < 0 ? 0 : (int64_t)index - r.around;
    int64_t last = (int64_t)index + r.around >= (int64_t)r.selCount ? (int64_t)r.selCount : (int64_t)index + r.around;
    int32_t rate = r.sampleRate > 0 ? r.sampleRate : 1;
    std::string left = milliseconds((double)(first - (int64_t)index) * 1000.0 / rate);
    std::string right = milliseconds((double)(last - (int64_t)index) * 1000.0 / rate);
    size_t width = r.view.empty() ? 0 : r.view[0].size();
    // A braille character is three bytes but one column.
    if (!r.view.empty() && (unsigned char)r.view[0][0] >= 0x80)
        width /= 3;
    size_t gap = width > left.size() + right.size() ? width - left.size() - right.size() : 1;
    *text += std::string(label, ' ') + left + std::string(gap, ' ') + right + "  (amplitude: share of full scale)\n";
}

std::string terminalReviewText(const TerminalReview &r)
{
    CandidateFacts facts;
    bool named = readCandidateMessage(r.message, &facts);
    std::string text = "\n";
    std::string channel = r.channel == 0 ? "all channels"
                          : r.channels == 1 ? "mono"
                                            : "channel " + std::to_string(r.channel) + " of " + std::to_string(r.channels);
    if (!named) {
        text += r.message + "\n";
    } else {
        uint64_t frame = facts.position ? facts.position - 1 : 0;
        uint64_t index = frame >= r.selStart ? frame - r.selStart : 0;
        uint64_t through = r.selCount ? (index + 1) * 100u / r.selCount : 0;
        std::string what = facts.bestGuess ? "Best guess of pass " + std::to_string(r.pass) + " (the pass stopped nowhere)"
                                           : "Candidate " + std::to_string(r.numberInPass) + " in pass " + std::to_string(r.pass);
        text += what + ": " + channel + ", at " + formatClock(frame, r.sampleRate) + " (sample " +
                std::to_string(facts.position) + ", " + std::to_string(through) + "% of the way through)\n";
        if (facts.jump >= 0)
            text += "  " + describeJump(facts.jump, facts.level) + "\n";
        if (facts.verification == "OK")
            text += "  Base-frequency check: OK (it does not follow the signal's own oscillation)\n";
        else if (!facts.verification.empty())
            text += "  Base-frequency check: " + facts.verification + " (it may be the signal's own oscillation)\n";
        if (!r.view.empty())
            appendView(&text, r, index);
    }
    if (!r.settings.empty())
        text += "  " + r.settings + "\n";
    if (!r.picture.empty())
        text += "  picture: " + r.picture + "\n";
    return text;
}

std::string terminalPrompt(bool dialogForm, bool canRepair, bool canGoBack)
{
    if (!dialogForm)
        return "repair (r), stop (s) or auto (a)? (? for help) ";
    std::string prompt = std::string(canRepair ? "repair (r)" : "[repair: not here]") + ", next (n), skip (s), " +
                         (canGoBack ? "back (b)" : "[back: not here]") + ", " +
                         (canRepair ? "auto (a)" : "[auto: not here]") + ", close (c) or stop (q)? (? for help) ";
    return prompt;
}

std::string terminalHelp(bool dialogForm)
{
    if (!dialogForm)
        return "  repair  r   replace the click by the curve and look for the next one\n"
               "  stop    s   end the review of the whole file here; the repairs made so far are kept\n"
               "              and OUT is written; later channels are not presented\n"
               "  auto    a   repair this one and every later click of this channel without asking\n"
               "  Ctrl-D (end of input) answers stop. Ctrl-C ends the program at once and writes nothing.\n";
    return "  repair  r   replace the span between [ and ] by the curve and look for the next click\n"
           "  next    n   leave this one as it is and look on\n"
           "  skip    s   leave it, and pass over this spot in every later pass too\n"
           "  back    b   go back a little and show the previous candidate again\n"
           "  auto    a   repair this one and every later click of this channel without asking\n"
           "  close   c   end this channel's review here (no further pass); its repairs are kept, and the\n"
           "              next channel is presented\n"
           "  stop    q   end the review of the whole file here; the repairs made so far are kept and OUT is\n"
           "              written; later channels are not presented\n"
           "  Ctrl-D (end of input) answers close, and the review of the file ends there.\n"
           "  Ctrl-C ends the program at once and writes nothing.\n"
           "  Before answering, actions change the dialog as its controls would, e.g.\n"
           "  set:c1=5;zoom:line-up;drag:start>40 (see vantrope --help); the review is then shown again.\n";
}

int32_t typedReviewAnswer(const std::string &typed, bool dialogForm)
{
    std::string word;
    for (char c : typed)
        if (c != ' ' && c != '\t' && c != '\r')
            word += (char)(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (word == "?" || word == "h" || word == "help")
        return HELP_REQUESTED;
    struct Letter {
        const char *typed;
        int32_t dialogAnswer;   // in the dialog form
        int32_t questionAnswer; // in the question form, 0 = not offered
    };
    static const Letter letters[] = {
        {"r", ANSWER_REPAIR, ANSWER_REPAIR}, {"n", ANSWER_NEXT, ANSWER_STOP}, {"s", ANSWER_SKIP, ANSWER_STOP},
        {"b", ANSWER_BACK, 0},               {"a", ANSWER_AUTO, ANSWER_AUTO}, {"c", ANSWER_CLOSE, ANSWER_AUTO},
        {"q", ANSWER_STOP, ANSWER_STOP},     {"quit", ANSWER_STOP, ANSWER_STOP},
        {"yes", ANSWER_REPAIR, ANSWER_REPAIR}, {"y", ANSWER_REPAIR, ANSWER_REPAIR},
        {"no", 0, ANSWER_STOP},              {"cancel", 0, ANSWER_AUTO},
    };
    for (const Letter &letter : letters)
        if (word == letter.typed)
            return dialogForm ? letter.dialogAnswer : letter.questionAnswer;
    std::vector<int32_t> ids;
    std::string error;
    if (word.empty() || !parseAnswerList(word, &ids, &error) || ids.size() != 1)
        return 0;
    if (!dialogForm && !questionButtonFor(ids[0]))
        return 0;
    return ids[0];
}

bool terminalTakesUtf8()
{
    const char *names[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    for (const char *name : names) {
        const char *value = getenv(name);
        if (!value || !*value)
            continue;
        std::string lower;
        for (const char *p = value; *p; p++)
            lower += (char)(*p >= 'A' && *p <= 'Z' ? *p - 'A' + 'a' : *p);
        return lower.find("utf-8") != std::string::npos || lower.find("utf8") != std::string::npos;
    }
    return false;
}
