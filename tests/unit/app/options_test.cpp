// The host's command line: accepted forms, refused combinations and the answers the question form
// cannot give.
#include <gtest/gtest.h>
#include "app/box_script.h"
#include "app/host_options.h"

static std::vector<std::string> split(const std::string &line)
{
    std::vector<std::string> words;
    size_t begin = 0;
    while (begin < line.size()) {
        size_t space = line.find(' ', begin);
        if (space == std::string::npos)
            space = line.size();
        if (space > begin)
            words.push_back(line.substr(begin, space - begin));
        begin = space + 1;
    }
    return words;
}

static HostOptions parsed(const std::string &line)
{
    HostOptions options;
    std::string error;
    EXPECT_EQ(parseHostOptions(split(line), &options, &error), 1) << line << ": " << error;
    return options;
}

TEST(HostOptions, DefaultsPresentEveryChannelOfTheWholeFile)
{
    HostOptions o = parsed("in.wav out.wav");
    EXPECT_EQ(o.inPath, "in.wav");
    EXPECT_EQ(o.outPath, "out.wav");
    EXPECT_EQ(o.channel, 0);
    EXPECT_FALSE(o.allChannels || o.hasStart || o.hasEnd || o.hasAnswers || o.autoMode || o.refuseLong);
    EXPECT_EQ(o.frameClass, DEFAULT_FRAME_CLASS);
    EXPECT_TRUE(o.useDialog) << "reviews take the dialog form unless --no-dialog";
    EXPECT_TRUE(o.logPath.empty());
}

TEST(HostOptions, ValuesTakeEitherSpellingAndFilesMayComeFirst)
{
    HostOptions o = parsed("a.wav --channel=2 --start 10 --end=4294967295 b.wav --frame-class COOL96 --log=t.jsonl "
                           "--settings-dir /tmp/x --refuse-long");
    EXPECT_EQ(o.inPath, "a.wav");
    EXPECT_EQ(o.outPath, "b.wav");
    EXPECT_EQ(o.channel, 2);
    EXPECT_TRUE(o.hasStart && o.hasEnd);
    EXPECT_EQ(o.start, 10u);
    EXPECT_EQ(o.end, 4294967295u);
    EXPECT_EQ(o.frameClass, "COOL96");
    EXPECT_EQ(o.logPath, "t.jsonl");
    EXPECT_TRUE(o.hasSettingsDir);
    EXPECT_EQ(o.settingsDir, "/tmp/x");
    EXPECT_TRUE(o.refuseLong);
}

TEST(HostOptions, AnswersBecomeButtonIds)
{
    HostOptions o = parsed("--answers=repair,STOP,auto,6,1,7 in out");
    EXPECT_TRUE(o.hasAnswers);
    EXPECT_EQ(o.answers, (std::vector<int32_t>{6, 1, 7, 6, 1, 7}));
    o = parsed("--answers= in out");
    EXPECT_TRUE(o.hasAnswers);
    EXPECT_TRUE(o.answers.empty()) << "an empty list answers stop from the first review";
}

TEST(HostOptions, InPlaceTakesOneFileAsBoth)
{
    HostOptions o = parsed("--in-place -y --lossy take.wav");
    EXPECT_TRUE(o.inPlace && o.overwrite && o.lossy);
    EXPECT_EQ(o.inPath, "take.wav");
    EXPECT_EQ(o.outPath, "take.wav");
    EXPECT_EQ(parsed("a.wav -").outPath, "-") << "\"-\" names standard output, not an option";
}

TEST(HostOptions, InfoAndHelpNeedNoFiles)
{
    EXPECT_TRUE(parsed("--info").info);
    EXPECT_TRUE(parsed("--help").help);
    EXPECT_TRUE(parsed("-h").help);
}

TEST(HostOptions, DoubleDashEndsTheOptions)
{
    HostOptions o = parsed("-- --in.wav -out.wav");
    EXPECT_EQ(o.inPath, "--in.wav");
    EXPECT_EQ(o.outPath, "-out.wav");
}

TEST(HostOptions, RefusedCommandLinesSayWhy)
{
    struct Row {
        const char *line;
        const char *reason; // part of the message
    };
    const Row rows[] = {
        {"in.wav", "need an input and an output file"},
        {"a b c", "too many file names"},
        {"--bogus a b", "unknown option --bogus"},
        {"--channel", "--channel needs a value"},
        {"--channel 0 a b", "from 1 to 65535"},
        {"--channel 65536 a b", "from 1 to 65535"},
        {"--channel x a b", "from 1 to 65535"},
        {"--start -1 a b", "--start needs a frame number"},
        {"--end 4294967296 a b", "--end needs a frame number"},
        {"--start 9 --end 8 a b", "lies after --end"},
        {"--channel 1 --all-channels a b", "cannot be combined"},
        {"--auto --answers stop a b", "cannot be combined"},
        {"--auto=1 a b", "takes no value"},
        {"--frame-class= a b", "1 to 255 characters"},
        {"--answers repair,sometimes a b", "unknown answer \"sometimes\""},
        {"--answers repair,,stop a b", "unknown answer \"\""},
        {"--answers 5 a b", "unknown answer \"5\""},
        {"--no-dialog --answers repair,next a b", "answer 2 (\"next\") cannot be given"},
        {"--no-dialog --answers skip a b", "answer 1 (\"skip\") cannot be given"},
        {"--no-dialog --answers 1036 a b", "cannot be given"},
        {"--no-dialog --answers close a b", "cannot be given"},
        {"--no-dialog --answers back a b", "cannot be given"},
        {"--no-dialog --review press:stop a b", "need the review dialog"},
        {"--no-dialog --report r a b", "need the review dialog"},
        {"--review press:stop --script s a b", "cannot be combined"},
        {"--report= a b", "--report needs a directory"},
        {"--script= a b", "--script needs a file name"},
        {"-y -n a b", "-y and -n cannot be combined"},
        {"--in-place -n a", "--in-place and -n cannot be combined"},
        {"--in-place", "--in-place needs a file"},
        {"--in-place a b c", "too many file names"},
        {"-x a b", "unknown option -x"},
    };
    for (const Row &row : rows) {
        HostOptions options;
        std::string error;
        EXPECT_EQ(parseHostOptions(split(row.line), &options, &error), 0) << row.line;
        EXPECT_NE(error.find(row.reason), std::string::npos) << row.line << ": got \"" << error << "\"";
    }
}

TEST(HostOptions, FrameNumbersAreStrictDecimal)
{
    struct Row {
        const char *text;
        int32_t ok;
        uint32_t value;
    };
    const Row rows[] = {{"0", 1, 0},          {"4294967295", 1, 4294967295u}, {"4294967296", 0, 0},
                        {"00000000001", 1, 1}, {"+1", 0, 0},                    {" 1", 0, 0},
                        {"1x", 0, 0},          {"", 0, 0},                      {"0000000012", 1, 12}};
    for (const Row &row : rows) {
        uint32_t value = 7;
        EXPECT_EQ(parseFrameNumber(row.text, &value), row.ok) << "\"" << row.text << "\"";
        if (row.ok) {
            EXPECT_EQ(value, row.value) << row.text;
        }
    }
}

TEST(HostOptions, DialogFormAcceptsEveryAnswer)
{
    std::vector<int32_t> all = {1, 2, 3, 4, 6, 7, 1036};
    std::string error;
    EXPECT_EQ(checkAnswersForForm(all, true, &error), 1);
    EXPECT_EQ(checkAnswersForForm({6, 1, 7}, false, &error), 1);
    EXPECT_EQ(checkAnswersForForm(all, false, &error), 0);
}
