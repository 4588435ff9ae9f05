// XfmDo's checks before any scanning: what each refusal shows, whether finish is called, whether the
// settings are saved, and the result — plus the frame sizes that would run outside the buffer.
#include <gtest/gtest.h>
#include "plugin/click_params.h"
#include "plugin/xfm.h"
#include "support/fake_host.h"

namespace {

class RunChecksTest : public PluginTest {
protected:
    void expectOneError(const char *text)
    {
        ASSERT_EQ(fakeHost().boxes.size(), 1u);
        const FakeMessageBox &box = fakeHost().boxes[0];
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.title, "Vantrope");
        EXPECT_EQ(box.flags & MB_ICONMASK, (UINT)MB_ICONERROR);
        EXPECT_EQ(box.owner, nullptr);
    }
};

TEST_F(RunChecksTest, RefusesAnythingButSixteenBitsBeforeReading)
{
    fakeHost().wave.bitsPerSample = 24;
    EXPECT_EQ(XfmDo(&fakeHost().wave), 0);
    expectOneError("Can only handle 16-bit data.");
    EXPECT_TRUE(fakeHost().events.empty());
    EXPECT_EQ(readIni(), "");
}

TEST_F(RunChecksTest, TooShortSelectionSavesTheLoadTimeValuesOnAFirstRun)
{
    setUpFakeHost(std::vector<int16_t>(100, 0), 10, 50); // 41 samples
    EXPECT_EQ(XfmDo(&fakeHost().wave), 1);
    expectOneError("Too little #samples to work.");
    EXPECT_TRUE(fakeHost().events.empty()) << "nothing is read";
    EXPECT_EQ(readIni(), "[Coeffs]\r\nC1=4\r\nD1=600\r\nC2=9\r\nZoom=1\r\nLineBezier=0\r\nPtsAround=95\r\n"
                         "StartOver=0\r\nAutoZoom=0\r\nRangeDialog=0\r\nUseBaseFreqVer=1\r\nBaseFreqVerS=1\r\n");
    EXPECT_EQ(clickParams.wave, &fakeHost().wave);
}

TEST_F(RunChecksTest, FortyTwoSamplesAreScanned)
{
    setUpFakeHost(std::vector<int16_t>(100, 0), 10, 51);
    EXPECT_EQ(XfmDo(&fakeHost().wave), 1);
    EXPECT_EQ(countEvents("read 20 84"), 1);
    EXPECT_EQ(countEvents("status Looking for Click(s) in the Selection"), 1);
    EXPECT_EQ(countEvents("finish"), 1);
}

TEST_F(RunChecksTest, AllocationFailureShowsNoMemoryAndSavesNothing)
{
    compatFailNextGlobalAllocs(2); // the block with the range tables, then the plain one
    EXPECT_EQ(XfmDo(&fakeHost().wave), 0);
    expectOneError("No memory.");
    EXPECT_TRUE(fakeHost().events.empty());
    EXPECT_EQ(readIni(), "");
}

TEST_F(RunChecksTest, ReadFailureReleasesTheBufferAndSavesNothing)
{
    fakeHost().failRead = true;
    EXPECT_EQ(XfmDo(&fakeHost().wave), 0);
    expectOneError("Can't read data.");
    EXPECT_EQ(fakeHost().events, std::vector<std::string>{"read 0 200"});
    EXPECT_EQ(readIni(), "");
}

TEST_F(RunChecksTest, StereoIsRefusedOnlyAfterReadingLoadingAndTheStatusText)
{
    writeIni("[Coeffs]\r\nC1=6\r\n");
    fakeHost().wave.channels = 2;
    fakeHost().wave.bytesPerFrame = 4;
    setUpFakeHost(std::vector<int16_t>(200, 0), 0, 99);
    fakeHost().wave.channels = 2;
    fakeHost().wave.bytesPerFrame = 4;
    EXPECT_EQ(XfmDo(&fakeHost().wave), 0);
    expectOneError("Select only one channel of stereo data.");
    std::vector<std::string> expected = {"read 0 400", "status Looking for Click(s) in the Selection", "finish"};
    EXPECT_EQ(fakeHost().events, expected);
    EXPECT_EQ(clickParams.c1, 6) << "settings were loaded";
    EXPECT_EQ(readIni(), "[Coeffs]\r\nC1=6\r\n") << "nothing is saved";
}

TEST_F(RunChecksTest, FramesNarrowerThanASampleAreRefused)
{
    for (uint16_t bytes : {0, 1}) {
        fakeHost().boxes.clear();
        fakeHost().wave.bytesPerFrame = bytes;
        EXPECT_EQ(XfmDo(&fakeHost().wave), 0);
        expectOneError("Can't handle sample frames of less than 2 bytes.");
        EXPECT_TRUE(fakeHost().events.empty());
    }
}

TEST_F(RunChecksTest, TransfersBeyondThirtyTwoBitsAreRefusedWithoutSetup)
{
    struct Row {
        uint32_t selStart, selEnd;
        uint16_t bytesPerFrame;
    } rows[] = {
        {10, 8, 2},                    // wraps to a count of 2^32 - 1
        {0, 0x7FFFFFFF, 2},            // 2^31 samples of 2 bytes
        {0, 0x40000000, 4},
        {0xFFFFFF00u, 0xFFFFFFFFu, 2}, // the offset alone does not fit
    };
    for (const Row &r : rows) {
        fakeHost().boxes.clear();
        fakeHost().wave.selStart = r.selStart;
        fakeHost().wave.selEnd = r.selEnd;
        fakeHost().wave.bytesPerFrame = r.bytesPerFrame;
        EXPECT_EQ(XfmDo(&fakeHost().wave), 0) << r.selStart << ".." << r.selEnd;
        expectOneError("Sorry, the selection is too long.");
        EXPECT_TRUE(fakeHost().events.empty());
    }
}

TEST_F(RunChecksTest, WideFramesKeepTheHostsByteOffsets)
{
    setUpFakeHost(std::vector<int16_t>(400, 0), 30, 99);
    fakeHost().wave.bytesPerFrame = 4;
    EXPECT_EQ(XfmDo(&fakeHost().wave), 1);
    EXPECT_EQ(fakeHost().events.front(), "read 120 280");
}

} // namespace
