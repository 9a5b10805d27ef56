// The filter strip: ProcFlt, ShowFlt and, expanded, the high-pass and low-pass status and slope
// buttons, frequency sliders and typed-frequency fields that follow the sliders.
// Thread: the UI thread.
#pragma once

#include "strips/strip_editor.h"

namespace VSTGUI {
class CMovieBitmap;
}
class COnOffButtonH;
class CZEMOnOffButtonAH;
class StripActiveButton;
class CZEMSliderAH;
class CMyTextEditAH;

class StripFiltersEditor : public StripEditor {
public:
    static constexpr int kExpandedHeight = 53;
    static constexpr int kCollapsedHeight = 13;
    // The typed-frequency fields: 42 x 15 at y = 0, following the slider handle.
    static constexpr VSTGUI::CCoord kFieldWidth = 42;
    static constexpr VSTGUI::CCoord kFieldHeight = 15;
    static constexpr VSTGUI::CCoord kHighPassFieldLeft = 45;
    static constexpr VSTGUI::CCoord kLowPassFieldLeft = 310;
    static constexpr VSTGUI::CCoord kFieldTravel = 144;

    using StripEditor::StripEditor;
    ~StripFiltersEditor() override;

    bool build(VSTGUI::CFrame *frame, VSTGUI::CBitmap *background, bool expanded) override;
    // Then every control reads its value from the effect, and the active state follows Process.
    void attach(const VSTGUI::CPoint &position) override;
    void parameterChanged(VstInt32 index, float value) override;
    void valueChanged(VSTGUI::CControl *control) override;
    // processValue: the Process parameter; integer(value + 0.5) is every filter control's
    // active flag.
    void setActive(float processValue);

    // The controls, null where the form has none.
    StripActiveButton *getProcessButton() const { return procFlt; }
    COnOffButtonH *getShowButton() const { return showFlt; }
    CZEMOnOffButtonAH *getStatusButton(bool lowPass) const { return lowPass ? lpStat : hpStat; }
    CZEMOnOffButtonAH *getSlopeButton(bool lowPass) const { return lowPass ? lpSlope : hpSlope; }
    CZEMSliderAH *getSlider(bool lowPass) const { return lowPass ? lpFreq : hpFreq; }
    CMyTextEditAH *getField(bool lowPass) const { return lowPass ? lpText : hpText; }

protected:
    void dropControls() override;

private:
    void buildExpanded();
    void buildCollapsed();
    // The slider takes the value; its field moves over the handle and shows the display text.
    void showFrequency(bool lowPass, float value);

    StripActiveButton *procFlt = nullptr;
    COnOffButtonH *showFlt = nullptr;
    CZEMOnOffButtonAH *hpStat = nullptr;
    CZEMOnOffButtonAH *lpStat = nullptr;
    CZEMOnOffButtonAH *hpSlope = nullptr;
    CZEMOnOffButtonAH *lpSlope = nullptr;
    CZEMSliderAH *hpFreq = nullptr;
    CZEMSliderAH *lpFreq = nullptr;
    CMyTextEditAH *hpText = nullptr;
    CMyTextEditAH *lpText = nullptr;
    VSTGUI::CMovieBitmap *title = nullptr;
};
