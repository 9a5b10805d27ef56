#include "strips/strip_safe_editors.h"

#include <new>

#include "controls/image_numbers.h"
#include "platform/contract.h"
#include "ui/bitmap.h"

using namespace VSTGUI;

template <class Strip, class Holder>
void StripSafeEditor<Strip, Holder>::open(CFrame *frame, const PerMeterType<EditorFrontPanel *> &panels)
{
    close();
    std::shared_ptr<StripPictures> pictures(new (std::nothrow) StripPictures);
    for (MeterType type : kMeterTypes) {
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

template <class Strip, class Holder>
Strip *StripSafeEditor<Strip, Holder>::strip(MeterType meterType, bool expanded) const
{
    ZEM_CHECK(isMeterType(meterType), nullptr);
    return strips[meterType][expanded ? 1 : 0].get();
}

template <class Strip, class Holder> Strip *StripSafeEditor<Strip, Holder>::shownStrip() const
{
    if (!isMeterType(shownMeterType))
        return nullptr;
    Strip *s = strip(MeterType(shownMeterType), !collapsedShown);
    return s && s->isVisible() ? s : nullptr;
}

template <class Strip, class Holder>
void StripSafeEditor<Strip, Holder>::show(const CPoint &position, MeterType meterType, bool collapsed)
{
    ZEM_CHECK(isMeterType(meterType), );
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

int StripFiltersSafeEditor::expandedBackground(MeterType meterType) const
{
    return kImageFilterStripExpanded + kImageStripExpandedStep * meterType;
}

int StripFiltersSafeEditor::collapsedBackground(MeterType meterType) const
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

int StripLabelSafeEditor::expandedBackground(MeterType meterType) const
{
    return kImageLabelStripExpanded + kImageStripExpandedStep * meterType;
}

int StripLabelSafeEditor::collapsedBackground(MeterType meterType) const
{
    return kImageStripCollapsed + kImageStripCollapsedStep * meterType;
}
