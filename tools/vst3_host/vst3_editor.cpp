#include "vst3_editor.h"

Vst3Editor::Vst3Editor(Vst3Instance &instance, HarnessEditorWindow &window) : instance(instance), window(window)
{
    frame.resizeParent = resizeParent;
    frame.resizeContext = this;
}

const char *Vst3Editor::platformType()
{
#ifdef _WIN32
    return vst3::kPlatformTypeHWND;
#else
    return vst3::kPlatformTypeX11EmbedWindowID;
#endif
}

void Vst3Editor::resizeParent(void *context, int width, int height)
{
    auto *editor = static_cast<Vst3Editor *>(context);
    editor->currentWidth = width;
    editor->currentHeight = height;
    editor->window.resize(width, height);
}

bool Vst3Editor::open(std::string &error, float scale)
{
    view = instance.editController()->createView(vst3::kEditorViewType);
    if (!view) {
        error = "createView(\"editor\") answered null";
        return false;
    }
    if (view->isPlatformTypeSupported(platformType()) != vst3::kResultTrue) {
        error = std::string("the view does not embed in ") + platformType();
        close();
        return false;
    }
    if (scale > 0) {
        void *object = nullptr;
        if (view->queryInterface(vst3::IPlugViewContentScaleSupport::iid.data(), &object) == vst3::kResultOk) {
            auto *scaling = static_cast<vst3::IPlugViewContentScaleSupport *>(object);
            scaling->setContentScaleFactor(scale);  // either answer is allowed
            scaling->release();
        }
    }
    view->canResize();
    vst3::ViewRect rect{};
    if (view->getSize(&rect) != vst3::kResultOk || rect.right - rect.left <= 1 || rect.bottom - rect.top <= 1) {
        error = "getSize gave no size";
        close();
        return false;
    }
    currentWidth = rect.right - rect.left;
    currentHeight = rect.bottom - rect.top;
    window.resize(currentWidth, currentHeight);
    view->setFrame(&frame);
    if (view->attached(window.parentHandle(), platformType()) != vst3::kResultOk) {
        error = "attached failed";
        close();
        return false;
    }
    attached = true;
    if (!window.attach()) {
        error = "no editor window appeared in the parent";
        close();
        return false;
    }
    return true;
}

void Vst3Editor::idle(bool forceTimers)
{
#ifndef _WIN32
    frame.runLoop.pollDescriptors(0);
    frame.runLoop.fireDueTimers(forceTimers);
#else
    (void)forceTimers;
#endif
    window.pump();
}

void Vst3Editor::close()
{
    if (!view)
        return;
    view->setFrame(nullptr);
    if (attached)
        view->removed();
    attached = false;
    view->release();
    view = nullptr;
}
