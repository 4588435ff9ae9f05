// PNG pictures of the report, through the stb image writer (this file holds its one implementation).
// The view's COLORREF pixels become RGB rows. No state.
#include <cstdio>
#include "report.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO_LONG_NAMES
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

bool writePngFile(const std::string &path, const std::vector<uint32_t> &pixels, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0 || pixels.size() != (size_t)width * (size_t)height)
        return false;
    std::vector<unsigned char> rgb(pixels.size() * 3);
    for (size_t i = 0; i < pixels.size(); i++) {
        uint32_t colour = pixels[i];
        rgb[i * 3] = (unsigned char)(colour & 0xFF);
        rgb[i * 3 + 1] = (unsigned char)(colour >> 8 & 0xFF);
        rgb[i * 3 + 2] = (unsigned char)(colour >> 16 & 0xFF);
    }
    return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}
