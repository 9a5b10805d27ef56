// The layout of the three settings panels, one table per meter type: where every setting's
// control and text label sits, what the control is made of and how it is tuned, and where the
// version label sits. The panels build their controls from it, the artwork generator prints the
// captions, marks and label wells of the backgrounds at these places and draws the manual's
// pictures with it, and the tests compare what the panels build against it. Plain numbers only,
// so that the generator can include it without the view library. [any-thread] (constants).
#pragma once

#include "controls/image_numbers.h"
#include "params/parameter_table.h"

// A rectangle in panel pixels, right and bottom excluded. All 0: none.
struct LayoutRect {
    int left, top, right, bottom;

    constexpr bool isEmpty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    constexpr double centreX() const { return (left + right) / 2.0; }
};

// What a settings control is made of.
enum class SettingControlKind {
    Knob,           // CAnimKnob4
    VuBackLitKnob,  // the drawing variants of the knob
    VuLedRefKnob,
    VuOverLedKnob,
    RmsLedRefKnob,
    RmsOverLedKnob,
    PpmLedRefKnob,
    PpmOverLedKnob,
    Switch,  // CZEMHorizontalSwitch, three positions
    Button,  // CZEMOnOffButton
};

// Every knob is one frame of the knob strip.
inline constexpr int kSettingKnobWidth = 43;
inline constexpr int kSettingKnobHeight = 41;
inline constexpr int kSettingKnobFrames = 51;

// One row of a panel's table: the control of one setting and its text label, if any.
struct SettingControlRow {
    int index;
    SettingControlKind kind;
    int left, top;
    // Knobs: the reset target, the drag in pixels over the full range, the Shift fine factor and
    // the step of one wheel notch.
    float defaultValue;
    float dragRange;
    float fineFactor;
    float wheelStep;
    int bitmap;               // switches and buttons; knobs use the knob strip
    int frames;               // of that bitmap
    LayoutRect label;         // all 0: no label
    const char *placeholder;  // shown until the engine's text replaces it

    constexpr bool isKnob() const { return kind != SettingControlKind::Switch && kind != SettingControlKind::Button; }
    // The image the control shows and its width.
    constexpr int image() const { return isKnob() ? kImageKnobStrip : bitmap; }
    constexpr int width() const
    {
        return isKnob() ? kSettingKnobWidth : artworkImage(bitmap) ? artworkImage(bitmap)->width : 0;
    }
};

// One settings panel: its background, its rows and the version label.
struct SettingsPanelLayout {
    MeterType type;
    int background;  // image number
    const SettingControlRow *settings;
    int count;
    LayoutRect versionLabel;

    const SettingControlRow *begin() const { return settings; }
    const SettingControlRow *end() const { return settings + count; }
    // The row of a setting index (null when the panel has none).
    constexpr const SettingControlRow *row(int index) const
    {
        for (int i = 0; i < count; ++i)
            if (settings[i].index == index)
                return &settings[i];
        return nullptr;
    }
};

namespace settings_panel_layout_detail {

using K = SettingControlKind;

// index, kind, position, default, drag pixels, fine, wheel, bitmap, frames, label, placeholder
inline constexpr SettingControlRow kVUSettings[] = {
    {83, K::Knob, 24, 36, 0.25f, 200, 10, 1.f / 24, 0, 0, {14, 79, 76, 93}, "-18 dBFS"},
    {84, K::Knob, 105, 35, 0.5f, 200, 10, 1.f / 12, 0, 0, {100, 78, 152, 92}, "300 ms"},
    {85, K::Knob, 64, 111, 0.5f, 200, 10, 1.f / 12, 0, 0, {59, 153, 111, 167}, "0.1 s"},
    {88, K::VuBackLitKnob, 195, 35, 0.5f, 100, 1, 1.f / 4, 0, 0, {0, 0, 0, 0}, nullptr},
    {90, K::VuLedRefKnob, 434, 35, 1.f, 100, 1, 1.f / 3, 0, 0, {0, 0, 0, 0}, nullptr},
    {89, K::VuOverLedKnob, 475, 111, 0.22f, 100, 1, 1.f / 9, 0, 0, {0, 0, 0, 0}, nullptr},
    {87, K::Switch, 215, 127, 0, 0, 0, 0, kImageVUMSType, 3, {0, 0, 0, 0}, nullptr},
    {86, K::Button, 140, 127, 0, 0, 0, 0, kImageVUNeedleType, 2, {0, 0, 0, 0}, nullptr},
    {91, K::Button, 532, 12, 0, 0, 0, 0, kImageVUPrecise, 2, {0, 0, 0, 0}, nullptr},
};

inline constexpr SettingControlRow kRMSSettings[] = {
    {72, K::Knob, 54, 35, 0.667f, 200, 10, 1.f / 30, 0, 0, {44, 77, 106, 91}, "0 dBFS"},
    {74, K::Knob, 147, 35, 0.5f, 200, 10, 1.f / 30, 0, 0, {143, 76, 195, 90}, "300 ms"},
    {73, K::Knob, 24, 113, 0.5f, 200, 10, 1.f / 30, 0, 0, {18, 154, 70, 168}, "300 ms"},
    {75, K::Knob, 118, 113, 0.5f, 200, 10, 1.f / 30, 0, 0, {114, 154, 166, 168}, "0.1 s"},
    {76, K::Knob, 213, 113, 0.66f, 200, 10, 1.f / 30, 0, 0, {208, 154, 260, 168}, "0.1 s"},
    {79, K::RmsLedRefKnob, 434, 35, 1.f, 100, 1, 1.f / 6, 0, 0, {0, 0, 0, 0}, nullptr},
    {78, K::RmsOverLedKnob, 498, 113, 0.22f, 100, 1, 1.f / 9, 0, 0, {0, 0, 0, 0}, nullptr},
    {77, K::Switch, 223, 50, 0, 0, 0, 0, kImageRMSMSType, 3, {0, 0, 0, 0}, nullptr},
    {81, K::Button, 474, 28, 0, 0, 0, 0, kImageRMSOverBase, 2, {0, 0, 0, 0}, nullptr},
    {80, K::Button, 532, 12, 0, 0, 0, 0, kImageRMSPrecise, 2, {0, 0, 0, 0}, nullptr},
};

inline constexpr SettingControlRow kPPMSettings[] = {
    {93, K::Knob, 24, 36, 0.5f, 200, 10, 1.f / 24, 0, 0, {14, 79, 76, 93}, "0 dBFS"},
    {94, K::Knob, 137, 35, 0.5f, 200, 10, 1.f / 30, 0, 0, {133, 78, 184, 92}, "300 ms"},
    {95, K::Knob, 80, 111, 0.5f, 200, 10, 1.f / 12, 0, 0, {75, 154, 127, 168}, "0.1 s"},
    {96, K::Knob, 192, 111, 0.66f, 200, 10, 1.f / 12, 0, 0, {188, 154, 240, 168}, "0.1 s"},
    {99, K::PpmLedRefKnob, 418, 35, 1.f, 100, 1, 1.f / 3, 0, 0, {0, 0, 0, 0}, nullptr},
    {98, K::PpmOverLedKnob, 475, 111, 0.22f, 100, 1, 1.f / 9, 0, 0, {0, 0, 0, 0}, nullptr},
    {97, K::Switch, 200, 36, 0, 0, 0, 0, kImagePPMMSType, 3, {0, 0, 0, 0}, nullptr},
    {100, K::Button, 532, 12, 0, 0, 0, 0, kImagePPMPrecise, 2, {0, 0, 0, 0}, nullptr},
};

template <int N> constexpr int countOf(const SettingControlRow (&)[N]) { return N; }

}  // namespace settings_panel_layout_detail

// The text of the version label.
inline constexpr const char *kSettingsVersionText = "v.3.0.2";

// A panel keeps one control and one label per setting.
inline constexpr int kMaxSettingsPerPanel = 10;

// Indexed by MeterType.
inline constexpr SettingsPanelLayout kSettingsPanelLayouts[kMeterTypeCount] = {
    {kMeterTypeVU,
     kImageVUSettings,
     settings_panel_layout_detail::kVUSettings,
     settings_panel_layout_detail::countOf(settings_panel_layout_detail::kVUSettings),
     {290, 86, 400, 100}},
    {kMeterTypeRMS,
     kImageRMSSettings,
     settings_panel_layout_detail::kRMSSettings,
     settings_panel_layout_detail::countOf(settings_panel_layout_detail::kRMSSettings),
     {293, 86, 403, 100}},
    {kMeterTypePPM,
     kImagePPMSettings,
     settings_panel_layout_detail::kPPMSettings,
     settings_panel_layout_detail::countOf(settings_panel_layout_detail::kPPMSettings),
     {281, 86, 391, 100}},
};

static_assert(kSettingsPanelLayouts[kMeterTypeVU].count <= kMaxSettingsPerPanel &&
                  kSettingsPanelLayouts[kMeterTypeRMS].count <= kMaxSettingsPerPanel &&
                  kSettingsPanelLayouts[kMeterTypePPM].count <= kMaxSettingsPerPanel,
              "a panel keeps one control and one label per setting");
