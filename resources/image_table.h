// Every PNG image of the plug-in: resource number, size in pixels and number of frames stacked
// vertically. The artwork generator draws from this table, the build checks the committed
// files against it and the tests check every build's embedded images against it.
#pragma once

struct ArtworkImage {
    int number;
    int width;
    int height;
    int frames;
};

// Rows grouped by panel, one comment per group: kept out of the formatter.
// clang-format off
inline constexpr ArtworkImage artworkImages[] = {
    // Front panels
    {10000, 586, 169, 1}, {41001, 586, 169, 1}, {42001, 586, 169, 1},
    {10001, 32, 19, 1},   // trim handle
    {10002, 43, 28, 2},   // process
    {10005, 87, 48, 2},   {41005, 87, 48, 2},   {42005, 87, 48, 2},   // LR/MS
    {40011, 66, 38, 2},   {40012, 66, 38, 2},   {41011, 66, 38, 2},   {41012, 66, 38, 2},
    {42011, 66, 38, 2},   {42012, 66, 38, 2},   // LR/MS indicators
    {10006, 86, 72, 3},   {41006, 86, 72, 3},   {42006, 86, 72, 3},   // hold switch
    {10010, 86, 33, 3},   // scope selector, front
    {10013, 133, 22, 1},  // reference display
    {10015, 149, 69, 3},  // meter selector
    {10025, 11, 22, 2},   // strips / show toggles
    {989, 10, 42, 3},     // manual button
    // Meter views
    {40007, 250, 610, 5}, // VU face, five backlight levels
    {40008, 20, 60, 3},   // over LED
    // Settings panels
    {40000, 586, 261, 1}, {41000, 586, 261, 1}, {42000, 585, 261, 1},
    {10003, 43, 2091, 51}, // knob strip
    {10014, 581, 33, 3},  // scope selector, settings
    {10016, 586, 33, 3},  // scope indicator, settings
    {40001, 65, 82, 2},   // VU needle type
    {40002, 70, 123, 3},  {41008, 70, 123, 3},  {42003, 70, 201, 3},  // M/S type
    {40003, 54, 194, 2},  {41007, 54, 194, 2},  {42007, 54, 194, 2},  // precise peaks
    {41003, 54, 114, 2},  // RMS over threshold base
    // Channel strips
    {31000, 586, 53, 1},  {31100, 586, 53, 1},  {31200, 586, 53, 1},  // filter, expanded
    {34000, 586, 39, 1},  {34100, 586, 39, 1},  {34200, 586, 39, 1},  // label, expanded
    {40100, 586, 13, 1},  {41100, 586, 13, 1},  {42100, 586, 13, 1},  // collapsed strips
    {10020, 31, 90, 3},   // filters in, expanded
    {10103, 12, 36, 3},   // filters in, collapsed
    {10021, 36, 24, 2},   // filter in/out
    {31001, 29, 48, 2},   // filter slope
    {10024, 19, 32, 1},   // frequency handle
    {10102, 33, 11, 1},   // "FILTERS" title
    {10100, 27, 11, 1},   // "LABEL" title
    {34001, 26, 120, 3},  // lag display layers
    {10008, 47, 33, 1},   // tape-label marker
};
// clang-format on

inline constexpr int artworkImageCount = int(sizeof(artworkImages) / sizeof(artworkImages[0]));
