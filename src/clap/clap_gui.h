// The editor of one CLAP instance: the plug-in side of the gui extension, embedded only (win32
// on Windows, x11 on Linux), and of timer-support and posix-fd-support, on top of the effect's
// own VST 2.4 editor, driven through the effect's record (effEditGetRect, effEditOpen,
// effEditIdle, effEditClose) as a VST 2.4 host drives it, so that the editor has one behaviour.
//
// CLAP has no idle call. On Linux the editor's idle work comes from the host's timer-support
// (about 30 per second while shown), and the X connection's descriptor is registered with the
// host's posix-fd-support so that input is handled when it arrives; a host that offers no
// timer-support gets no editor (is_api_supported answers false) rather than a frozen one. On
// Windows a timer of the frame's own window (SetTimer) brings the idle work, since the host's
// message loop dispatches its messages.
//
// The window is 586 pixels wide and 169 to 261 high at 100 %, times the editor's zoom factor,
// the height chosen by the strip switches, not by dragging: can_resize answers false,
// adjust_size gives the current (scaled) size, the only one the editor can take, and set_size
// accepts that size only. When the editor changes its height or its factor it asks the host
// through request_resize.
//
// set_scale is the host's factor (win32 and x11 windows are in physical pixels, so 2.0 doubles
// the window): it goes to the effect as a VST 2.4 host's 'PreS' 'AeCs' announcement does, so
// the user's stored choice still comes first and the window's DPI only after it. Accepted before
// or after create and while open (the open editor resizes at once); a scale that is not a
// positive finite number is refused. Hosts that never call it leave the factor to the window's
// DPI (Windows) or Xft.dpi (X11), as in VST 2.4.
//
// The hosts' orders all work: get_size before set_parent (clap-host) or after it (Carla,
// Qtractor), can_resize before create (Carla's scan: answered from what is known without a
// gui), set_scale before, after or never, create followed by destroy without show, and a gui
// destroyed at every close and created again. The editor's VST 2.4 window opens in set_parent
// and idles from then on; hide stops the idle work and show starts it again.
//
// Every function [main-thread].
#pragma once

#include <cstdint>

#include "clap/clap_interface.h"
#include "vst/aeffect.h"

class ClapGui {
public:
    // host: the host record the instance was created with; its gui, timer-support and
    // posix-fd-support extensions are looked up here, so construct the gui in the plug-in's init.
    ClapGui(AEffect *effect, const clap_host_t *host);
    ~ClapGui();  // destroys an editor still open
    ClapGui(const ClapGui &) = delete;
    ClapGui &operator=(const ClapGui &) = delete;

    // The plug-in's tables for these extension ids (gui, timer-support, posix-fd-support), null
    // for any other id. [thread-safe]
    static const void *extension(const char *id);

    // The gui extension's entry points (the static tables call these).
    bool isApiSupported(const char *api, bool floating) const;
    bool create(const char *api, bool floating);
    void destroy();
    bool setScale(double scale);
    bool getSize(uint32_t &width, uint32_t &height) const;
    bool adjustSize(uint32_t &width, uint32_t &height) const;
    bool setSize(uint32_t width, uint32_t height) const;
    bool setParent(const clap_window_t *window);
    bool show();
    bool hide();
    void onTimer(clap_id timer);
    void onDescriptor(int fd, uint32_t flags);

private:
    void startIdle();
    void stopIdle();
    void idle();

    AEffect *effect;
    const clap_host_t *host;
    const clap_host_gui_t *hostGui = nullptr;
    const clap_host_timer_support_t *hostTimers = nullptr;
    const clap_host_posix_fd_support_t *hostDescriptors = nullptr;
    bool created = false;
    bool open = false;   // the VST editor is open on the host's parent
    bool shown = false;  // idle work runs
    clap_id timer = CLAP_INVALID_ID;
    int descriptor = -1;
    void *frameWindow = nullptr;  // Windows: the frame's HWND, whose timer brings idle
};

// How the gui reaches the editor's window beyond the effect's record. The editor's classes lie
// above this layer, so the entry, which sees them, fills this in (src/entry/clap_editor_window.cpp).
struct ClapEditorWindowAccess {
    // Windows: the frame's HWND while the editor is open, else null.
    void *(*frameWindow)(AEffect *effect);
    // Linux: the descriptor of the editor's X connection while it is open, else -1.
    int (*eventDescriptor)(AEffect *effect);
};
// [any-thread], before any instance exists (the entry does it as the library loads).
void setClapEditorWindowAccess(const ClapEditorWindowAccess *access);

// The gui of an instance, found through the instance's plug-in record; the adapter defines it
// (plugin_data leads to the object that owns the gui). Null when the instance has none.
ClapGui *clapGuiOf(const clap_plugin_t *plugin);
