#include "clap_editor.h"

const char *ClapEditor::nativeApi()
{
#ifdef _WIN32
    return CLAP_WINDOW_API_WIN32;
#else
    return CLAP_WINDOW_API_X11;
#endif
}

bool ClapEditor::open(std::string &error)
{
    const clap_plugin_gui_t *gui = instance.gui();
    const clap_plugin_t *plugin = instance.plugin();
    if (!gui) {
        error = "the plug-in has no gui extension";
        return false;
    }
    if (!gui->is_api_supported(plugin, nativeApi(), false)) {
        error = std::string("the plug-in cannot embed an editor with ") + nativeApi();
        return false;
    }
    if (!gui->create(plugin, nativeApi(), false)) {
        error = "gui.create answered false";
        return false;
    }
    created = true;
    gui->set_scale(plugin, 1.0);  // either answer is allowed
    gui->can_resize(plugin);
    if (!gui->get_size(plugin, &currentWidth, &currentHeight)) {
        error = "gui.get_size answered false";
        close();
        return false;
    }
    window.resize((int)currentWidth, (int)currentHeight);
    clap_window_t parent{};
    parent.api = nativeApi();
#ifdef _WIN32
    parent.win32 = window.parentHandle();
#else
    parent.x11 = (clap_xwnd) reinterpret_cast<uintptr_t>(window.parentHandle());
#endif
    seenCalls = instance.host().calls().size();
    if (!gui->set_parent(plugin, &parent)) {
        error = "gui.set_parent answered false";
        close();
        return false;
    }
    if (!gui->show(plugin)) {
        error = "gui.show answered false";
        close();
        return false;
    }
    if (!window.attach()) {
        error = "no editor window appeared in the parent";
        close();
        return false;
    }
    return true;
}

void ClapEditor::idle(bool forceTimers)
{
    ClapHost &host = instance.host();
    host.pollDescriptors(0);
    host.fireDueTimers(forceTimers);
    window.pump();
    answerResizeRequests();
}

void ClapEditor::answerResizeRequests()
{
    const std::vector<ClapHostCall> calls = instance.host().calls();
    if (seenCalls > calls.size())
        seenCalls = 0;  // the record was cleared
    for (; seenCalls < calls.size(); ++seenCalls)
        if (calls[seenCalls].kind == ClapHostCall::RequestResize && instance.host().acceptResize) {
            currentWidth = calls[seenCalls].a;
            currentHeight = calls[seenCalls].b;
            window.resize((int)currentWidth, (int)currentHeight);
        }
}

void ClapEditor::close()
{
    if (!created)
        return;
    const clap_plugin_gui_t *gui = instance.gui();
    gui->hide(instance.plugin());
    gui->destroy(instance.plugin());
    created = false;
}
