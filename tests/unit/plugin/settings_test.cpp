// The settings file: the text-to-number rule, the load ranges, defaults for whatever is missing, and
// what a save writes, in which order.
#include <gtest/gtest.h>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include "plugin/click_params.h"
#include "plugin/settings.h"
#include "support/fake_host.h"

namespace {

class SettingsTest : public PluginTest {};

TEST(SettingText, FollowsTheDecimalPrefixRule)
{
    struct Row {
        const char *text;
        int32_t value;
    } rows[] = {
        {"42", 42},         {"  12abc", 12},    {"\t\n-7", -7},   {"+9", 9},
        {"abc", 0},         {"", 0},            {"-", 0},         {"+-3", 0},
        {"4294967297", 1},  {"2147483648", -2147483647 - 1}, {"-2147483649", 2147483647},
        {"0012", 12},       {"12 34", 12},      {" - 5", 0},
    };
    for (const Row &r : rows)
        EXPECT_EQ(parseSettingText(r.text), r.value) << "text \"" << r.text << "\"";
}

TEST_F(SettingsTest, MissingFileGivesTheFileDefaultsNotTheLoadTimeValues)
{
    loadSettings();
    EXPECT_EQ(clickParams.c1, 4);
    EXPECT_EQ(clickParams.d1, 600);
    EXPECT_EQ(clickParams.c2, 9);
    EXPECT_EQ(clickParams.zoom, 1);
    EXPECT_EQ(clickParams.lineBezier, 0);
    EXPECT_EQ(clickParams.ptsAround, 75) << "the file default is 75, the load-time value 95";
    EXPECT_EQ(clickParams.multipass, 0u);
    EXPECT_EQ(clickParams.useBaseFreqVer, 1u);
    EXPECT_EQ(clickParams.baseFreqVerS, 1);
}

TEST_F(SettingsTest, LoadEnforcesRangesButNotOnSwitchesOrSeverity)
{
    writeIni("[Coeffs]\r\nC1=abc\r\nD1=-5\r\nC2=0\r\nZoom=0\r\nLineBezier=-3\r\nPtsAround=10\r\n"
             "StartOver=7\r\nAutoZoom=-1\r\nRangeDialog=2\r\nUseBaseFreqVer=0\r\nBaseFreqVerS=-2\r\n");
    loadSettings();
    EXPECT_EQ(clickParams.c1, 1);
    EXPECT_EQ(clickParams.d1, 1);
    EXPECT_EQ(clickParams.c2, 1);
    EXPECT_EQ(clickParams.zoom, 1);
    EXPECT_EQ(clickParams.lineBezier, 0);
    EXPECT_EQ(clickParams.ptsAround, 30);
    EXPECT_EQ(clickParams.multipass, 7u);
    EXPECT_EQ(clickParams.autoZoom, 0xFFFFFFFFu);
    EXPECT_EQ(clickParams.rangeDialog, 2u);
    EXPECT_EQ(clickParams.useBaseFreqVer, 0u);
    EXPECT_EQ(clickParams.baseFreqVerS, -2);

    writeIni("[Coeffs]\r\nZoom=13\r\nLineBezier=99\r\nPtsAround=500\r\nBaseFreqVerS=0\r\nC1= 12xyz\r\n");
    loadSettings();
    EXPECT_EQ(clickParams.zoom, 12);
    EXPECT_EQ(clickParams.lineBezier, 12);
    EXPECT_EQ(clickParams.ptsAround, 160);
    EXPECT_EQ(clickParams.baseFreqVerS, 0);
    EXPECT_EQ(clickParams.c1, 12);
}

TEST_F(SettingsTest, SectionAndKeysMatchWhateverTheirCase)
{
    writeIni("[other]\r\nC1=77\r\n[coeffs]\r\nc1 = 5\r\nZOOM=3\r\n");
    loadSettings();
    EXPECT_EQ(clickParams.c1, 5);
    EXPECT_EQ(clickParams.zoom, 3);
    EXPECT_EQ(clickParams.d1, 600);
}

TEST_F(SettingsTest, SaveWritesElevenKeysInOrderAsSignedDecimals)
{
    clickParams.c1 = 5;
    clickParams.d1 = 700;
    clickParams.baseFreqVerS = -3;
    clickParams.autoZoom = 0xFFFFFFFFu;
    saveSettings();
    EXPECT_EQ(readIni(), "[Coeffs]\r\nC1=5\r\nD1=700\r\nC2=9\r\nZoom=1\r\nLineBezier=0\r\nPtsAround=95\r\n"
                         "StartOver=0\r\nAutoZoom=-1\r\nRangeDialog=0\r\nUseBaseFreqVer=1\r\nBaseFreqVerS=-3\r\n");
}

TEST_F(SettingsTest, SaveKeepsOtherSectionsAndReplacesValuesInPlace)
{
    writeIni("[Mine]\r\nx=1\r\n[Coeffs]\r\nZoom=4\r\nExtra=yes\r\n");
    saveSettings();
    std::string text = readIni();
    EXPECT_EQ(text.find("[Mine]\r\nx=1\r\n"), 0u) << text;
    EXPECT_NE(text.find("Zoom=1\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Extra=yes\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Zoom=4"), std::string::npos) << text;
    loadSettings();
    EXPECT_EQ(clickParams.ptsAround, 95);
}

static int keysIn(const std::string &text)
{
    int keys = 0;
    for (size_t at = text.find("=\r\n"); at != std::string::npos; at = text.find("=\r\n", at + 1))
        keys = -100; // a key without its value
    for (size_t at = text.find('='); at != std::string::npos; at = text.find('=', at + 1))
        keys++;
    return text.rfind("[Coeffs]\r\n", 0) == 0 ? keys : -1;
}

static int filesIn(const std::string &dir)
{
    int n = 0;
    DIR *d = opendir(dir.c_str());
    while (dirent *e = d ? readdir(d) : nullptr)
        n += e->d_name[0] != '.' ? 1 : 0;
    if (d)
        closedir(d);
    return n;
}

// A save killed at any moment leaves the old file or the new one, whole: each write is a temporary
// file renamed over the settings. A finished save leaves no temporary and keeps the file's mode.
TEST_F(SettingsTest, AKilledSaveLeavesTheOldFileOrTheNewOne)
{
    saveSettings();
    chmod(iniPath().c_str(), 0640);
    clickParams.d1 = 1234;
    saveSettings();
    struct stat st;
    ASSERT_EQ(stat(iniPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(filesIn(profileDir), 1) << "no temporary left beside the file";
    for (int attempt = 0; attempt < 100; attempt++) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int32_t i = 0;; i++) { // every save changes the file
                clickParams.d1 = 1000 + i % 7;
                saveSettings();
            }
        }
        usleep((useconds_t)(attempt * 53 % 700)); // kill it at varied moments
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        ASSERT_EQ(keysIn(readIni()), 11) << "after kill " << attempt << ":\n" << readIni();
    }
}

} // namespace
