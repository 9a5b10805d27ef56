#include "clap_gui.h"

#include "clap/clap_plugin.h"
#include "vst/aeff_editor.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// About 30 redraws a second: what a meter needs, and what every host's timers allow.
constexpr uint32_t kIdlePeriodMs = 33;

#ifdef _WIN32
constexpr const char *kApi = CLAP_WINDOW_API_WIN32;
#else
constexpr const char *kApi = CLAP_WINDOW_API_X11;
#endif

const ClapEditorWindowAccess *windowAccess = nullptr;

bool CLAP_ABI isApiSupported(const clap_plugin_t *p, const char *api, bool floating)
{
    ClapGui *gui = clapGuiOf(p);
    return gui && gui->isApiSupported(api, floating);
}
bool CLAP_ABI getPreferredApi(const clap_plugin_t *p, const char **api, bool *floating)
{
    if (!clapGuiOf(p) || !api || !floating)
        return false;
    *api = kApi;  // a pointer to the constant, never a copy
    *floating = false;
    return true;
}
bool CLAP_ABI create(const clap_plugin_t *p, const char *api, bool floating)
{
    ClapGui *gui = clapGuiOf(p);
    return gui && gui->create(api, floating);
}
void CLAP_ABI destroy(const clap_plugin_t *p)
{
    if (ClapGui *gui = clapGuiOf(p))
        gui->destroy();
}
bool CLAP_ABI setScale(const clap_plugin_t *p, double scale)
{
    ClapGui *gui = clapGuiOf(p);
    return gui && gui->setScale(scale);
}
bool CLAP_ABI getSize(const clap_plugin_t *p, uint32_t *width, uint32_t *height)
{
    ClapGui *gui = clapGuiOf(p);
    return gui && width && height && gui->getSize(*width, *height);
}
bool CLAP_ABI canResize(const clap_plugin_t *) { return false; }
bool CLAP_ABI getResizeHints(const clap_plugin_t *p, clap_gui_resize_hints_t *hints)
{
    if (!clapGuiOf(p) || !hints)
        return false;
    // The height follows the strip switches; neither direction is the user's to drag.
    *hints = clap_gui_resize_hints_t{};
    return true;
}
bool CLAP_ABI adjustSize(const clap_plugin_t *p, uint32_t *width, uint32_t *height)
{
    ClapGui *gui = clapGuiOf(p);
    return gui && width && height && gui->adjustSize(*width, *height);
}
bool CLAP_ABI setSize(const clap_plugin_t *p, uint32_t width, uint32_t height)
{
    ClapGui *gui = clapGuiOf(p);
    return gui && gui->setSize(width, height);
}
bool CLAP_ABI setParent(const clap_plugin_t *p, const clap_window_t *window)
{
    ClapGui *gui = clapGuiOf(p);
    return gui && gui->setParent(window);
}
// Embedded only: the floating functions refuse.
bool CLAP_ABI setTransient(const clap_plugin_t *, const clap_window_t *) { return false; }
void CLAP_ABI suggestTitle(const clap_plugin_t *, const char *) {}
bool CLAP_ABI show(const clap_plugin_t *p)
{
    ClapGui *gui = clapGuiOf(p);
    return gui && gui->show();
}
bool CLAP_ABI hide(const clap_plugin_t *p)
{
    ClapGui *gui = clapGuiOf(p);
    return gui && gui->hide();
}
void CLAP_ABI onTimer(const clap_plugin_t *p, clap_id timer)
{
    if (ClapGui *gui = clapGuiOf(p))
        gui->onTimer(timer);
}
void CLAP_ABI onFd(const clap_plugin_t *p, int fd, clap_posix_fd_flags_t flags)
{
    if (ClapGui *gui = clapGuiOf(p))
        gui->onDescriptor(fd, flags);
}

// Carla takes the gui extension only when every function but get_preferred_api is set.
constexpr clap_plugin_gui_t kGui{isApiSupported, getPreferredApi, create,         destroy,    setScale,
                                 getSize,        canResize,       getResizeHints, adjustSize, setSize,
                                 setParent,      setTransient,    suggestTitle,   show,       hide};
constexpr clap_plugin_timer_support_t kTimerSupport{onTimer};
constexpr clap_plugin_posix_fd_support_t kDescriptorSupport{onFd};

#ifdef _WIN32
// The frame window's timer: its id is the gui it serves.
void CALLBACK frameTimer(HWND, UINT, UINT_PTR id, DWORD) { reinterpret_cast<ClapGui *>(id)->onTimer(CLAP_INVALID_ID); }
#endif

template <typename Table> const Table *hostExtension(const clap_host_t *host, const char *id)
{
    return host && host->get_extension ? static_cast<const Table *>(host->get_extension(host, id)) : nullptr;
}

}  // namespace

void setClapEditorWindowAccess(const ClapEditorWindowAccess *access) { windowAccess = access; }

ClapGui::ClapGui(AEffect *effect, const clap_host_t *host) : effect(effect), host(host)
{
    // A table counts only with every function set.
    hostGui = hostExtension<clap_host_gui_t>(host, CLAP_EXT_GUI);
    if (hostGui && !hostGui->request_resize)
        hostGui = nullptr;
    hostTimers = hostExtension<clap_host_timer_support_t>(host, CLAP_EXT_TIMER_SUPPORT);
    if (hostTimers && (!hostTimers->register_timer || !hostTimers->unregister_timer))
        hostTimers = nullptr;
    hostDescriptors = hostExtension<clap_host_posix_fd_support_t>(host, CLAP_EXT_POSIX_FD_SUPPORT);
    if (hostDescriptors &&
        (!hostDescriptors->register_fd || !hostDescriptors->modify_fd || !hostDescriptors->unregister_fd))
        hostDescriptors = nullptr;
}

ClapGui::~ClapGui() { destroy(); }

const void *ClapGui::extension(const char *id)
{
    if (!id)
        return nullptr;
    if (!std::strcmp(id, CLAP_EXT_GUI))
        return &kGui;
#ifndef _WIN32
    if (!std::strcmp(id, CLAP_EXT_TIMER_SUPPORT))
        return &kTimerSupport;
    if (!std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT))
        return &kDescriptorSupport;
#endif
    return nullptr;
}

bool ClapGui::isApiSupported(const char *api, bool floating) const
{
    if (floating || !api || std::strcmp(api, kApi) != 0 || !(effect->flags & effFlagsHasEditor))
        return false;
#ifdef _WIN32
    return true;
#else
    // Without the host's timers nothing would ever draw or take input.
    return hostTimers != nullptr;
#endif
}

bool ClapGui::create(const char *api, bool floating)
{
    if (created || !isApiSupported(api, floating))
        return false;
    created = true;
    return true;
}

void ClapGui::destroy()
{
    if (!created)
        return;
    stopIdle();
#ifndef _WIN32
    // The descriptor is the editor's connection, which closes with the editor.
    if (descriptor >= 0 && hostDescriptors)
        hostDescriptors->unregister_fd(host, descriptor);
    descriptor = -1;
#endif
    if (open) {
        effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.f);
        open = false;
    }
    frameWindow = nullptr;
    created = false;
}

bool ClapGui::setScale(double scale)
{
    // NaN, zero, negative, infinite or beyond a float: refused, and the factor stays as it was.
    if (!(scale > 0) || !(scale <= FLT_MAX))
        return false;
    // The scale goes where a VST 2.4 host's announcement goes ('PreS' 'AeCs' to the effect), so
    // the editor keeps one order of sources: the user's stored choice first, then the host's.
    if (!effect->dispatcher(effect, effVendorSpecific, kHostScaleIndex, kHostScaleValue, nullptr, (float)scale))
        return false;
    // An open editor takes the factor now, not at its next idle, and asks the host for its new
    // size through request_resize; a closed one answers it from get_size.
    idle();
    return true;
}

bool ClapGui::getSize(uint32_t &w, uint32_t &h) const
{
    if (!created)
        return false;
    ERect *rect = nullptr;
    if (!effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.f) || !rect)
        return false;
    w = (uint32_t)(rect->right - rect->left);
    h = (uint32_t)(rect->bottom - rect->top);
    return w > 0 && h > 0;
}

bool ClapGui::adjustSize(uint32_t &w, uint32_t &h) const { return getSize(w, h); }

bool ClapGui::setSize(uint32_t w, uint32_t h) const
{
    uint32_t currentWidth = 0, currentHeight = 0;
    return getSize(currentWidth, currentHeight) && w == currentWidth && h == currentHeight;
}

bool ClapGui::setParent(const clap_window_t *window)
{
    if (!created || open || !window || !window->api || std::strcmp(window->api, kApi) != 0)
        return false;
#ifdef _WIN32
    void *parent = window->win32;
#else
    // The X11 window id travels by value in the pointer, as a Linux VST 2.4 host passes it.
    void *parent = reinterpret_cast<void *>((uintptr_t)window->x11);
#endif
    if (!parent || !effect->dispatcher(effect, effEditOpen, 0, 0, parent, 0.f))
        return false;
    open = true;
#ifdef _WIN32
    frameWindow = windowAccess ? windowAccess->frameWindow(effect) : nullptr;
#else
    const int fd = windowAccess ? windowAccess->eventDescriptor(effect) : -1;
    if (fd >= 0 && hostDescriptors && hostDescriptors->register_fd(host, fd, CLAP_POSIX_FD_READ | CLAP_POSIX_FD_ERROR))
        descriptor = fd;
#endif
    // The window is there and shown: it idles from now on.
    startIdle();
    return true;
}

bool ClapGui::show()
{
    if (!open)
        return false;
    startIdle();
    return true;
}

bool ClapGui::hide()
{
    if (!open)
        return false;
    stopIdle();
    return true;
}

void ClapGui::startIdle()
{
    if (shown)
        return;
#ifdef _WIN32
    shown = frameWindow &&
            SetTimer(static_cast<HWND>(frameWindow), reinterpret_cast<UINT_PTR>(this), kIdlePeriodMs, frameTimer) != 0;
#else
    shown = hostTimers && hostTimers->register_timer(host, kIdlePeriodMs, &timer);
#endif
}

void ClapGui::stopIdle()
{
#ifdef _WIN32
    if (shown && frameWindow)
        KillTimer(static_cast<HWND>(frameWindow), reinterpret_cast<UINT_PTR>(this));
#else
    if (shown && hostTimers)
        hostTimers->unregister_timer(host, timer);
    timer = CLAP_INVALID_ID;
#endif
    shown = false;
}

void ClapGui::onTimer(clap_id id)
{
#ifndef _WIN32
    if (id != timer)
        return;
#else
    (void)id;
#endif
    idle();
}

void ClapGui::onDescriptor(int fd, uint32_t)
{
    if (fd == descriptor)
        idle();
}

void ClapGui::idle()
{
    if (!open)
        return;
    effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.f);
}

ClapGui *clapGuiOf(const clap_plugin_t *plugin)
{
    ClapPlugin *instance = ClapPlugin::from(plugin);
    return instance ? instance->editorGui() : nullptr;
}
