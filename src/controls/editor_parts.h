// What the editor drives: the three front panels and the two strip-editor holders. The display
// and strip classes implement these interfaces; the editor creates them through a factory.
// [ui-thread] only (the editor's thread); the editor brings parameter changes from other
// threads over at idle.
#pragma once

#include <cstdint>
#include <memory>

#include "controls/per_meter_type.h"
#include "ui/control.h"
#include "ui/frame.h"

class CHelpHintLabel;
class Templete;

// A front panel of one meter type: a container of views that is attached to the frame while
// its meter type is selected. [ui-thread], every operation.
class EditorFrontPanel {
public:
    virtual ~EditorFrontPanel() = default;
    // Builds the views (container left detached); background null: the panel loads its own.
    virtual bool buildPanel(VSTGUI::CFrame *frame, VSTGUI::CBitmap *background) = 0;
    virtual void teardownPanel() = 0;
    virtual void showPanel() = 0;
    virtual void hidePanel() = 0;
    virtual void parameterChanged(std::int32_t index, float value) = 0;
    virtual void controlChanged(VSTGUI::CControl *control) = 0;
    // position: block durations since the last audio block, never negative.
    virtual void refreshMeters(double position) = 0;
    // Closes the panel's settings panel when it is open, storing the meter defaults as leaving
    // it always does. The editor calls it before another meter type's panel shows.
    virtual void closeSettingsPanel() {}
    // Puts an open settings panel back on top of views attached after it (the strips, when the
    // host changes their layout while the panel is open), so that it still covers them.
    virtual void raiseSettingsPanel() {}
    // The hint line that the strips of this meter type explain themselves on; null when the
    // panel has none (not built).
    virtual CHelpHintLabel *getHintLabel() const { return nullptr; }
};

// A holder of one strip editor per meter type and form (expanded, collapsed). [ui-thread], every operation.
class EditorStripHolder {
public:
    virtual ~EditorStripHolder() = default;
    // Builds all six strip editors into the frame; each is wired to its meter type's panel (any
    // of them may be null).
    virtual void open(VSTGUI::CFrame *frame, const PerMeterType<EditorFrontPanel *> &panels) = 0;
    virtual void close() = 0;
    // Attaches the strip of the meter type at the position (frame coordinates).
    virtual void showExpanded(const VSTGUI::CPoint &position, MeterType meterType) = 0;
    virtual void showCollapsed(const VSTGUI::CPoint &position, MeterType meterType) = 0;
    virtual void parameterChanged(std::int32_t index, float value) = 0;
    virtual void valueChanged(VSTGUI::CControl *control) = 0;
};

class EditorFiltersHolder : public EditorStripHolder {
public:
    // The Process parameter: the filter controls are active while it is on.
    virtual void processChanged(float value) = 0;
};

class EditorLabelHolder : public EditorStripHolder {
public:
    // One step of the visible label strip's animation.
    virtual void idleTick() = 0;
};

// Creates the parts each time the editor opens; the editor owns what it is handed and deletes it
// when it closes. A part that cannot be created is answered with null and the editor goes on
// without it.
class EditorPartsFactory {
public:
    virtual ~EditorPartsFactory() = default;
    virtual std::unique_ptr<EditorFrontPanel> createFrontPanel(MeterType meterType, VSTGUI::CControlListener *listener,
                                                               Templete *effect) = 0;
    virtual std::unique_ptr<EditorFiltersHolder> createFiltersEditor(VSTGUI::CControlListener *listener,
                                                                     Templete *effect) = 0;
    virtual std::unique_ptr<EditorLabelHolder> createLabelEditor(VSTGUI::CControlListener *listener,
                                                                 Templete *effect) = 0;
};

// The parts of the product.
EditorPartsFactory &productEditorParts();
