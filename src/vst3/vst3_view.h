// The editor of the VST 3 effect: an IPlugView for "HWND" (Windows) and "X11EmbedWindowID"
// (Linux) on top of the effect's own VST 2.4 editor, driven through the effect's record
// (effEditGetRect, effEditOpen, effEditIdle, effEditClose) as a VST 2.4 host drives it, so that
// the editor has one behaviour in every format, as the CLAP gui has it (clap/clap_gui.h).
//
// The window is 586 pixels wide and 169 to 261 high at 100 %, times the editor's zoom factor; the
// height follows the strip switches, not the user's drag: canResize answers false,
// checkSizeConstraint turns any rectangle into the current size, and onSize accepts that size
// only. When the editor changes its height or its factor it asks through audioMasterSizeWindow,
// which the effect object passes on here (Vst3ViewSlot::requestResize) and which becomes the
// frame's resizeView.
//
// setContentScaleFactor is the host's factor (HWND and X11 windows are in physical pixels): it
// goes to the effect as a VST 2.4 host's 'PreS' 'AeCs' announcement does, so the user's stored
// choice still comes first. Accepted before or after attached; a factor that is not a positive
// finite number is refused.
//
// VST 3 has no idle call. On Linux the editor's idle work comes from the run loop the host's
// frame answers (a timer of about 30 per second, and an event handler on the X connection's
// descriptor so that input is handled when it arrives); without a run loop attached answers
// kResultFalse rather than leave a frozen editor. On Windows a timer of the frame's own window
// (SetTimer) brings the idle work, since the host's message loop dispatches its messages.
//
// The hosts' orders all work: getSize before and after attached, setFrame before attached,
// removed without attached, release without removed (Carla only hides its window), and
// setFrame(null) before or after removed. Every function [ui-thread].
#pragma once

#include <atomic>
#include <cstdint>

#include "vst/aeffect.h"
#include "vst3/vst3_effect.h"
#include "vst3/vst3_interface.h"

class Vst3View;

// The effect object's one place for its open view, so that the editor's size requests reach the
// view (the effect's editor link) and the view learns when the effect goes before it. [ui-thread]
class Vst3ViewSlot final : public Vst3EditorLink {
public:
    // owner: the VST 3 effect, told after each idle to deliver what its processing thread could
    // not tell the host; null for an effect of the VST 2.4 layer alone (the tests).
    explicit Vst3ViewSlot(Vst3Effect *owner = nullptr) : owner(owner) {}
    ~Vst3ViewSlot();
    Vst3ViewSlot(const Vst3ViewSlot &) = delete;
    Vst3ViewSlot &operator=(const Vst3ViewSlot &) = delete;

    // The view for createView("editor"), with one reference for the host; null when the
    // effect has no editor or a view exists already (one editor per effect).
    Vst3View *createView(AEffect *effect);
    // audioMasterSizeWindow: true when the host's frame took the size.
    bool requestResize(int width, int height);
    bool resizeEditor(int width, int height) override { return requestResize(width, height); }
    // The effect goes (terminate): a view still alive closes its editor and turns into an empty
    // one, answering no size and no platform.
    void effectGone();
    bool hasView() const { return view != nullptr; }

private:
    friend class Vst3View;
    Vst3Effect *owner;
    Vst3View *view = nullptr;
};

// How the view reaches the editor's window beyond the effect's record. The editor's classes lie
// above this layer, so the entry, which sees them, fills this in (src/entry/vst3_editor_window.cpp).
struct Vst3EditorWindowAccess {
    // Windows: the frame's HWND while the editor is open, else null.
    void *(*frameWindow)(AEffect *effect);
    // Linux: the descriptor of the editor's X connection while it is open, else -1.
    int (*eventDescriptor)(AEffect *effect);
};
// [any-thread], before any view exists (the entry does it as the library loads).
void setVst3EditorWindowAccess(const Vst3EditorWindowAccess *access);

class Vst3View final : public vst3::IPlugView,
                       public vst3::IPlugViewContentScaleSupport
#ifndef _WIN32
    ,
                       public vst3::ITimerHandler,
                       public vst3::IEventHandler
#endif
{
public:
    Vst3View(AEffect *effect, Vst3ViewSlot &slot);
    Vst3View(const Vst3View &) = delete;
    Vst3View &operator=(const Vst3View &) = delete;

    // FUnknown
    vst3::tresult VST3_API queryInterface(const vst3::TUID iid, void **object) override;
    uint32_t VST3_API addRef() override;
    uint32_t VST3_API release() override;

    // IPlugView
    vst3::tresult VST3_API isPlatformTypeSupported(const char *type) override;
    vst3::tresult VST3_API attached(void *parent, const char *type) override;
    vst3::tresult VST3_API removed() override;
    vst3::tresult VST3_API onWheel(float distance) override;
    vst3::tresult VST3_API onKeyDown(char16_t key, int16_t keyCode, int16_t modifiers) override;
    vst3::tresult VST3_API onKeyUp(char16_t key, int16_t keyCode, int16_t modifiers) override;
    vst3::tresult VST3_API getSize(vst3::ViewRect *size) override;
    vst3::tresult VST3_API onSize(vst3::ViewRect *newSize) override;
    vst3::tresult VST3_API onFocus(vst3::TBool state) override;
    vst3::tresult VST3_API setFrame(vst3::IPlugFrame *frame) override;
    vst3::tresult VST3_API canResize() override;
    vst3::tresult VST3_API checkSizeConstraint(vst3::ViewRect *rect) override;

    // IPlugViewContentScaleSupport
    vst3::tresult VST3_API setContentScaleFactor(float factor) override;

#ifndef _WIN32
    // ITimerHandler, IEventHandler
    void VST3_API onTimer() override;
    void VST3_API onFDIsSet(int fd) override;
#endif

    // From the effect through its slot.
    bool requestResize(int width, int height);
    void effectGone();
    // The Windows frame timer's way in.
    void idle();

private:
    ~Vst3View();   // through release only
    void close();  // the editor closed, its idle stopped, the run loop given back
    bool currentSize(vst3::ViewRect &rect) const;
    void startIdle();
    void stopIdle();

    std::atomic<uint32_t> references{1};
    AEffect *effect;
    Vst3ViewSlot *slot;
    vst3::IPlugFrame *frame = nullptr;  // referenced while set
    bool open = false;                  // the VST editor is open on the host's parent
    bool idling = false;
#ifdef _WIN32
    void *frameWindow = nullptr;  // the frame's HWND, whose timer brings idle
#else
    vst3::IRunLoop *runLoop = nullptr;  // from the frame, referenced while attached
    bool descriptorRegistered = false;
#endif
};
