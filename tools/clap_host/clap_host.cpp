#include "clap_host.h"

#include <algorithm>
#include <cstring>

#ifndef _WIN32
#include <poll.h>
#endif

namespace {
thread_local bool audioThread = false;
}  // namespace

AudioThreadScope::AudioThreadScope() : was(audioThread) { audioThread = true; }
AudioThreadScope::~AudioThreadScope() { audioThread = was; }

bool ClapHost::isAudioThread() { return audioThread; }

std::string describeHostCall(const ClapHostCall &call)
{
    const std::string a = std::to_string(call.a), b = std::to_string(call.b);
    switch (call.kind) {
    case ClapHostCall::RequestRestart:
        return "request_restart";
    case ClapHostCall::RequestProcess:
        return "request_process";
    case ClapHostCall::RequestCallback:
        return "request_callback";
    case ClapHostCall::ParamsRescan:
        return "params.rescan " + a;
    case ClapHostCall::ParamsClear:
        return "params.clear " + a + " " + b;
    case ClapHostCall::RequestFlush:
        return "params.request_flush";
    case ClapHostCall::MarkDirty:
        return "state.mark_dirty";
    case ClapHostCall::LatencyChanged:
        return "latency.changed";
    case ClapHostCall::AudioPortsRescan:
        return "audio_ports.rescan " + a;
    case ClapHostCall::ResizeHintsChanged:
        return "gui.resize_hints_changed";
    case ClapHostCall::RequestResize:
        return "gui.request_resize " + a + "x" + b;
    case ClapHostCall::RequestShow:
        return "gui.request_show";
    case ClapHostCall::RequestHide:
        return "gui.request_hide";
    case ClapHostCall::Closed:
        return "gui.closed " + a;
    case ClapHostCall::TimerRegistered:
        return "timer.register " + a + " ms";
    case ClapHostCall::TimerUnregistered:
        return "timer.unregister";
    case ClapHostCall::FdRegistered:
        return "fd.register " + b;
    case ClapHostCall::FdModified:
        return "fd.modify " + b;
    case ClapHostCall::FdUnregistered:
        return "fd.unregister";
    case ClapHostCall::Log:
        return "log " + a + " " + call.text;
    }
    return "?";
}

// The host extension tables: plain functions with the interface's calling convention, each
// finding its host through host_data.
struct ClapHostTables {
    static bool CLAP_ABI isMain(const clap_host_t *h)
    {
        ClapHost &host = ClapHost::of(h);
        ++host.threadCheckCount;
        const bool answer = host.isMainThread();
        host.threadCheckNo += answer ? 0 : 1;
        return answer;
    }
    static bool CLAP_ABI isAudio(const clap_host_t *h)
    {
        ClapHost &host = ClapHost::of(h);
        ++host.threadCheckCount;
        const bool answer = ClapHost::isAudioThread();
        host.threadCheckNo += answer ? 0 : 1;
        return answer;
    }
    static void CLAP_ABI log(const clap_host_t *h, clap_log_severity severity, const char *message)
    {
        ClapHost::of(h).note(ClapHostCall::Log, (uint32_t)severity, 0, message ? message : "(null)");
    }
    static void CLAP_ABI rescan(const clap_host_t *h, clap_param_rescan_flags flags)
    {
        ClapHost::of(h).note(ClapHostCall::ParamsRescan, flags);
    }
    static void CLAP_ABI clear(const clap_host_t *h, clap_id id, clap_param_clear_flags flags)
    {
        ClapHost::of(h).note(ClapHostCall::ParamsClear, id, flags);
    }
    static void CLAP_ABI requestFlush(const clap_host_t *h) { ClapHost::of(h).note(ClapHostCall::RequestFlush); }
    static void CLAP_ABI markDirty(const clap_host_t *h) { ClapHost::of(h).note(ClapHostCall::MarkDirty); }
    static void CLAP_ABI latencyChanged(const clap_host_t *h) { ClapHost::of(h).note(ClapHostCall::LatencyChanged); }
    static bool CLAP_ABI rescanFlagSupported(const clap_host_t *, uint32_t) { return false; }
    static void CLAP_ABI portsRescan(const clap_host_t *h, uint32_t flags)
    {
        ClapHost::of(h).note(ClapHostCall::AudioPortsRescan, flags);
    }
    static void CLAP_ABI hintsChanged(const clap_host_t *h) { ClapHost::of(h).note(ClapHostCall::ResizeHintsChanged); }
    static bool CLAP_ABI requestResize(const clap_host_t *h, uint32_t width, uint32_t height)
    {
        ClapHost::of(h).note(ClapHostCall::RequestResize, width, height);
        return ClapHost::of(h).acceptResize;
    }
    static bool CLAP_ABI requestShow(const clap_host_t *h)
    {
        ClapHost::of(h).note(ClapHostCall::RequestShow);
        return false;
    }
    static bool CLAP_ABI requestHide(const clap_host_t *h)
    {
        ClapHost::of(h).note(ClapHostCall::RequestHide);
        return false;
    }
    static void CLAP_ABI closed(const clap_host_t *h, bool destroyed)
    {
        ClapHost::of(h).note(ClapHostCall::Closed, destroyed ? 1 : 0);
    }
    static bool CLAP_ABI registerTimer(const clap_host_t *h, uint32_t periodMs, clap_id *id)
    {
        ClapHost &host = ClapHost::of(h);
        if (!id)
            return false;
        {
            std::lock_guard<std::mutex> hold(host.mutex);
            *id = host.nextTimer++;
            host.timerList.push_back({*id, periodMs, std::chrono::steady_clock::now()});
        }
        host.note(ClapHostCall::TimerRegistered, periodMs, *id);
        return true;
    }
    static bool CLAP_ABI unregisterTimer(const clap_host_t *h, clap_id id)
    {
        ClapHost &host = ClapHost::of(h);
        host.note(ClapHostCall::TimerUnregistered, id);
        std::lock_guard<std::mutex> hold(host.mutex);
        auto found = std::find_if(host.timerList.begin(), host.timerList.end(),
                                  [id](const ClapHost::Timer &t) { return t.id == id; });
        if (found == host.timerList.end())
            return false;
        host.timerList.erase(found);
        return true;
    }
    static bool CLAP_ABI registerFd(const clap_host_t *h, int fd, clap_posix_fd_flags_t flags)
    {
        ClapHost &host = ClapHost::of(h);
        host.note(ClapHostCall::FdRegistered, (uint32_t)fd, flags);
        std::lock_guard<std::mutex> hold(host.mutex);
        for (const ClapHost::Descriptor &d : host.descriptorList)
            if (d.fd == fd)
                return false;
        host.descriptorList.push_back({fd, flags});
        return true;
    }
    static bool CLAP_ABI modifyFd(const clap_host_t *h, int fd, clap_posix_fd_flags_t flags)
    {
        ClapHost &host = ClapHost::of(h);
        host.note(ClapHostCall::FdModified, (uint32_t)fd, flags);
        std::lock_guard<std::mutex> hold(host.mutex);
        for (ClapHost::Descriptor &d : host.descriptorList)
            if (d.fd == fd) {
                d.flags = flags;
                return true;
            }
        return false;
    }
    static bool CLAP_ABI unregisterFd(const clap_host_t *h, int fd)
    {
        ClapHost &host = ClapHost::of(h);
        host.note(ClapHostCall::FdUnregistered, (uint32_t)fd);
        std::lock_guard<std::mutex> hold(host.mutex);
        auto found = std::find_if(host.descriptorList.begin(), host.descriptorList.end(),
                                  [fd](const ClapHost::Descriptor &d) { return d.fd == fd; });
        if (found == host.descriptorList.end())
            return false;
        host.descriptorList.erase(found);
        return true;
    }
    static void CLAP_ABI requestRestart(const clap_host_t *h) { ClapHost::of(h).note(ClapHostCall::RequestRestart); }
    static void CLAP_ABI requestProcess(const clap_host_t *h) { ClapHost::of(h).note(ClapHostCall::RequestProcess); }
    static void CLAP_ABI requestCallback(const clap_host_t *h) { ClapHost::of(h).note(ClapHostCall::RequestCallback); }

    static constexpr clap_host_thread_check_t threadCheck{isMain, isAudio};
    static constexpr clap_host_log_t logTable{log};
    static constexpr clap_host_params_t params{rescan, clear, requestFlush};
    static constexpr clap_host_state_t state{markDirty};
    static constexpr clap_host_latency_t latency{latencyChanged};
    static constexpr clap_host_audio_ports_t audioPorts{rescanFlagSupported, portsRescan};
    static constexpr clap_host_gui_t gui{hintsChanged, requestResize, requestShow, requestHide, closed};
    static constexpr clap_host_timer_support_t timerSupport{registerTimer, unregisterTimer};
    static constexpr clap_host_posix_fd_support_t fdSupport{registerFd, modifyFd, unregisterFd};
};

ClapHost::ClapHost() : mainThread(std::this_thread::get_id())
{
    host.clap_version = CLAP_VERSION_INIT;
    host.host_data = this;
    host.name = "zem_clap_host";
    host.vendor = "Velmora";
    host.url = "";
    host.version = "1.0";
    host.get_extension = getExtension;
    host.request_restart = ClapHostTables::requestRestart;
    host.request_process = ClapHostTables::requestProcess;
    host.request_callback = ClapHostTables::requestCallback;
}

const void *CLAP_ABI ClapHost::getExtension(const clap_host_t *h, const char *id)
{
    if (!h || !id)
        return nullptr;
    ClapHost &self = of(h);
    if (!std::strcmp(id, CLAP_EXT_THREAD_CHECK))
        return &ClapHostTables::threadCheck;
    if (!std::strcmp(id, CLAP_EXT_LOG))
        return &ClapHostTables::logTable;
    if (!std::strcmp(id, CLAP_EXT_PARAMS))
        return &ClapHostTables::params;
    if (!std::strcmp(id, CLAP_EXT_STATE))
        return &ClapHostTables::state;
    if (!std::strcmp(id, CLAP_EXT_LATENCY))
        return &ClapHostTables::latency;
    if (!std::strcmp(id, CLAP_EXT_AUDIO_PORTS))
        return &ClapHostTables::audioPorts;
    if (!std::strcmp(id, CLAP_EXT_GUI) && self.offersGui)
        return &ClapHostTables::gui;
    if (!std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) && self.offersTimers)
        return &ClapHostTables::timerSupport;
#ifndef _WIN32
    if (!std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT) && self.offersDescriptors)
        return &ClapHostTables::fdSupport;
#endif
    return nullptr;
}

void ClapHost::note(ClapHostCall::Kind kind, uint32_t a, uint32_t b, std::string text)
{
    ClapHostCall call{kind, a, b, std::move(text), isMainThread(), isAudioThread()};
    std::lock_guard<std::mutex> hold(mutex);
    recorded.push_back(std::move(call));
}

std::vector<ClapHostCall> ClapHost::calls() const
{
    std::lock_guard<std::mutex> hold(mutex);
    return recorded;
}

void ClapHost::clearCalls()
{
    std::lock_guard<std::mutex> hold(mutex);
    recorded.clear();
}

size_t ClapHost::count(ClapHostCall::Kind kind) const
{
    std::lock_guard<std::mutex> hold(mutex);
    return (size_t)std::count_if(recorded.begin(), recorded.end(),
                                 [kind](const ClapHostCall &c) { return c.kind == kind; });
}

size_t ClapHost::callsOffMainThread() const
{
    std::lock_guard<std::mutex> hold(mutex);
    size_t n = 0;
    for (const ClapHostCall &c : recorded) {
        // Only these may come from elsewhere: request_flush (not the audio thread), the
        // requests of the clap_host_t record, and log.
        const bool anyThread = c.kind == ClapHostCall::RequestRestart || c.kind == ClapHostCall::RequestProcess ||
                               c.kind == ClapHostCall::RequestCallback || c.kind == ClapHostCall::Log ||
                               (c.kind == ClapHostCall::RequestFlush && !c.onAudioThread);
        if (!c.onMainThread && !anyThread)
            ++n;
    }
    return n;
}

std::vector<ClapHost::Timer> ClapHost::timers() const
{
    std::lock_guard<std::mutex> hold(mutex);
    return timerList;
}

std::vector<ClapHost::Descriptor> ClapHost::descriptors() const
{
    std::lock_guard<std::mutex> hold(mutex);
    return descriptorList;
}

int ClapHost::fireDueTimers(bool force)
{
    if (!attached)
        return 0;
    auto *support = static_cast<const clap_plugin_timer_support_t *>(
        attached->get_extension(attached, CLAP_EXT_TIMER_SUPPORT));
    if (!support || !support->on_timer)
        return 0;
    const auto now = std::chrono::steady_clock::now();
    std::vector<clap_id> due;
    {
        std::lock_guard<std::mutex> hold(mutex);
        for (Timer &t : timerList)
            if (force || now - t.last >= std::chrono::milliseconds(t.periodMs)) {
                t.last = now;
                due.push_back(t.id);
            }
    }
    // Called without the lock: on_timer may register or unregister timers.
    for (clap_id id : due)
        support->on_timer(attached, id);
    return (int)due.size();
}

int ClapHost::pollDescriptors(int timeoutMs)
{
#ifdef _WIN32
    (void)timeoutMs;
    return 0;
#else
    if (!attached)
        return 0;
    auto *support = static_cast<const clap_plugin_posix_fd_support_t *>(
        attached->get_extension(attached, CLAP_EXT_POSIX_FD_SUPPORT));
    std::vector<pollfd> watched;
    for (const Descriptor &d : descriptors())
        watched.push_back(pollfd{
            d.fd,
            (short)(((d.flags & CLAP_POSIX_FD_READ) ? POLLIN : 0) | ((d.flags & CLAP_POSIX_FD_WRITE) ? POLLOUT : 0)),
            0});
    if (!support || !support->on_fd || watched.empty())
        return 0;
    if (poll(watched.data(), watched.size(), timeoutMs) <= 0)
        return 0;
    int ready = 0;
    for (const pollfd &p : watched) {
        uint32_t flags = ((p.revents & POLLIN) ? CLAP_POSIX_FD_READ : 0) |
                         ((p.revents & POLLOUT) ? CLAP_POSIX_FD_WRITE : 0) |
                         ((p.revents & (POLLERR | POLLHUP)) ? CLAP_POSIX_FD_ERROR : 0);
        if (flags) {
            support->on_fd(attached, p.fd, flags);
            ++ready;
        }
    }
    return ready;
#endif
}
