// The report's directory and index.md: the reviews in the order they came (time, channel, pass,
// position, message, answer, picture) and the repairs in time order (time, channel, samples, the
// review that decided each one, picture). Owns the report directory and the rows written so far.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include "box_script.h"
#include "report.h"
#include "review_terminal.h"

// Repair pictures per report: enough for any hand-reviewed file; a dense automatic run lists the rest.
enum { MOST_REPAIR_PICTURES = 400 };

struct RepairRow {
    int32_t channel;       // presented channel, 1-based; 0 = all channels at once
    int32_t sampleRate;    // frames per second
    uint32_t first, last;  // changed frames, inclusive
    std::string picture;   // file name inside the report directory, "" when none was drawn
};

static std::string reportDir;
static bool reportOn = false;
static std::vector<ReportReview> reviews;
static std::vector<RepairRow> repairs;

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
    reviews.clear();
    repairs.clear();
    return true;
}

void reportClose()
{
    reportOn = false;
    reviews.clear();
    repairs.clear();
}

bool reportActive() { return reportOn; }

static std::string pathIn(const std::string &name) { return (std::filesystem::path(reportDir) / name).string(); }

static std::string fileName(const std::string &path)
{
    return path.empty() ? "" : std::filesystem::path(path).filename().string();
}

static std::string writePicture(const std::string &name, const Canvas &picture)
{
    std::string path = pathIn(name);
    if (!writePngFile(path, picture.pixels, picture.width, picture.height)) {
        fprintf(stderr, "vantrope: %s: cannot write the report picture\n", path.c_str());
        return "";
    }
    return path;
}

std::string reportPicture(const ReviewPictureFacts &facts, const std::vector<uint32_t> &pixels, int32_t width,
                          int32_t height)
{
    if (width <= 0 || height <= 0 || pixels.size() != (size_t)width * (size_t)height)
        return "";
    Canvas picture;
    frameReviewPicture(facts, pixels, width, height, &picture);
    return writePicture("review-" + std::to_string(facts.review) + ".png", picture);
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

static std::string channelName(int32_t channel) { return channel ? std::to_string(channel) : "all"; }

// The frame a review's candidate lies at (position - 1), or false when its message names none.
static bool candidateFrame(const ReportReview &review, uint64_t *frame)
{
    CandidateFacts facts;
    if (!readCandidateMessage(review.message, &facts) || facts.position == 0)
        return false;
    *frame = facts.position - 1;
    return true;
}

static std::string reviewTime(const ReportReview &review)
{
    uint64_t frame = 0;
    if (review.sampleRate <= 0 || !candidateFrame(review, &frame))
        return "";
    return formatClock(frame, review.sampleRate);
}

// The last review that answered repair or auto at a candidate inside the repair (or just beside it),
// on its channel; 0 when an automatic repair made it.
static int32_t decidingReview(const RepairRow &repair)
{
    int32_t found = 0;
    for (const ReportReview &review : reviews) {
        uint64_t frame = 0;
        if (review.channel != repair.channel || (review.answer != ANSWER_REPAIR && review.answer != ANSWER_AUTO) ||
            !candidateFrame(review, &frame))
            continue;
        if (frame + 4 >= repair.first && frame <= (uint64_t)repair.last + 4)
            found = review.review;
    }
    return found;
}

static void writeReviews(FILE *file)
{
    fputs("## Reviews, in the order they came\n\n"
          "| Review | Time | Channel | Pass | Position | Message | Answer | Picture |\n"
          "|---|---|---|---|---|---|---|---|\n",
          file);
    for (const ReportReview &row : reviews) {
        std::string name = fileName(row.picture);
        std::string picture = name.empty() ? "(none)" : "![review " + std::to_string(row.review) + "](" + name + ")";
        fprintf(file, "| <a id=\"review-%d\"></a>%d | %s | %s | %d | %s | %s | %s (%d) | %s |\n", (int)row.review,
                (int)row.review, reviewTime(row).c_str(), channelName(row.channel).c_str(), (int)row.pass,
                reportPosition(row.message).c_str(), cell(row.message).c_str(), answerName(row.answer),
                (int)row.answer, picture.c_str());
    }
}

static void writeRepairs(FILE *file)
{
    fputs("\n## Repairs, in time order\n\n"
          "| Repair | Time | Channel | Samples | Length | Decided by | Before and after |\n"
          "|---|---|---|---|---|---|---|\n",
          file);
    for (size_t i = 0; i < repairs.size(); i++) {
        const RepairRow &row = repairs[i];
        int32_t review = decidingReview(row);
        std::string decided = review ? "[review " + std::to_string(review) + "](#review-" + std::to_string(review) + ")"
                                     : "automatic repair";
        std::string picture = row.picture.empty() ? "(not drawn: more than " + std::to_string(MOST_REPAIR_PICTURES) +
                                                        " repairs)"
                                                  : "![repair " + std::to_string(i + 1) + "](" + row.picture + ")";
        uint32_t length = row.last - row.first + 1;
        fprintf(file, "| %d | %s | %s | %u-%u | %u (%.2f ms) | %s | %s |\n", (int)(i + 1),
                formatClock(row.first, row.sampleRate).c_str(), channelName(row.channel).c_str(),
                (unsigned)row.first + 1u, (unsigned)row.last + 1u, (unsigned)length,
                length * 1000.0 / (row.sampleRate > 0 ? row.sampleRate : 1), decided.c_str(), picture.c_str());
    }
}

static void writeIndex()
{
    std::string path = pathIn("index.md");
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) {
        fprintf(stderr, "vantrope: %s: cannot write the report index\n", path.c_str());
        return;
    }
    fputs("# Vantrope report\n\nSample positions count from 1, as the plug-in's messages do; times are h:mm:ss.fff.\n\n",
          file);
    writeReviews(file);
    writeRepairs(file);
    fclose(file);
}

void reportEntry(const ReportReview &entry)
{
    if (!reportOn)
        return;
    reviews.push_back(entry);
    writeIndex();
}

void reportRepairs(int32_t channel, int32_t sampleRate, uint32_t selStart, uint32_t selEnd,
                   const std::vector<ChangedRegion> &regions, const std::function<double(uint32_t)> &before,
                   const std::function<double(uint32_t)> &after)
{
    if (!reportOn || regions.empty())
        return;
    for (const ChangedRegion &region : regions) {
        RepairRow row = {channel, sampleRate, region.first, region.last, ""};
        // Named by channel and position, so a name stays right whatever the index's order.
        if (repairs.size() < (size_t)MOST_REPAIR_PICTURES) {
            RepairPictureFacts facts = {channel, sampleRate, region.first, region.last, 0, {}, {}};
            uint32_t length = region.last - region.first + 1, margin = length < 48 ? 48 : length;
            margin = margin > 2000 ? 2000 : margin;
            facts.windowFirst = region.first - selStart > margin ? region.first - margin : selStart;
            uint32_t windowLast = selEnd - region.last > margin ? region.last + margin : selEnd;
            for (uint32_t f = facts.windowFirst; f <= windowLast; f++) {
                facts.before.push_back(before(f));
                facts.after.push_back(after(f));
            }
            Canvas picture;
            drawRepairPicture(facts, &picture);
            std::string name = "repair-" + (channel ? "c" + std::to_string(channel) : std::string("all")) + "-" +
                               std::to_string(region.first + 1u) + ".png";
            row.picture = fileName(writePicture(name, picture));
        }
        repairs.push_back(row);
    }
    std::stable_sort(repairs.begin(), repairs.end(), [](const RepairRow &a, const RepairRow &b) {
        return a.first != b.first ? a.first < b.first : a.channel < b.channel;
    });
    writeIndex();
}
