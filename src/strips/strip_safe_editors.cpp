#include "strips/strip_safe_editors.h"

#include <new>

#include "controls/image_numbers.h"
#include "ui/bitmap.h"

using namespace VSTGUI;

template <class Strip, class Holder>
void StripSafeEditor<Strip, Holder>::open(CFrame *frame, EditorFrontPanel *vu, EditorFrontPanel *rms,
                                          EditorFrontPanel *ppm)
{
    close();
    EditorFrontPanel *panels[kMeterTypeCount] = {vu, rms, ppm};
    std::shared_ptr<StripPictures> pictures(new (std::nothrow) StripPictures);
    for (int type = 0; type < kMeterTypeCount; ++type) {
        for (int expanded = 0; expanded < 2; ++expanded) {
            std::unique_ptr<Strip> built(new (std::nothrow) Strip(listener, effect));
            if (!built)
                continue;
            built->setPictures(pictures);
            const int background = expanded ? expandedBackground(type) : collapsedBackground(type);
            if (!built->build(frame, pictures ? pictures->get(background) : nullptr, expanded != 0))
                continue;
            built->setHintTarget(panels[type] ? panels[type]->getHintLabel() : nullptr);
            strips[type][expanded] = std::move(built);
        }
    }
    shownMeterType = -1;
    collapsedShown = true;
}

template <class Strip, class Holder> void StripSafeEditor<Strip, Holder>::close()
{
    for (auto &forms : strips)
        for (auto &s : forms)
            if (s) {
                s->close();
                s.reset();
            }
}

template <class Strip, class Holder> Strip *StripSafeEditor<Strip, Holder>::strip(int meterType, bool expanded) const
{
    if (meterType < 0 || meterType >= kMeterTypeCount)
        return nullptr;
    return strips[meterType][expanded ? 1 : 0].get();
}

template <class Strip, class Holder> Strip *StripSafeEditor<Strip, Holder>::shownStrip() const
{
    Strip *s = strip(shownMeterType, !collapsedShown);
    return s && s->isVisible() ? s : nullptr;
}

template <class Strip, class Holder>
void StripSafeEditor<Strip, Holder>::show(const CPoint &position, int meterType, bool collapsed)
{
    collapsedShown = collapsed;
    shownMeterType = meterType;
    for (auto &forms : strips)
        for (auto &s : forms)
            if (s)
                s->detach();
    if (Strip *chosen = strip(meterType, !collapsed))
        chosen->attach(position);
}

template <class Strip, class Holder> void StripSafeEditor<Strip, Holder>::parameterChanged(VstInt32 index, float value)
{
    for (auto &forms : strips)
        for (auto &s : forms)
            if (s)
                s->parameterChanged(index, value);
}

template <class Strip, class Holder> void StripSafeEditor<Strip, Holder>::valueChanged(CControl *control)
{
    if (Strip *s = shownStrip())
        s->valueChanged(control);
}

template class StripSafeEditor<StripFiltersEditor, EditorFiltersHolder>;
template class StripSafeEditor<StripLabelEditor, EditorLabelHolder>;

// ---------------------------------------------------------------------------------------------

void StripFiltersSafeEditor::processChanged(float value)
{
    for (auto &forms : strips)
        for (auto &s : forms)
            if (s)
                s->setActive(value);
}

int StripFiltersSafeEditor::expandedBackground(int meterType) const
{
    return kImageFilterStripExpanded + kImageStripExpandedStep * meterType;
}

int StripFiltersSafeEditor::collapsedBackground(int meterType) const
{
    return kImageStripCollapsed + kImageStripCollapsedStep * meterType;
}

void StripLabelSafeEditor::idleTick()
{
    if (collapsedShown)
        return;
    if (StripLabelEditor *s = shownStrip())
        s->idleTick();
}

int StripLabelSafeEditor::expandedBackground(int meterType) const
{
    return kImageLabelStripExpanded + kImageStripExpandedStep * meterType;
}

int StripLabelSafeEditor::collapsedBackground(int meterType) const
{
    return kImageStripCollapsed + kImageStripCollapsedStep * meterType;
}
