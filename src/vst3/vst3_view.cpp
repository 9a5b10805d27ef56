#include "vst3_view.h"

#include "vst/aeff_editor.h"

#include <cfloat>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// About 30 redraws a second: what a meter needs, and what every host's run loop allows.
constexpr uint32_t kIdlePeriodMs = 33;

#ifdef _WIN32
constexpr const char *kPlatformType = "HWND";
#else
constexpr const char *kPlatformType = "X11EmbedWindowID";
#endif

const Vst3EditorWindowAccess *windowAccess = nullptr;

#ifdef _WIN32
// The frame window's timer: its id is the view it serves.
void CALLBACK frameTimer(HWND, UINT, UINT_PTR id, DWORD) { reinterpret_cast<Vst3View *>(id)->idle(); }
#endif

}  // namespace

void setVst3EditorWindowAccess(const Vst3EditorWindowAccess *access) { windowAccess = access; }

// ---- the slot ----------------------------------------------------------------------------------

Vst3ViewSlot::~Vst3ViewSlot() { effectGone(); }

void Vst3ViewSlot::effectGone()
{
    if (view)
        view->effectGone();
    view = nullptr;
}

Vst3View *Vst3ViewSlot::createView(AEffect *effect)
{
    if (view || !effect || !(effect->flags & effFlagsHasEditor))
        return nullptr;
    view = new Vst3View(effect, *this);
    return view;
}

bool Vst3ViewSlot::requestResize(int width, int height) { return view && view->requestResize(width, height); }

// ---- the view ----------------------------------------------------------------------------------

Vst3View::Vst3View(AEffect *effect, Vst3ViewSlot &slot) : effect(effect), slot(&slot) {}

Vst3View::~Vst3View()
{
    close();  // released without removed: the editor closes with the view
    setFrame(nullptr);
    if (slot && slot->view == this)
        slot->view = nullptr;
}

vst3::tresult VST3_API Vst3View::queryInterface(const vst3::TUID iid, void **object)
{
    if (!object)
        return vst3::kInvalidArgument;
    *object = nullptr;
    if (vst3::FUnknown::iid.matches(iid) || vst3::IPlugView::iid.matches(iid))
        *object = static_cast<vst3::IPlugView *>(this);
    else if (vst3::IPlugViewContentScaleSupport::iid.matches(iid))
        *object = static_cast<vst3::IPlugViewContentScaleSupport *>(this);
#ifndef _WIN32
    else if (vst3::ITimerHandler::iid.matches(iid))
        *object = static_cast<vst3::ITimerHandler *>(this);
    else if (vst3::IEventHandler::iid.matches(iid))
        *object = static_cast<vst3::IEventHandler *>(this);
#endif
    if (!*object)
        return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

uint32_t VST3_API Vst3View::addRef() { return ++references; }

uint32_t VST3_API Vst3View::release()
{
    const uint32_t left = --references;
    if (left == 0)
        delete this;
    return left;
}

vst3::tresult VST3_API Vst3View::isPlatformTypeSupported(const char *type)
{
    return effect && type && std::strcmp(type, kPlatformType) == 0 ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::tresult VST3_API Vst3View::attached(void *parent, const char *type)
{
    if (open || !parent || isPlatformTypeSupported(type) != vst3::kResultTrue)
        return vst3::kResultFalse;
#ifndef _WIN32
    // Without the host's run loop nothing would ever draw or take input.
    void *loop = nullptr;
    if (!frame || frame->queryInterface(vst3::IRunLoop::iid.data(), &loop) != vst3::kResultOk || !loop)
        return vst3::kResultFalse;
    runLoop = static_cast<vst3::IRunLoop *>(loop);
#endif
    // Both platforms pass the parent as the VST 2.4 editor takes it: the HWND, or the X11
    // window id by value in the pointer.
    if (!effect->dispatcher(effect, effEditOpen, 0, 0, parent, 0.f)) {
#ifndef _WIN32
        runLoop->release();
        runLoop = nullptr;
#endif
        return vst3::kResultFalse;
    }
    open = true;
#ifdef _WIN32
    frameWindow = windowAccess ? windowAccess->frameWindow(effect) : nullptr;
#else
    const int fd = windowAccess ? windowAccess->eventDescriptor(effect) : -1;
    descriptorRegistered = fd >= 0 && runLoop->registerEventHandler(static_cast<vst3::IEventHandler *>(this), fd) ==
                                          vst3::kResultOk;
#endif
    startIdle();
    return vst3::kResultOk;
}

vst3::tresult VST3_API Vst3View::removed()
{
    if (!open)
        return vst3::kResultOk;  // removed without attached is harmless
    // A run loop that holds references to the view gives them back below: the view lives on
    // to the end of this call all the same.
    addRef();
    close();
    release();
    return vst3::kResultOk;
}

void Vst3View::close()
{
    if (!open)
        return;
    open = false;
    stopIdle();
#ifndef _WIN32
    // The descriptor is the editor's connection, which closes with the editor.
    if (descriptorRegistered)
        runLoop->unregisterEventHandler(static_cast<vst3::IEventHandler *>(this));
    descriptorRegistered = false;
#endif
    if (effect)
        effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.f);
#ifdef _WIN32
    frameWindow = nullptr;
#else
    runLoop->release();
    runLoop = nullptr;
#endif
}

// The editor takes its keys and wheel from its own window.
vst3::tresult VST3_API Vst3View::onWheel(float) { return vst3::kResultFalse; }
vst3::tresult VST3_API Vst3View::onKeyDown(char16_t, int16_t, int16_t) { return vst3::kResultFalse; }
vst3::tresult VST3_API Vst3View::onKeyUp(char16_t, int16_t, int16_t) { return vst3::kResultFalse; }
vst3::tresult VST3_API Vst3View::onFocus(vst3::TBool) { return vst3::kResultOk; }

bool Vst3View::currentSize(vst3::ViewRect &rect) const
{
    ERect *editorRect = nullptr;
    if (!effect || !effect->dispatcher(effect, effEditGetRect, 0, 0, &editorRect, 0.f) || !editorRect)
        return false;
    rect = vst3::ViewRect{0, 0, editorRect->right - editorRect->left, editorRect->bottom - editorRect->top};
    return rect.right > 0 && rect.bottom > 0;
}

vst3::tresult VST3_API Vst3View::getSize(vst3::ViewRect *size)
{
    if (!size)
        return vst3::kInvalidArgument;
    vst3::ViewRect rect{};
    if (!currentSize(rect))
        return vst3::kResultFalse;
    *size = rect;
    return vst3::kResultOk;
}

vst3::tresult VST3_API Vst3View::onSize(vst3::ViewRect *newSize)
{
    vst3::ViewRect rect{};
    if (!newSize || !currentSize(rect))
        return vst3::kResultFalse;
    // The editor's window follows its own size; only that size is taken.
    const bool same = newSize->right - newSize->left == rect.right && newSize->bottom - newSize->top == rect.bottom;
    return same ? vst3::kResultOk : vst3::kResultFalse;
}

vst3::tresult VST3_API Vst3View::setFrame(vst3::IPlugFrame *newFrame)
{
    if (newFrame)
        newFrame->addRef();
    if (frame)
        frame->release();
    frame = newFrame;
    return vst3::kResultOk;
}

vst3::tresult VST3_API Vst3View::canResize() { return vst3::kResultFalse; }

vst3::tresult VST3_API Vst3View::checkSizeConstraint(vst3::ViewRect *rect)
{
    vst3::ViewRect current{};
    if (!rect || !currentSize(current))
        return vst3::kResultFalse;
    // The only size the editor can take is the one it has.
    rect->right = rect->left + current.right;
    rect->bottom = rect->top + current.bottom;
    return vst3::kResultTrue;
}

vst3::tresult VST3_API Vst3View::setContentScaleFactor(float factor)
{
    // NaN, zero, negative or infinite: refused, and the factor stays as it was.
    if (!effect || !(factor > 0) || !(factor <= FLT_MAX))
        return vst3::kResultFalse;
    // The factor goes where a VST 2.4 host's announcement goes ('PreS' 'AeCs' to the effect), so
    // the editor keeps one order of sources: the user's stored choice first, then the host's.
    if (!effect->dispatcher(effect, effVendorSpecific, kHostScaleIndex, kHostScaleValue, nullptr, factor))
        return vst3::kResultFalse;
    // An open editor takes the factor now, not at its next idle, and asks for its new size
    // through resizeView; a closed one answers it from getSize.
    idle();
    return vst3::kResultTrue;
}

bool Vst3View::requestResize(int width, int height)
{
    if (!frame || width <= 0 || height <= 0)
        return false;
    vst3::ViewRect rect{0, 0, width, height};
    return frame->resizeView(static_cast<vst3::IPlugView *>(this), &rect) == vst3::kResultOk;
}

void Vst3View::effectGone()
{
    removed();
    effect = nullptr;
    slot = nullptr;
}

void Vst3View::startIdle()
{
    if (idling)
        return;
#ifdef _WIN32
    idling = frameWindow &&
             SetTimer(static_cast<HWND>(frameWindow), reinterpret_cast<UINT_PTR>(this), kIdlePeriodMs, frameTimer) != 0;
#else
    idling = runLoop &&
             runLoop->registerTimer(static_cast<vst3::ITimerHandler *>(this), kIdlePeriodMs) == vst3::kResultOk;
#endif
}

void Vst3View::stopIdle()
{
    if (!idling)
        return;
#ifdef _WIN32
    if (frameWindow)
        KillTimer(static_cast<HWND>(frameWindow), reinterpret_cast<UINT_PTR>(this));
#else
    if (runLoop)
        runLoop->unregisterTimer(static_cast<vst3::ITimerHandler *>(this));
#endif
    idling = false;
}

#ifndef _WIN32
void VST3_API Vst3View::onTimer() { idle(); }

void VST3_API Vst3View::onFDIsSet(int) { idle(); }
#endif

void Vst3View::idle()
{
    if (!open || !effect)
        return;
    effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.f);
    // The UI thread's turn for what the processing thread could not tell the host.
    if (slot && slot->owner)
        slot->owner->deliverPendingRestart();
}
