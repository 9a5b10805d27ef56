// Every image of the table inside this build at every scale: present by number, a PNG of the
// right size (the 1x size times the scale) whose height holds its frames, and byte for byte the
// committed file. Windows builds carry them as module resources of type "PNG", "PNG2X", "PNG3X"
// (the test program and the plug-in alike), Linux builds as the table generated from
// resources/png.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <cstdio>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "controls/image_numbers.h"
#include "platform/png_resource.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct Bytes {
    const unsigned char *data = nullptr;
    size_t size = 0;
};

// 1x and every higher scale.
std::vector<int> everyScale()
{
    std::vector<int> scales{1};
    scales.insert(scales.end(), std::begin(kPngHigherScales), std::end(kPngHigherScales));
    return scales;
}

#ifdef _WIN32
Bytes moduleResource(HMODULE module, int number, int scale = 1)
{
    const std::wstring type = scale == 1 ? L"PNG" : L"PNG" + std::to_wstring(scale) + L"X";
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(number), type.c_str());
    if (!info)
        return {};
    HGLOBAL handle = LoadResource(module, info);
    const void *data = handle ? LockResource(handle) : nullptr;
    return {static_cast<const unsigned char *>(data), data ? size_t(SizeofResource(module, info)) : 0};
}
Bytes embedded(int number, int scale = 1) { return moduleResource(GetModuleHandleW(nullptr), number, scale); }
#else
}  // namespace
// The table generated from resources/png.
extern const PngResourceEntry zemPngResources[];
extern const size_t zemPngResourceCount;
namespace {
Bytes embedded(int number, int scale = 1)
{
    for (size_t i = 0; i < zemPngResourceCount; ++i)
        if (zemPngResources[i].number == number && zemPngResources[i].scale == scale)
            return {zemPngResources[i].data, zemPngResources[i].size};
    return {};
}
#endif

uint32_t bigEndian(const unsigned char *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Checks signature and header; answers the size from the IHDR chunk.
::testing::AssertionResult isPngOfSize(const Bytes &b, int width, int height)
{
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (!b.data || b.size < 33)
        return ::testing::AssertionFailure() << "missing or truncated (" << b.size << " bytes)";
    if (std::memcmp(b.data, signature, 8) != 0 || std::memcmp(b.data + 12, "IHDR", 4) != 0)
        return ::testing::AssertionFailure() << "not a PNG";
    const uint32_t w = bigEndian(b.data + 16), h = bigEndian(b.data + 20);
    if (int(w) != width || int(h) != height)
        return ::testing::AssertionFailure() << w << " x " << h << ", expected " << width << " x " << height;
    return ::testing::AssertionSuccess();
}

std::string committedFile(int number, int scale = 1)
{
    // The source tree's absolute path (under Wine a Unix path names drive Z:).
    char name[48];
    if (scale == 1)
        std::snprintf(name, sizeof name, "/resources/png/%05d.png", number);
    else
        std::snprintf(name, sizeof name, "/resources/png/%05d@%dx.png", number, scale);
    return std::string(ZEM_SOURCE_DIR) + name;
}

std::vector<unsigned char> readFile(const std::string &path)
{
    std::vector<unsigned char> bytes;
    if (FILE *f = std::fopen(path.c_str(), "rb")) {
        unsigned char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return bytes;
}

TEST(PngResources, EveryImageIsEmbeddedWithItsSizeAndFrames)
{
    std::set<int> numbers;
    for (const ArtworkImage &image : artworkImages) {
        SCOPED_TRACE(image.number);
        EXPECT_TRUE(numbers.insert(image.number).second) << "listed twice";
        EXPECT_EQ(image.height % image.frames, 0) << "frames are not equal slices";
        EXPECT_TRUE(isPngOfSize(embedded(image.number), image.width, image.height));
    }
    EXPECT_EQ(numbers.size(), 56u);
    EXPECT_EQ(embedded(12345).data, nullptr);
}

// Every image has a set at each higher scale, exactly that many times its 1x size, found by the
// same number; a scale without sets finds nothing.
TEST(PngResources, EveryImageHasItsHigherSetsAtTheirSizes)
{
    ASSERT_GE(std::size(kPngHigherScales), 1u);
    EXPECT_EQ(kPngHigherScales[0], 2);
    for (int scale : everyScale()) {
        for (const ArtworkImage &image : artworkImages) {
            SCOPED_TRACE(testing::Message() << image.number << " at " << scale << "x");
            EXPECT_TRUE(isPngOfSize(embedded(image.number, scale), image.width * scale, image.height * scale));
            const PngBytes found = findPngResource(image.number, scale);
            EXPECT_EQ(found.data, embedded(image.number, scale).data);
        }
    }
    EXPECT_EQ(findPngResource(kImageKnobStrip, 4).data, nullptr);
    EXPECT_EQ(findPngResource(kImageKnobStrip, 0).data, nullptr);
}

TEST(PngResources, EmbeddedBytesAreTheCommittedFiles)
{
    for (int scale : everyScale()) {
        for (const ArtworkImage &image : artworkImages) {
            SCOPED_TRACE(testing::Message() << image.number << " at " << scale << "x");
            const Bytes b = embedded(image.number, scale);
            const std::vector<unsigned char> file = readFile(committedFile(image.number, scale));
            ASSERT_FALSE(file.empty()) << committedFile(image.number, scale);
            ASSERT_EQ(b.size, file.size());
            EXPECT_EQ(std::memcmp(b.data, file.data(), file.size()), 0);
        }
    }
}

#if defined(_WIN32) && defined(ZEM_PLUGIN_FILE)
TEST(PngResources, ThePluginModuleCarriesEveryImage)
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path(exe);
    path = path.substr(0, path.find_last_of(L"\\/") + 1);
    const std::string file = ZEM_PLUGIN_FILE;
    path += std::wstring(file.begin(), file.end());
    HMODULE plugin = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(plugin, nullptr);
    for (int scale : everyScale()) {
        for (const ArtworkImage &image : artworkImages) {
            SCOPED_TRACE(testing::Message() << image.number << " at " << scale << "x");
            EXPECT_TRUE(
                isPngOfSize(moduleResource(plugin, image.number, scale), image.width * scale, image.height * scale));
        }
    }
    FreeLibrary(plugin);
}
#endif

}  // namespace

namespace {

bool inImageTable(int number)
{
    for (const ArtworkImage &image : artworkImages)
        if (image.number == number)
            return true;
    return false;
}

}  // namespace

TEST(PngResources, EveryNamedImageNumberIsAnImageOfTheTable)
{
    const int named[] = {kImageVUFront,
                         kImageRMSFront,
                         kImagePPMFront,
                         kImageTrimHandle,
                         kImageProcess,
                         kImageVULRMS,
                         kImageRMSLRMS,
                         kImagePPMLRMS,
                         kImageVUHold,
                         kImageRMSHold,
                         kImagePPMHold,
                         kImageFrontScope,
                         kImageReferenceDisplay,
                         kImageMeterSelector,
                         kImageStripToggle,
                         kImageManualButton,
                         kImageKnobStrip,
                         kImageSettingsScope,
                         kImageSettingsScopeIndicator,
                         kImageFiltersInExpanded,
                         kImageFiltersInCollapsed,
                         kImageFilterInOut,
                         kImageFilterSlope,
                         kImageFrequencyHandle,
                         kImageFiltersTitle,
                         kImageLabelTitle,
                         kImageLagDisplay,
                         kImageTapeMarker};
    for (int number : named)
        EXPECT_TRUE(inImageTable(number)) << number;
}

TEST(PngResources, TheStripBackgroundsOfAMeterTypeAreFoundByTheirStep)
{
    const int families[][2] = {{kImageFilterStripExpanded, kImageStripExpandedStep},
                               {kImageLabelStripExpanded, kImageStripExpandedStep},
                               {kImageStripCollapsed, kImageStripCollapsedStep}};
    for (const auto &family : families) {
        const ArtworkImage *vu = artworkImage(family[0]);
        ASSERT_NE(vu, nullptr) << family[0];
        for (int type = 1; type < 3; ++type) {
            const ArtworkImage *other = artworkImage(family[0] + type * family[1]);
            ASSERT_NE(other, nullptr) << family[0] << " type " << type;
            EXPECT_EQ(other->width, vu->width);
            EXPECT_EQ(other->height, vu->height);
            EXPECT_EQ(other->frames, vu->frames);
        }
    }
    EXPECT_EQ(artworkImage(kImageRMSFilterStripExpanded)->name, std::string("kImageRMSFilterStripExpanded"));
    EXPECT_EQ(imageFrameHeight(kImageKnobStrip), 41);
    EXPECT_EQ(imageFrameHeight(kImagePPMMSType), 67);
    EXPECT_EQ(imageFrameHeight(12345), 0);
}

#ifndef _WIN32
TEST(PngResources, TheLinuxBuildEmbedsExactlyTheImagesOfTheTable)
{
    EXPECT_EQ(zemPngResourceCount, size_t(artworkImageCount) * everyScale().size());
    for (size_t i = 0; i < zemPngResourceCount; ++i)
        EXPECT_TRUE(inImageTable(zemPngResources[i].number)) << zemPngResources[i].number;
}
#endif
