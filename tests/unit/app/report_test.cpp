// The review report: a picture read back pixel for pixel after the PNG round trip, the index rows with
// the candidate's time and position, the view framed with its scales, and a repair drawn before and
// after.
#include <gtest/gtest.h>
#include <cmath>
#include <fstream>
#include <sstream>
#include "app/report.h"
#include "support/fake_host.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

class Report : public PluginTest {
protected:
    void TearDown() override
    {
        reportClose();
        PluginTest::TearDown();
    }
};

static std::string fileText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(Report, PicturesKeepEveryColourChannelInItsPlace)
{
    const int32_t width = 5, height = 3;
    std::vector<uint32_t> pixels;
    for (int32_t i = 0; i < width * height; i++)
        pixels.push_back((uint32_t)(i * 17) | (uint32_t)(255 - i) << 8 | (uint32_t)(i * 3) << 16);
    std::string path = profileDir + "/p.png";
    ASSERT_TRUE(writePngFile(path, pixels, width, height));
    int w = 0, h = 0, channels = 0;
    unsigned char *rgb = stbi_load(path.c_str(), &w, &h, &channels, 3);
    ASSERT_NE(rgb, nullptr);
    ASSERT_EQ(w, width);
    ASSERT_EQ(h, height);
    for (int32_t i = 0; i < width * height; i++) {
        uint32_t got = (uint32_t)rgb[i * 3] | (uint32_t)rgb[i * 3 + 1] << 8 | (uint32_t)rgb[i * 3 + 2] << 16;
        EXPECT_EQ(got, pixels[(size_t)i]) << "pixel " << i << " (red is the low byte of a COLORREF)";
    }
    stbi_image_free(rgb);
    EXPECT_FALSE(writePngFile(path, pixels, width, height + 1)) << "a size that does not fit the pixels is refused";
}

TEST_F(Report, IndexRowsNameThePositionAnswerAndPicture)
{
    EXPECT_EQ(reportPosition("Possible click found at sample 8001  (11893/76)\nBase"), "8001");
    EXPECT_EQ(reportPosition("Best guess of the click found at sample 21\nBase"), "21");
    EXPECT_EQ(reportPosition("no position here"), "");
    std::string error, dir = profileDir + "/report/nested";
    ASSERT_TRUE(reportOpen(dir, &error)) << error;
    ReviewPictureFacts facts = {1, 1, 1, 44100, 0, 1000, 151, 95, 1};
    std::string picture = reportPicture(facts, std::vector<uint32_t>(4, 0x00404040u), 2, 2);
    EXPECT_EQ(picture, dir + "/review-1.png");
    reportEntry({1, 1, 1, 44100, "Possible click", "Possible click found at sample 151 | x\nsecond line", 6, picture});
    reportEntry({2, 2, 2, 44100, "Possible click (Pass 2)", "Best guess of the click found at sample 44101", 1, ""});
    std::string index = fileText(dir + "/index.md");
    EXPECT_NE(index.find("| <a id=\"review-1\"></a>1 | 0:00:00.003 | 1 | 1 | 151 | Possible click found at sample 151 "
                         "\\| x second line | repair (6) | ![review 1](review-1.png) |"),
              std::string::npos)
        << index;
    EXPECT_NE(index.find("| <a id=\"review-2\"></a>2 | 0:00:01.000 | 2 | 2 | 44101 | Best guess of the click found at "
                         "sample 44101 | stop (1) | (none) |"),
              std::string::npos)
        << index;
}

// The view's own pixels sit unchanged inside the frame, at the same place whatever the view's size,
// with the title above, the amplitude scale to the left and the time axis and legend below.
TEST_F(Report, ReviewPictureFramesTheViewUnchanged)
{
    const int32_t sizes[][2] = {{402, 183}, {536, 226}};
    for (const auto &size : sizes) {
        int32_t width = size[0], height = size[1];
        std::vector<uint32_t> view((size_t)width * (size_t)height);
        for (size_t i = 0; i < view.size(); i++)
            view[i] = (uint32_t)(i * 2654435761u) & 0x00FFFFFFu;
        ReviewPictureFacts facts = {3, 2, 1, 48000, 1000, 500000, 1000 + 96001, 95, 4};
        Canvas picture;
        frameReviewPicture(facts, view, width, height, &picture);
        ASSERT_EQ(picture.width, VIEW_FRAME_LEFT + width + VIEW_FRAME_RIGHT);
        ASSERT_EQ(picture.height, VIEW_FRAME_TOP + height + VIEW_FRAME_BOTTOM);
        for (int32_t y = 0; y < height; y++)
            for (int32_t x = 0; x < width; x++)
                ASSERT_EQ(picture.pixels[(size_t)(y + VIEW_FRAME_TOP) * (size_t)picture.width + (size_t)(x + VIEW_FRAME_LEFT)],
                          view[(size_t)y * (size_t)width + (size_t)x])
                    << "view pixel " << x << "," << y;
        auto inkIn = [&](int32_t left, int32_t top, int32_t right, int32_t bottom) {
            int32_t ink = 0;
            for (int32_t y = top; y < bottom; y++)
                for (int32_t x = left; x < right; x++)
                    ink += picture.pixels[(size_t)y * (size_t)picture.width + (size_t)x] == 0x00202020u;
            return ink;
        };
        EXPECT_GT(inkIn(0, 0, picture.width, VIEW_FRAME_TOP - 2), 100) << "the title";
        EXPECT_GT(inkIn(0, VIEW_FRAME_TOP, VIEW_FRAME_LEFT - 2, VIEW_FRAME_TOP + height), 50) << "the amplitude scale";
        EXPECT_GT(inkIn(0, VIEW_FRAME_TOP + height + 2, picture.width, picture.height), 400) << "the time axis and legend";
    }
}

TEST_F(Report, RepairPictureShowsBothCurvesAndShadesTheRepairedSamples)
{
    RepairPictureFacts facts = {1, 44100, 1000, 1009, 950, {}, {}};
    for (uint32_t f = 950; f < 1060; f++) {
        double after = 0.05 * std::sin(f * 0.05);
        facts.after.push_back(after);
        facts.before.push_back(f >= 1000 && f <= 1009 ? after + 0.12 : after);
    }
    Canvas picture;
    drawRepairPicture(facts, &picture);
    auto count = [&](uint32_t colour, int32_t left, int32_t right) {
        int32_t n = 0;
        for (int32_t y = VIEW_FRAME_TOP; y < picture.height - VIEW_FRAME_BOTTOM; y++)
            for (int32_t x = left; x < right; x++)
                n += picture.pixels[(size_t)y * (size_t)picture.width + (size_t)x] == colour;
        return n;
    };
    int32_t plotWidth = picture.width - VIEW_FRAME_LEFT - VIEW_FRAME_RIGHT;
    // Frames 1000..1009 of 950..1059 lie between 5/11 and 6/11 of the plot's width.
    int32_t spanLeft = VIEW_FRAME_LEFT + plotWidth * 50 / 110, spanRight = VIEW_FRAME_LEFT + plotWidth * 60 / 110;
    EXPECT_GT(count(0x003C3CE6u, spanLeft, spanRight + 1), 10) << "the curve before shows where it differs";
    EXPECT_EQ(count(0x003C3CE6u, VIEW_FRAME_LEFT, spanLeft - 2), 0) << "and nowhere else";
    EXPECT_GT(count(0x00FFFFFFu, VIEW_FRAME_LEFT, VIEW_FRAME_LEFT + plotWidth), 100) << "the curve after";
    EXPECT_GT(count(0x00603018u, spanLeft, spanRight), 100) << "the repaired samples are shaded";
    EXPECT_EQ(count(0x00603018u, VIEW_FRAME_LEFT, spanLeft - 2), 0);
}
