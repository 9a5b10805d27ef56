// The pictures our CLAP host writes of a window it read back (tools/host/rgb_png.h) are PNG files
// another reader takes pixel for pixel, also when the rows need more than one stored block.
#include <gtest/gtest.h>

#include <cstdio>

#include "rgb_png.h"

#ifndef _WIN32
#include <cairo.h>
#endif

namespace {

TEST(ClapHostPicture, WindowPicturesReadBackPixelForPixel)
{
    const int width = 300, height = 250;  // 225 kB of rows: four stored blocks
    std::vector<uint32_t> pixels((size_t)width * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (uint32_t)(i * 2654435761u) & 0x00FFFFFFu;
    const std::vector<unsigned char> png = encodeRgbPng(pixels, width, height);
    ASSERT_GT(png.size(), (size_t)width * height * 3);
    EXPECT_EQ(encodeRgbPng(pixels, width, height), png) << "the same bytes every time";
#ifndef _WIN32
    const std::string path = ::testing::TempDir() + "clap-host-picture.png";
    ASSERT_TRUE(writeRgbPng(path, pixels, width, height));
    cairo_surface_t *read = cairo_image_surface_create_from_png(path.c_str());
    std::remove(path.c_str());
    ASSERT_EQ(cairo_surface_status(read), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_image_surface_get_width(read), width);
    ASSERT_EQ(cairo_image_surface_get_height(read), height);
    const unsigned char *data = cairo_image_surface_get_data(read);
    const int stride = cairo_image_surface_get_stride(read);
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            wrong += (*(const uint32_t *)(data + y * stride + x * 4) & 0x00FFFFFFu) != pixels[(size_t)y * width + x];
    EXPECT_EQ(wrong, 0);
    cairo_surface_destroy(read);
#endif
    EXPECT_FALSE(writeRgbPng(::testing::TempDir() + "none.png", pixels, width + 1, height));
}

}  // namespace
