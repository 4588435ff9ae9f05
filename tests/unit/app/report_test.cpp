// The review report: a picture read back pixel for pixel after the PNG round trip, the index rows with
// the candidate's position, and the report of a scripted run holding the view as the canvas has it.
#include <gtest/gtest.h>
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
    std::string picture = reportPicture(1, std::vector<uint32_t>(4, 0x00404040u), 2, 2);
    EXPECT_EQ(picture, dir + "/review-1.png");
    reportEntry(1, "Possible click", "Possible click found at sample 151 | x\nsecond line", 6, picture);
    reportEntry(2, "Possible click (Pass 2)", "Best guess of the click found at sample 9", 1, "");
    std::string index = fileText(dir + "/index.md");
    EXPECT_NE(index.find("| 1 | 151 | Possible click | Possible click found at sample 151 \\| x second line | "
                         "repair (6) | ![review 1](review-1.png) |"),
              std::string::npos)
        << index;
    EXPECT_NE(index.find("| 2 | 9 | Possible click (Pass 2) | Best guess of the click found at sample 9 | stop (1) | "
                         "(none) |"),
              std::string::npos)
        << index;
}
