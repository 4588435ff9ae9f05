// The report's directory and index.md: one row per review with the candidate's position, its message,
// the answer and the picture. Owns the report directory and the rows written so far.
#include <cstdio>
#include <filesystem>
#include <system_error>
#include "box_script.h"
#include "report.h"

struct ReportRow {
    int32_t review;       // review number, from 1
    std::string position; // sample position named by the message, "" when none
    std::string caption;  // dialog caption
    std::string message;  // candidate message
    int32_t answer;       // button id that ended the review
    std::string picture;  // file name of the picture inside the report directory, "" when none
};

static std::string reportDir;
static bool reportOn = false;
static std::vector<ReportRow> rows;

bool reportOpen(const std::string &dir, std::string *error)
{
    std::error_code failure;
    std::filesystem::create_directories(dir, failure);
    if (failure || !std::filesystem::is_directory(dir, failure)) {
        *error = dir + ": cannot make the report directory";
        return false;
    }
    reportDir = dir;
    reportOn = true;
    rows.clear();
    return true;
}

void reportClose()
{
    reportOn = false;
    rows.clear();
}

bool reportActive() { return reportOn; }

static std::string pathIn(const std::string &name) { return (std::filesystem::path(reportDir) / name).string(); }

std::string reportPicture(int32_t review, const std::vector<uint32_t> &pixels, int32_t width, int32_t height)
{
    std::string path = pathIn("review-" + std::to_string(review) + ".png");
    if (!writePngFile(path, pixels, width, height)) {
        fprintf(stderr, "vantrope: %s: cannot write the report picture\n", path.c_str());
        return "";
    }
    return path;
}

std::string reportPosition(const std::string &message)
{
    static const char marker[] = "at sample ";
    size_t at = message.find(marker);
    if (at == std::string::npos)
        return "";
    size_t begin = at + sizeof marker - 1;
    size_t end = begin;
    while (end < message.size() && message[end] >= '0' && message[end] <= '9')
        end++;
    return message.substr(begin, end - begin);
}

// Text for one table cell: line ends become spaces, '|' is escaped.
static std::string cell(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n' || c == '\r')
            out += ' ';
        else if (c == '|')
            out += "\\|";
        else
            out += c;
    }
    return out;
}

static void writeIndex()
{
    std::string path = pathIn("index.md");
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) {
        fprintf(stderr, "vantrope: %s: cannot write the report index\n", path.c_str());
        return;
    }
    fputs("# Reviews\n\n| Review | Position | Caption | Message | Answer | Picture |\n|---|---|---|---|---|---|\n", file);
    for (const ReportRow &row : rows) {
        std::string picture = row.picture.empty() ? "(none)" : "![review " + std::to_string(row.review) + "](" +
                                                                    row.picture + ")";
        fprintf(file, "| %d | %s | %s | %s | %s (%d) | %s |\n", (int)row.review, row.position.c_str(),
                cell(row.caption).c_str(), cell(row.message).c_str(), answerName(row.answer), (int)row.answer, picture.c_str());
    }
    fclose(file);
}

void reportEntry(int32_t review, const std::string &caption, const std::string &message, int32_t answer,
                 const std::string &picture)
{
    if (!reportOn)
        return;
    std::string name = picture.empty() ? "" : std::filesystem::path(picture).filename().string();
    rows.push_back({review, reportPosition(message), caption, message, answer, name});
    writeIndex();
}
