// The holders the editor talks to: each owns six strip editors of its kind, the expanded and the
// collapsed form for each meter type, of which at most one is attached to the frame. Calls go
// to all six (parameter changes, the active state) or to the one shown (control changes, the
// idle tick). [ui-thread] (the editor's), every operation.
#pragma once

#include <array>
#include <memory>

#include "params/parameter_table.h"
#include "controls/editor_parts.h"
#include "strips/strip_filters_editor.h"
#include "strips/strip_label_editor.h"

// The common part of the two holders. Strip: the strip editor class; Holder: the editor's
// interface.
template <class Strip, class Holder> class StripSafeEditor : public Holder {
public:
    StripSafeEditor(VSTGUI::CControlListener *listener, Templete *effect) : listener(listener), effect(effect) {}
    ~StripSafeEditor() override { close(); }

    // Builds the six strips detached; each explains itself on the hint line of its meter
    // type's panel.
    void open(VSTGUI::CFrame *frame, const PerMeterType<EditorFrontPanel *> &panels) override;
    void close() override;
    void showExpanded(const VSTGUI::CPoint &position, MeterType meterType) override
    {
        show(position, meterType, false);
    }
    void showCollapsed(const VSTGUI::CPoint &position, MeterType meterType) override
    {
        show(position, meterType, true);
    }
    void parameterChanged(VstInt32 index, float value) override;
    void valueChanged(VSTGUI::CControl *control) override;

    // The strip of a meter type and form; null before open, after close, or when it could
    // not be built.
    Strip *strip(MeterType meterType, bool expanded) const;
    // The strip attached now, or null.
    Strip *shownStrip() const;
    // A MeterType; -1 before the first show.
    int getShownMeterType() const { return shownMeterType; }
    bool isCollapsedShown() const { return collapsedShown; }

protected:
    // The picture numbers of the two forms' backgrounds for a meter type.
    virtual int expandedBackground(MeterType meterType) const = 0;
    virtual int collapsedBackground(MeterType meterType) const = 0;

    // Each meter type's forms: 0 collapsed, 1 expanded.
    PerMeterType<std::array<std::unique_ptr<Strip>, 2>> strips;
    int shownMeterType = -1;
    bool collapsedShown = true;

private:
    void show(const VSTGUI::CPoint &position, MeterType meterType, bool collapsed);

    VSTGUI::CControlListener *listener;
    Templete *effect;
};

class StripFiltersSafeEditor : public StripSafeEditor<StripFiltersEditor, EditorFiltersHolder> {
public:
    using StripSafeEditor::StripSafeEditor;
    // Process: the active state of every filter control of all six strips.
    void processChanged(float value) override;

protected:
    int expandedBackground(MeterType meterType) const override;
    int collapsedBackground(MeterType meterType) const override;
};

class StripLabelSafeEditor : public StripSafeEditor<StripLabelEditor, EditorLabelHolder> {
public:
    using StripSafeEditor::StripSafeEditor;
    // To the shown label strip when it is the expanded one.
    void idleTick() override;

protected:
    int expandedBackground(MeterType meterType) const override;
    int collapsedBackground(MeterType meterType) const override;
};
