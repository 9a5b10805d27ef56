// The numbers of the plug-in's PNG images (resource type "PNG"), by what they show. The sizes
// and frame counts are in resources/image_table.h. Thread: any (constants).
#pragma once

enum ImageNumber {
    // Front panels
    kImageVUFront = 10000,
    kImageRMSFront = 41001,
    kImagePPMFront = 42001,
    kImageTrimHandle = 10001,
    kImageProcess = 10002,
    kImageVULRMS = 10005,
    kImageRMSLRMS = 41005,
    kImagePPMLRMS = 42005,
    kImageVULRMSLeft = 40011,
    kImageVULRMSRight = 40012,
    kImageRMSLRMSLeft = 41011,
    kImageRMSLRMSRight = 41012,
    kImagePPMLRMSLeft = 42011,
    kImagePPMLRMSRight = 42012,
    kImageVUHold = 10006,
    kImageRMSHold = 41006,
    kImagePPMHold = 42006,
    kImageFrontScope = 10010,
    kImageReferenceDisplay = 10013,
    kImageMeterSelector = 10015,
    kImageStripToggle = 10025,
    kImageManualButton = 989,
    // Needle views
    kImageVUFace = 40007,
    kImageOverLED = 40008,
    // Settings panels
    kImageKnobStrip = 10003,
    kImageSettingsScope = 10014,
    kImageSettingsScopeIndicator = 10016,
    // Channel strips
    kImageFiltersInExpanded = 10020,
    kImageFiltersInCollapsed = 10103,
    kImageFilterInOut = 10021,
    kImageFilterSlope = 31001,
    kImageFrequencyHandle = 10024,
    kImageFiltersTitle = 10102,
    kImageLabelTitle = 10100,
    kImageLagDisplay = 34001,
    kImageTapeMarker = 10008,
};
