// The host's command line: accepted forms, what the file names mean (one run, a list, a batch, the
// settings command), refused combinations, --start and --end, and the answers the question form
// cannot give.
#include <gtest/gtest.h>
#include "app/box_script.h"
#include "app/host_options.h"
#include "app/text_parse.h"

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
    EXPECT_EQ(o.task, TASK_REPAIR);
    EXPECT_FALSE(o.allChannels || o.start.given || o.end.given || o.hasAnswers || o.autoMode || o.refuseLong);
    EXPECT_TRUE(o.preset.empty() && o.sets.empty() && !o.saveSettings);
    EXPECT_EQ(o.frameClass, DEFAULT_FRAME_CLASS);
    EXPECT_TRUE(o.useDialog) << "reviews take the dialog form unless --no-dialog";
    EXPECT_TRUE(o.logPath.empty());
}

TEST(HostOptions, ValuesTakeEitherSpellingAndFilesMayComeFirst)
{
    HostOptions o = parsed("a.wav --channel=2 --start 10f --end=4294967295f b.wav --frame-class COOL96 --log=t.jsonl "
                           "--settings-dir /tmp/x --refuse-long");
    EXPECT_EQ(o.inPath, "a.wav");
    EXPECT_EQ(o.outPath, "b.wav");
    EXPECT_EQ(o.channel, 2);
    EXPECT_TRUE(o.start.given && o.start.isFrames && o.end.given && o.end.isFrames);
    EXPECT_EQ(o.start.frames, 10u);
    EXPECT_EQ(o.end.frames, 4294967295u);
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

TEST(HostOptions, FileNamesMeanWhatTheTaskNeeds)
{
    struct Row {
        const char *line;
        int32_t task;
        size_t inputs;   // IN names taken
        const char *out; // OUT of a single run, "" when none
    };
    const Row rows[] = {
        {"a.wav b.flac", TASK_REPAIR, 1, "b.flac"},
        {"--list a.wav", TASK_LIST, 1, ""},
        {"--csv --labels l.txt a.wav", TASK_LIST, 1, ""},
        {"--out-dir out a.wav", TASK_REPAIR, 1, "out/a.wav"},
        {"--suffix -fixed d/take.2.wav", TASK_REPAIR, 1, "d/take.2-fixed.wav"},
        {"--out-dir out/ --suffix _x d/.hidden", TASK_REPAIR, 1, "out/.hidden_x"},
        {"--in-place take.wav", TASK_REPAIR, 1, "take.wav"},
        {"--in-place a.wav b.wav c.wav", TASK_BATCH, 3, ""},
        {"-j4 --out-dir o a.wav b.wav", TASK_BATCH, 2, ""},
        {"settings --preset gentle --set C1=9", TASK_SETTINGS, 0, ""},
        {"--settings-dir d settings --reset", TASK_SETTINGS, 0, ""},
        {"-- settings out.wav", TASK_REPAIR, 1, "out.wav"},
        {"--info", TASK_INFO, 0, ""},
        {"--list --help a b c", TASK_HELP, 0, ""},
        {"-h", TASK_HELP, 0, ""},
        {"--version", TASK_HELP, 0, ""},
    };
    for (const Row &row : rows) {
        HostOptions o = parsed(row.line);
        EXPECT_EQ(o.task, row.task) << row.line;
        EXPECT_EQ(o.inputs.size(), row.inputs) << row.line;
        if (row.task == TASK_REPAIR) {
            EXPECT_EQ(o.outPath, row.out) << row.line;
        }
    }
    EXPECT_EQ(parsed("--version").helpText, HELP_VERSION);
    EXPECT_EQ(parsed("-j 3 --out-dir o a b").jobs, 3);
}

TEST(HostOptions, ABatchHandsOnTheOptionsOfEachRun)
{
    HostOptions o = parsed("--preset gentle -j 2 --out-dir o --set C1=6,D1=900 -y --suffix=_x a.wav b.wav");
    EXPECT_EQ(o.passOn, (std::vector<std::string>{"--preset=gentle", "--set=C1=6,D1=900", "-y"}));
    ASSERT_EQ(o.sets.size(), 2u);
    EXPECT_EQ(o.sets[0].key, KEY_C1);
    EXPECT_EQ(o.sets[1].value, 900);
    EXPECT_EQ(parsed("--set linebezier=12 a b").sets[0].key, KEY_LINE_BEZIER) << "keys match as the file's do";
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
        {"a b c", "several INs need --out-dir DIR, --suffix TEXT or --in-place"},
        {"--preset harsh a b", "unknown preset \"harsh\" (the presets: balanced, gentle, thorough)"},
        {"--set C9=1 a b", "unknown key \"C9\""},
        {"--set C1=0 a b", "C1 takes a whole number from 1 to 65535, not \"0\""},
        {"--set Zoom=13 a b", "Zoom takes a whole number from 1 to 12"},
        {"--set StartOver=2 a b", "StartOver takes a whole number from 0 to 1"},
        {"--set C1 a b", "as C1=N"},
        {"--set C1=6,,D1=2 a b", "unknown key \"\""},
        {"--save-settings --keep-settings a b", "cannot be combined"},
        {"--list a b", "--list takes one file"},
        {"--list --answers next a", "do not go with it"},
        {"--list -y a", "--list changes nothing"},
        {"--list --save-settings a", "--list changes nothing"},
        {"--list --no-dialog a", "need the review dialog"},
        {"--labels= a", "--labels needs a file name"},
        {"--out-dir d --in-place a b", "cannot be combined"},
        {"--out-dir d --log t a b", "take a single IN"},
        {"--suffix x/y a b", "directory separator"},
        {"-j 0 --out-dir d a b", "from 1 to 64"},
        {"--out-dir d", "need at least one input file"},
        {"settings -y", "vantrope settings takes"},
        {"settings --reset --preset gentle", "cannot be combined"},
        {"--reset a b", "belongs to vantrope settings"},
        {"--bogus a b", "unknown option --bogus"},
        {"--channel", "--channel needs a value"},
        {"--channel 0 a b", "from 1 to 65535"},
        {"--channel 65536 a b", "from 1 to 65535"},
        {"--channel x a b", "from 1 to 65535"},
        {"--start -1 a b", "--start needs a time in seconds"},
        {"--end 4294967296f a b", "--end needs a time"},
        {"--start 9f --end 8f a b", "lies after --end"},
        {"--start 2 --end 2.0 a b", "lies at or after --end"},
        {"--start 1:60 a b", "needs a time"},
        {"--start 90s a b", "or a frame with f (1000f)"},
        {"--end 0.0000000001 a b", "needs a time"},
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

TEST(HostOptions, TimesBecomeFramesAtTheFilesRate)
{
    struct Row {
        const char *start, *end; // "" = not given
        int32_t rate;
        uint32_t frames;         // in the file
        int32_t ok;
        uint32_t first, last;
    };
    const Row rows[] = {
        {"1.5", "", 44100, 100000, 1, 66150, 99999},
        {"0:01.5", "2", 44100, 100000, 1, 66150, 88199}, // an end time is exclusive
        {".5", "0.55", 10, 100, 1, 5, 5},                // 5.5 frames: the frame playing then is kept
        {"1:00:00", "", 1, 3601, 1, 3600, 3600},
        {"100f", "100f", 8000, 101, 1, 100, 100},        // an end frame is inclusive
        {"", "0.05", 10, 100, 1, 0, 0},
        {"", "0", 10, 100, 0, 0, 0},                     // empty
        {"", "101f", 8000, 101, 0, 0, 0},                // beyond the file
        {"0.9999999999", "", 1, 2, 0, 0, 0},            // ten decimals: not a time
        {"4294967295f", "", 1, 10, 0, 0, 0},
    };
    for (const Row &row : rows) {
        TimeValue start = {false, false, 0, 0, ""}, end = start;
        int32_t parsedAll = (!*row.start || parseTimeValue(row.start, &start)) && (!*row.end || parseTimeValue(row.end, &end));
        uint32_t first = 7, last = 7;
        std::string error;
        int32_t ok = parsedAll && resolveSelection(start, end, row.rate, row.frames, &first, &last, &error);
        EXPECT_EQ(ok, row.ok) << row.start << " to " << row.end << ": " << error;
        if (ok && row.ok) {
            EXPECT_EQ(first, row.first) << row.start;
            EXPECT_EQ(last, row.last) << row.end;
        }
    }
    EXPECT_EQ(formatFrameTime(3723500, 1000), "1:02:03.500");
    EXPECT_EQ(formatFrameTime(61000, 1000), "1:01.000");
}
