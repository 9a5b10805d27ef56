// Every PNG image of the plug-in (resource type "PNG"), one row each: its name in the code, its
// resource number, its size in pixels and its number of frames stacked vertically (frame 0 on
// top). This is the only list: the controls name the images by it, the artwork generator draws
// it and writes the module resource script from it, the Linux build embeds the files it names
// (resources/png_table.cmake reads the rows) and the tests check every build's images against it.
// The order of the rows is the order of the resource script. [any-thread] (constants).
#pragma once

// Rows grouped by panel, one comment per group: kept out of the formatter.
// clang-format off
#define ZEM_IMAGES(IMAGE) \
    /* Front panels */ \
    IMAGE(kImageVUFront, 10000, 586, 169, 1) \
    IMAGE(kImageRMSFront, 41001, 586, 169, 1) \
    IMAGE(kImagePPMFront, 42001, 586, 169, 1) \
    IMAGE(kImageTrimHandle, 10001, 32, 19, 1) \
    IMAGE(kImageProcess, 10002, 43, 28, 2) \
    IMAGE(kImageVULRMS, 10005, 87, 48, 2) \
    IMAGE(kImageRMSLRMS, 41005, 87, 48, 2) \
    IMAGE(kImagePPMLRMS, 42005, 87, 48, 2) \
    IMAGE(kImageVULRMSLeft, 40011, 66, 38, 2) \
    IMAGE(kImageVULRMSRight, 40012, 66, 38, 2) \
    IMAGE(kImageRMSLRMSLeft, 41011, 66, 38, 2) \
    IMAGE(kImageRMSLRMSRight, 41012, 66, 38, 2) \
    IMAGE(kImagePPMLRMSLeft, 42011, 66, 38, 2) \
    IMAGE(kImagePPMLRMSRight, 42012, 66, 38, 2) \
    IMAGE(kImageVUHold, 10006, 86, 72, 3) \
    IMAGE(kImageRMSHold, 41006, 86, 72, 3) \
    IMAGE(kImagePPMHold, 42006, 86, 72, 3) \
    IMAGE(kImageFrontScope, 10010, 86, 33, 3) \
    IMAGE(kImageReferenceDisplay, 10013, 133, 22, 1) \
    IMAGE(kImageMeterSelector, 10015, 149, 69, 3) \
    IMAGE(kImageStripToggle, 10025, 11, 22, 2) \
    IMAGE(kImageManualButton, 989, 10, 42, 3) \
    /* Needle views: the VU face in five backlight levels, the over LED */ \
    IMAGE(kImageVUFace, 40007, 250, 610, 5) \
    IMAGE(kImageOverLED, 40008, 20, 60, 3) \
    /* Settings panels */ \
    IMAGE(kImageVUSettings, 40000, 586, 261, 1) \
    IMAGE(kImageRMSSettings, 41000, 586, 261, 1) \
    IMAGE(kImagePPMSettings, 42000, 585, 261, 1) \
    IMAGE(kImageKnobStrip, 10003, 43, 2091, 51) \
    IMAGE(kImageSettingsScope, 10014, 581, 33, 3) \
    IMAGE(kImageSettingsScopeIndicator, 10016, 586, 33, 3) \
    IMAGE(kImageVUNeedleType, 40001, 65, 82, 2) \
    IMAGE(kImageVUMSType, 40002, 70, 123, 3) \
    IMAGE(kImageRMSMSType, 41008, 70, 123, 3) \
    IMAGE(kImagePPMMSType, 42003, 70, 201, 3) \
    IMAGE(kImageVUPrecise, 40003, 54, 194, 2) \
    IMAGE(kImageRMSPrecise, 41007, 54, 194, 2) \
    IMAGE(kImagePPMPrecise, 42007, 54, 194, 2) \
    IMAGE(kImageRMSOverBase, 41003, 54, 114, 2) \
    /* Channel strips: the backgrounds of VU, RMS and PPM, then the controls */ \
    IMAGE(kImageFilterStripExpanded, 31000, 586, 53, 1) \
    IMAGE(kImageRMSFilterStripExpanded, 31100, 586, 53, 1) \
    IMAGE(kImagePPMFilterStripExpanded, 31200, 586, 53, 1) \
    IMAGE(kImageLabelStripExpanded, 34000, 586, 39, 1) \
    IMAGE(kImageRMSLabelStripExpanded, 34100, 586, 39, 1) \
    IMAGE(kImagePPMLabelStripExpanded, 34200, 586, 39, 1) \
    IMAGE(kImageStripCollapsed, 40100, 586, 13, 1) \
    IMAGE(kImageRMSStripCollapsed, 41100, 586, 13, 1) \
    IMAGE(kImagePPMStripCollapsed, 42100, 586, 13, 1) \
    IMAGE(kImageFiltersInExpanded, 10020, 31, 90, 3) \
    IMAGE(kImageFiltersInCollapsed, 10103, 12, 36, 3) \
    IMAGE(kImageFilterInOut, 10021, 36, 24, 2) \
    IMAGE(kImageFilterSlope, 31001, 29, 48, 2) \
    IMAGE(kImageFrequencyHandle, 10024, 19, 32, 1) \
    IMAGE(kImageFiltersTitle, 10102, 33, 11, 1) \
    IMAGE(kImageLabelTitle, 10100, 27, 11, 1) \
    IMAGE(kImageLagDisplay, 34001, 26, 120, 3) /* three layers, not frames: see the lag display */ \
    IMAGE(kImageTapeMarker, 10008, 47, 33, 1)
// clang-format on

enum ImageNumber {
#define ZEM_IMAGE_NUMBER(name, number, width, height, frames) name = number,
    ZEM_IMAGES(ZEM_IMAGE_NUMBER)
#undef ZEM_IMAGE_NUMBER
    // The channel strips' backgrounds of meter type t (0 VU, 1 RMS, 2 PPM) are the VU image's
    // number plus t steps.
    kImageStripExpandedStep = 100,
    kImageStripCollapsedStep = 1000,
};

static_assert(kImageRMSFilterStripExpanded == kImageFilterStripExpanded + kImageStripExpandedStep &&
                  kImagePPMFilterStripExpanded == kImageFilterStripExpanded + 2 * kImageStripExpandedStep &&
                  kImageRMSLabelStripExpanded == kImageLabelStripExpanded + kImageStripExpandedStep &&
                  kImagePPMLabelStripExpanded == kImageLabelStripExpanded + 2 * kImageStripExpandedStep &&
                  kImageRMSStripCollapsed == kImageStripCollapsed + kImageStripCollapsedStep &&
                  kImagePPMStripCollapsed == kImageStripCollapsed + 2 * kImageStripCollapsedStep,
              "the strip backgrounds of a meter type are found by their step");

struct ArtworkImage {
    int number;
    int width;
    int height;
    int frames;
    const char *name;
};

inline constexpr ArtworkImage artworkImages[] = {
#define ZEM_IMAGE_ROW(name, number, width, height, frames) {number, width, height, frames, #name},
    ZEM_IMAGES(ZEM_IMAGE_ROW)
#undef ZEM_IMAGE_ROW
};

inline constexpr int artworkImageCount = int(sizeof(artworkImages) / sizeof(artworkImages[0]));

// The row of an image number (null for a number that is no image).
constexpr const ArtworkImage *artworkImage(int number)
{
    for (const ArtworkImage &image : artworkImages)
        if (image.number == number)
            return &image;
    return nullptr;
}

// The height of one frame of an image (0 for a number that is no image).
constexpr int imageFrameHeight(int number)
{
    const ArtworkImage *image = artworkImage(number);
    return image ? image->height / image->frames : 0;
}
