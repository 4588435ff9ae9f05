// The terminal form of a review question: print it, read a line, repeat until the answer fits.
#include "terminal_prompt.h"
#include <cctype>
#include <cstdio>
#include <iostream>
#include "box_script.h"
#include "host_session.h"

int32_t buttonForTypedAnswer(const std::string &typed)
{
    std::string word;
    for (char c : typed)
        if (!isspace((unsigned char)c))
            word += (char)tolower((unsigned char)c);
    if (word == "y" || word == "yes" || word == "r")
        return BUTTON_YES;
    if (word == "n" || word == "no" || word == "s")
        return BUTTON_NO;
    if (word == "c" || word == "cancel" || word == "a")
        return BUTTON_CANCEL;
    std::vector<int32_t> ids;
    std::string error;
    if (!parseAnswerList(word, &ids, &error) || ids.size() != 1)
        return 0;
    return questionButtonFor(ids[0]);
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

int32_t askOnTerminal(const char *text)
{
    fprintf(stderr, "\n%s\n[r]epair (Yes), [s]top (No), [a]uto (Cancel)? ", text ? text : "");
    fflush(stderr);
    std::string line;
    while (readAnswerLine(&line)) {
        int32_t button = buttonForTypedAnswer(line);
        if (button)
            return button;
        fprintf(stderr, "please answer repair, stop or auto: ");
        fflush(stderr);
    }
    // An interrupt stops here too; the run then ends at the host's cancel flag.
    if (!sessionCancelled())
        fprintf(stderr, "\n(end of input: stop)\n");
    return BUTTON_NO;
}
