// The LV2 UI of one instance: an X11 UI (ui:X11UI) embedded in the host's ui:parent window, on
// top of the effect's own VST 2.4 editor, driven through the effect's record (effEditGetRect,
// effEditOpen, effEditIdle, effEditClose) as a VST 2.4 host drives it, so that the editor has
// one behaviour. It reaches the running effect through instance access: the editor reads the
// same engines as the DSP feeds. Without instance access or a parent there is no UI
// (instantiate fails); the UI has no window of its own, so it offers no show interface.
//
// The editor's idle work comes from the host through the idle interface (no thread of ours).
// The editor's size requests (169 to 261 rows at 100 %, times the zoom factor) go to the host's
// ui:resize; the window's first size is announced there as the editor opens. The editor's
// edits go to the host through the write function as plain values in each parameter's unit
// (params/plain_units.h), bracketed by ui:touch where the host offers it. Port events on the
// control inputs come back into the effect as a VST 2.4 host's setParameter does, and the
// effect's echo moves the editor's control: only a move of the port, not the host's first
// announcement of its value (as the instance counts ports), and not while the user holds it.
//
// The UI scale option (ui:scaleFactor, through options and urid:map) goes to the effect as a VST
// 2.4 host's 'PreS' 'AeCs' announcement does, at instantiate and through the options interface
// while open, so the user's stored choice still comes first.
//
// Every function [ui-thread] (the host's UI thread).
#pragma once

#include <cstdint>

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include "lv2/lv2_plugin.h"

class Lv2Ui : public Lv2EditorLink {
public:
    // Null (nothing opened, nothing attached) when a required feature is missing, the instance
    // has no editor or already has a UI, or the editor cannot open on the parent.
    static Lv2Ui *instantiate(LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget *widget,
                              const LV2_Feature *const *features);
    ~Lv2Ui() override;  // closes the editor and detaches from the instance
    Lv2Ui(const Lv2Ui &) = delete;
    Lv2Ui &operator=(const Lv2Ui &) = delete;

    // The descriptor's functions.
    void portEvent(uint32_t port, uint32_t size, uint32_t format, const void *buffer);
    int idle();  // 0: the UI is still there
    // The host's scale; false for a value that is not a positive finite number.
    bool setScale(double scale);
    // Options given to instantiate or set later: the scale factor is the one taken.
    bool applyOptions(const void *options);

    // The editor's host calls, from the instance (Lv2EditorLink).
    void beginEdit(uint32_t id) override;
    void valueEdit(uint32_t id, float normalised) override;
    void endEdit(uint32_t id) override;
    bool resizeEditor(int width, int height) override;

private:
    Lv2Ui(Lv2Plugin *instance, AEffect *effect) : instance(instance), effect(effect) {}
    bool open(void *parent);

    Lv2Plugin *instance;
    AEffect *effect;
    LV2UI_Write_Function write = nullptr;
    LV2UI_Controller controller = nullptr;
    const LV2UI_Resize *hostResize = nullptr;
    const LV2UI_Touch *hostTouch = nullptr;
    LV2_URID scaleFactorKey = 0;  // 0 without urid:map
    LV2_URID floatType = 0;
    uint32_t held = 0;                          // bit per host parameter: the user holds its control
    uint32_t announced = 0;                     // bit per host parameter: the host has sent its port's value
    float lastPort[kPlainParameterCount] = {};  // the value of each port the host last sent
    bool attached = false;
    bool opened = false;
};

// The descriptor of the bundle's one UI (index 0), null for any other index. [any-thread]
const LV2UI_Descriptor *lv2UiDescriptor(uint32_t index);

// How the UI reaches the editor's window beyond the effect's record. The editor's classes lie
// above this layer, so the entry, which sees them, fills this in (src/entry/lv2_ui_window.cpp).
struct Lv2UiWindowAccess {
    // The X11 window of the editor's frame while it is open, else 0: the UI's widget.
    uintptr_t (*frameWindow)(AEffect *effect);
};
// [any-thread], before any instance exists (the entry does it as the library loads).
void setLv2UiWindowAccess(const Lv2UiWindowAccess *access);
