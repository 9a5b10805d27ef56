#include "aeff_gui_editor.h"

#include <chrono>
#include <cmath>
#include <random>

#include "ui/offscreen_parent.h"
#include "vst/audio_effect.h"

namespace {

// A secret for the host program's picture requests; never 0.
uint32_t freshCookie(const void *salt)
{
    uint32_t cookie = 0;
    try {
        std::random_device device;
        cookie = device();
    } catch (...) {
    }
    cookie ^= (uint32_t)std::chrono::steady_clock::now().time_since_epoch().count();
    cookie ^= (uint32_t) reinterpret_cast<uintptr_t>(salt);
    return cookie ? cookie : 1u;
}

}  // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect *effect) : AEffEditor(effect) {}

AEffGUIEditor::~AEffGUIEditor()
{
    if (VSTGUI::CFrame *owned = frame) {
        setFrame(nullptr);
        owned->forget();
    }
    withdrawParent();
}

bool AEffGUIEditor::showsInHostWindows() const { return VSTGUI::platformShowsInHostWindows(); }

void AEffGUIEditor::askHostAboutParent(void *parent)
{
    withdrawParent();
    auto *fx = dynamic_cast<AudioEffectX *>(effect);
    if (!fx || !parent)
        return;
    const uint32_t cookie = freshCookie(this);
    if (fx->hostVendorSpecific(kHostParentQuery, (VstIntPtr)cookie, parent, 0.f) != kHostParentAnswer)
        return;
    vouchedParent = parent;
    VSTGUI::platformVouchedParent(parent, cookie);
}

void AEffGUIEditor::withdrawParent()
{
    if (!vouchedParent)
        return;
    VSTGUI::platformWithdrawnParent(vouchedParent);
    vouchedParent = nullptr;
}

bool AEffGUIEditor::getRect(ERect **ppRect)
{
    if (!ppRect)
        return false;
    scaledRect = rect;
    if (zoomFactor != 1.0) {
        scaledRect.right = (VstInt16)(rect.left + std::lround((rect.right - rect.left) * zoomFactor));
        scaledRect.bottom = (VstInt16)(rect.top + std::lround((rect.bottom - rect.top) * zoomFactor));
    }
    *ppRect = &scaledRect;
    return true;
}

bool AEffGUIEditor::setZoomFactor(double factor)
{
    if (!std::isfinite(factor) || factor < kMinZoom || factor > kMaxZoom)
        return false;
    if (factor == zoomFactor)
        return true;
    zoomFactor = factor;
    if (frame) {
        frame->setZoom(factor);
        resizeHostWindow();
    }
    return true;
}

void AEffGUIEditor::resizeHostWindow()
{
    if (!frame)
        return;
    ERect *scaled = nullptr;
    getRect(&scaled);
    frame->setParentSize(rect.right - rect.left, rect.bottom - rect.top);
    if (auto *fx = dynamic_cast<AudioEffectX *>(effect))
        fx->sizeWindow(scaled->right - scaled->left, scaled->bottom - scaled->top);
    frame->invalid();
    frame->setDirty(true);
}

bool AEffGUIEditor::open(void *ptr)
{
    AEffEditor::open(ptr);
    return true;
}

void AEffGUIEditor::close() { AEffEditor::close(); }

void AEffGUIEditor::idle()
{
    if (inIdleStuff || !frame)
        return;
    inIdleStuff = true;
    frame->idle();
    inIdleStuff = false;
}

bool AEffGUIEditor::onKeyDown(VstKeyCode &keyCode) { return frame && frame->onKeyDown(keyCode) == 1; }
bool AEffGUIEditor::onKeyUp(VstKeyCode &keyCode) { return frame && frame->onKeyUp(keyCode) == 1; }

bool AEffGUIEditor::onWheel(float distance)
{
    return frame && frame->onWheelAtLastMouse(distance, VSTGUI::CButtonState());
}

bool AEffGUIEditor::setKnobMode(VstInt32 val)
{
    knobMode = (int)val;
    return true;
}

void AEffGUIEditor::setFrame(VSTGUI::CFrame *newFrame)
{
    frameOpen.store(newFrame != nullptr, std::memory_order_relaxed);
    frame = newFrame;
    if (frame)
        frame->setZoom(zoomFactor);
}

bool AEffGUIEditor::frameTicks(double &milliseconds)
{
    if (!frameOpen.load(std::memory_order_relaxed))
        return false;
    milliseconds = (double)VSTGUI::platformTickCount();
    return true;
}

void AEffGUIEditor::beginEdit(VstInt32 index)
{
    if (auto *fx = dynamic_cast<AudioEffectX *>(effect))
        fx->beginEdit(index);
}

void AEffGUIEditor::endEdit(VstInt32 index)
{
    if (auto *fx = dynamic_cast<AudioEffectX *>(effect))
        fx->endEdit(index);
}

void AEffGUIEditor::controlBeginEdit(VSTGUI::CControl *control)
{
    if (control)
        beginEdit((VstInt32)control->getTag());
}

void AEffGUIEditor::controlEndEdit(VSTGUI::CControl *control)
{
    if (control)
        endEdit((VstInt32)control->getTag());
}
