// The host side of one CLAP instance: the clap_host_t record a host passes to create_plugin and
// the host extensions a desktop host offers (thread-check, log, params, state, latency,
// audio-ports, gui, timer-support and, on Linux, posix-fd-support). Every call the plug-in makes
// into the host is recorded with the thread it came from, so that tests can check what the
// plug-in asked for and on which thread; timers and file descriptors the plug-in registers are
// kept and served by fireDueTimers and pollDescriptors, as a host's event loop would.
// The thread that builds the host is its main thread; the audio thread is whichever thread runs
// inside an AudioThreadScope.
// Thread: the main thread, except the callbacks, which may come from any thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "clap/clap_interface.h"

struct ClapHostCall {
    enum Kind {
        RequestRestart,
        RequestProcess,
        RequestCallback,
        ParamsRescan,  // a: the flags
        ParamsClear,   // a: the parameter id, b: the flags
        RequestFlush,
        MarkDirty,
        LatencyChanged,
        AudioPortsRescan,  // a: the flags
        ResizeHintsChanged,
        RequestResize,  // a × b
        RequestShow,
        RequestHide,
        Closed,             // a: was_destroyed
        TimerRegistered,    // a: the period in ms, b: the id given
        TimerUnregistered,  // a: the id
        FdRegistered,       // a: the descriptor, b: the flags
        FdModified,         // a: the descriptor, b: the flags
        FdUnregistered,     // a: the descriptor
        Log,                // a: the severity, text: the message
    } kind;
    uint32_t a = 0, b = 0;
    std::string text;
    bool onMainThread = true;
    bool onAudioThread = false;
};

// A name for a recorded call, as the harness prints it ("request_resize 586x221").
std::string describeHostCall(const ClapHostCall &call);

class ClapHost {
public:
    ClapHost();
    ClapHost(const ClapHost &) = delete;
    ClapHost &operator=(const ClapHost &) = delete;

    const clap_host_t *record() const { return &host; }
    // The instance whose timer and fd entry points the host calls; null before create.
    void attach(const clap_plugin_t *plugin) { attached = plugin; }

    // What the host offers: the gui, timer-support and posix-fd-support extensions can be
    // withheld, as hosts without them would (clap-validator offers none of the three).
    bool offersGui = true;
    bool offersTimers = true;
    bool offersDescriptors = true;
    // The answer to request_resize.
    bool acceptResize = true;

    std::vector<ClapHostCall> calls() const;
    void clearCalls();
    size_t count(ClapHostCall::Kind kind) const;
    // Calls of the main-thread functions that came from another thread.
    size_t callsOffMainThread() const;
    // How often the plug-in asked thread-check, and how many of the answers were "no".
    int threadChecks() const { return threadCheckCount; }
    int threadChecksAnsweredNo() const { return threadCheckNo; }

    bool isMainThread() const { return std::this_thread::get_id() == mainThread; }
    static bool isAudioThread();

    // Calls on_timer for every registered timer whose period has passed since it last fired
    // (all of them when force); answers how many fired. Main thread.
    int fireDueTimers(bool force = false);
    // Waits up to timeoutMs for the registered descriptors (Linux) and calls on_fd for those
    // ready; answers how many were. Main thread.
    int pollDescriptors(int timeoutMs);
    struct Timer {
        clap_id id;
        uint32_t periodMs;
        std::chrono::steady_clock::time_point last;
    };
    std::vector<Timer> timers() const;
    struct Descriptor {
        int fd;
        uint32_t flags;
    };
    std::vector<Descriptor> descriptors() const;

private:
    void note(ClapHostCall::Kind kind, uint32_t a = 0, uint32_t b = 0, std::string text = std::string());
    static ClapHost &of(const clap_host_t *host) { return *static_cast<ClapHost *>(host->host_data); }
    static const void *CLAP_ABI getExtension(const clap_host_t *host, const char *id);

    clap_host_t host{};
    const clap_plugin_t *attached = nullptr;
    std::thread::id mainThread;
    mutable std::mutex mutex;
    std::vector<ClapHostCall> recorded;
    std::vector<Timer> timerList;
    std::vector<Descriptor> descriptorList;
    clap_id nextTimer = 0;  // hosts commonly count from 0: the plug-in must not take 0 as "none"
    std::atomic<int> threadCheckCount{0};
    std::atomic<int> threadCheckNo{0};

    friend struct ClapHostTables;
};

// Marks the calling thread as the audio thread while it lives.
class AudioThreadScope {
public:
    AudioThreadScope();
    ~AudioThreadScope();
    AudioThreadScope(const AudioThreadScope &) = delete;
    AudioThreadScope &operator=(const AudioThreadScope &) = delete;

private:
    bool was;
};
