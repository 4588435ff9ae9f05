// The terminal form of a review question: show the candidate (its place in the run, its words and the
// audio around it drawn from the host's buffer), read a line, repeat until the answer fits. Counts the
// questions of the current pass.
#include "terminal_prompt.h"
#include <cctype>
#include <cstdio>
#include <iostream>
#include "box_script.h"
#include "host_session.h"
#include "report_canvas.h"
#include "review_terminal.h"
#include "sample_depth.h"

// The stretch drawn either side of the candidate: the plug-in's start-up width, as its view shows it.
enum { QUESTION_VIEW_AROUND = 95, QUESTION_VIEW_COLUMNS = 64, QUESTION_VIEW_ROWS = 5 };

static int32_t passOfLastQuestion = -1; // finish calls of the selection at the last question
static int32_t questionsInPass = 0;     // questions of that pass so far
static HostSelection questionSelection = {-1, 0, 0}; // the selection of the last question

int32_t buttonForTypedAnswer(const std::string &typed)
{
    int32_t answer = typedReviewAnswer(typed, false);
    return answer > 0 ? questionButtonFor(answer) : 0;
}

bool readAnswerLine(std::string *line)
{
    return !sessionCancelled() && std::getline(std::cin, *line) && !sessionCancelled();
}

bool askYesNoOnTerminal(const std::string &question)
{
    fputs(question.c_str(), stderr);
    fflush(stderr);
    std::string line, word;
    if (!readAnswerLine(&line))
        return false;
    for (char c : line)
        if (!isspace((unsigned char)c))
            word += (char)tolower((unsigned char)c);
    return word == "y" || word == "yes";
}

// The samples round the candidate as the host holds them (a repair earlier in the same pass reaches
// the host at the pass's end), drawn as the view would draw them with its automatic zoom.
static void drawAround(uint64_t position, TerminalReview *review)
{
    const HostAudio *audio = sessionAudio();
    HostSelection selection = sessionSelection();
    if (!audio || position == 0 || position - 1 < selection.start || position - 1 > selection.end)
        return;
    uint64_t frame = position - 1;
    uint64_t first = frame - selection.start > QUESTION_VIEW_AROUND ? frame - QUESTION_VIEW_AROUND : selection.start;
    uint64_t last = selection.end - frame > QUESTION_VIEW_AROUND ? frame + QUESTION_VIEW_AROUND : selection.end;
    std::vector<double> values;
    double peak = 1.0 / 32768;
    for (uint64_t f = first; f <= last; f++) {
        values.push_back(sampleShare(sessionFrameNow((uint32_t)f), audio->bitsPerSample, audio->isFloat));
        peak = values.back() > peak ? values.back() : -values.back() > peak ? -values.back() : peak;
    }
    // The view's automatic zoom: the loudest sample reaches three quarters of the way to the edge.
    int32_t zoom = (int32_t)(98301 / (4 * (int64_t)(peak * 32768)));
    zoom = zoom < 1 ? 1 : zoom > 12 ? 12 : zoom;
    review->fullScaleShown = 1.0 / zoom;
    Canvas canvas;
    const int32_t width = QUESTION_VIEW_COLUMNS * 6, height = QUESTION_VIEW_ROWS * 16;
    canvasStart(&canvas, width, height, 0);
    int32_t previousX = 0, previousY = 0;
    for (size_t i = 0; i < values.size(); i++) {
        int32_t x = (int32_t)(i * (size_t)width / values.size());
        double row = (1.0 - values[i] * zoom) * height / 2.0;
        int32_t y = (int32_t)(row < 0 ? 0 : row > height - 1 ? height - 1 : row);
        canvasLine(&canvas, i ? previousX : x, i ? previousY : y, x, y, 0x00FFFFFFu, false);
        previousX = x;
        previousY = y;
    }
    int32_t bar = (int32_t)((frame - first) * (uint64_t)width / values.size());
    canvasFill(&canvas, bar - 2, 0, bar + 2, 1, 0x00404040u);
    review->view = viewAsText(canvas.pixels, width, height, QUESTION_VIEW_COLUMNS, QUESTION_VIEW_ROWS, terminalTakesUtf8());
    review->around = QUESTION_VIEW_AROUND;
}

static void showQuestion(const char *text)
{
    const HostAudio *audio = sessionAudio();
    HostSelection selection = sessionSelection();
    int32_t passesDone = sessionPasses();
    if (passesDone != passOfLastQuestion || selection.channel != questionSelection.channel ||
        selection.start != questionSelection.start) {
        passOfLastQuestion = passesDone;
        questionsInPass = 0;
        questionSelection = selection;
    }
    // The question the plug-in appended is asked below in the terminal's own words.
    std::string message = text ? text : "";
    size_t question = message.find("\n\nContinue(YES)");
    if (question != std::string::npos)
        message.erase(question);
    TerminalReview review = {message, "", selection.channel, audio ? audio->channels : 1,
                             audio ? audio->sampleRate : 1, selection.start, selection.end - selection.start + 1,
                             passesDone + 1, ++questionsInPass, 1.0, QUESTION_VIEW_AROUND, {}, "", ""};
    CandidateFacts facts;
    if (readCandidateMessage(message, &facts))
        drawAround(facts.position, &review);
    fputs(terminalReviewText(review).c_str(), stderr);
}

int32_t askOnTerminal(const char *text)
{
    showQuestion(text);
    fputs(terminalPrompt(false, true, false).c_str(), stderr);
    fflush(stderr);
    std::string line;
    while (readAnswerLine(&line)) {
        int32_t answer = typedReviewAnswer(line, false);
        if (answer == HELP_REQUESTED)
            fputs(terminalHelp(false).c_str(), stderr);
        else if (answer > 0)
            return questionButtonFor(answer);
        else
            fprintf(stderr, "vantrope: please answer repair, stop or auto (? for help)\n");
        fputs(terminalPrompt(false, true, false).c_str(), stderr);
        fflush(stderr);
    }
    // An interrupt stops here too; the run then ends at the host's cancel flag.
    if (!sessionCancelled())
        fprintf(stderr, "\nvantrope: end of input: answered stop\n");
    return BUTTON_NO;
}
