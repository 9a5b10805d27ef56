// The editor's multi-position switch: the library's clicks, and a wheel that steps one position.
// [ui-thread]
#pragma once

#include "ui/horizontal_switch.h"

class CZEMHorizontalSwitch : public VSTGUI::CHorizontalSwitch {
public:
    using CHorizontalSwitch::CHorizontalSwitch;
    // One position per notch beyond +-0.1, snapped to the positions, no begin or end edit.
    bool onWheel(const VSTGUI::CPoint &where, const float &distance, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CZEMHorizontalSwitch, CHorizontalSwitch)
};
