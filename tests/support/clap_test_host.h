// A small CLAP host for tests: loads a .clap file by path as a host does (dlopen / LoadLibrary
// and its clap_entry), offers thread-check (the test's thread is both main and audio thread) and
// params (it counts rescans and flush requests), and has the event lists and memory streams a
// test drives an instance with. Header only, so that any suite can use it. Thread: the test's.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "clap/clap_interface.h"

class ClapModule {
public:
    explicit ClapModule(const std::string &path)
    {
#if defined(_WIN32)
        std::wstring wide(path.begin(), path.end());
        handle = LoadLibraryW(wide.c_str());
        if (handle)
            entry = reinterpret_cast<const clap_plugin_entry_t *>(
                reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(handle), "clap_entry")));
#else
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle)
            entry = static_cast<const clap_plugin_entry_t *>(dlsym(handle, "clap_entry"));
#endif
        initialised = entry && entry->init && entry->init(path.c_str());
        if (initialised && entry->get_factory)
            factory = static_cast<const clap_plugin_factory_t *>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
    }
    ~ClapModule()
    {
        if (initialised)
            entry->deinit();
        // The library stays mapped: it is resident once called, as the VST 2.4 one is.
    }
    ClapModule(const ClapModule &) = delete;
    ClapModule &operator=(const ClapModule &) = delete;

    void *handle = nullptr;
    const clap_plugin_entry_t *entry = nullptr;
    const clap_plugin_factory_t *factory = nullptr;
    bool initialised = false;
};

// The host record with the extensions the plug-in asks for; what the plug-in asked is counted.
struct ClapTestHost {
    clap_host_t host;
    clap_host_thread_check_t threadCheck;
    clap_host_params_t params;
    int rescans = 0;
    uint32_t rescanFlags = 0;
    int flushRequests = 0;
    int callbackRequests = 0;

    ClapTestHost()
    {
        host = {CLAP_VERSION_INIT,
                this,
                "zem tests",
                "velmora",
                "",
                "1.0",
                getExtension,
                [](const clap_host_t *) {},
                [](const clap_host_t *) {},
                requestCallback};
        threadCheck = {[](const clap_host_t *) { return true; }, [](const clap_host_t *) { return true; }};
        params = {rescan, [](const clap_host_t *, clap_id, uint32_t) {}, requestFlush};
    }
    ClapTestHost(const ClapTestHost &) = delete;
    ClapTestHost &operator=(const ClapTestHost &) = delete;

    static ClapTestHost &of(const clap_host_t *h) { return *static_cast<ClapTestHost *>(h->host_data); }
    static const void *CLAP_ABI getExtension(const clap_host_t *h, const char *id)
    {
        if (std::strcmp(id, CLAP_EXT_THREAD_CHECK) == 0)
            return &of(h).threadCheck;
        if (std::strcmp(id, CLAP_EXT_PARAMS) == 0)
            return &of(h).params;
        return nullptr;
    }
    static void CLAP_ABI rescan(const clap_host_t *h, uint32_t flags)
    {
        ++of(h).rescans;
        of(h).rescanFlags |= flags;
    }
    static void CLAP_ABI requestFlush(const clap_host_t *h) { ++of(h).flushRequests; }
    static void CLAP_ABI requestCallback(const clap_host_t *h) { ++of(h).callbackRequests; }
};

// Host to plug-in: parameter values at sample positions, kept in time order by the test.
struct ClapInputEvents {
    clap_input_events_t list;
    std::vector<clap_event_param_value_t> values;

    ClapInputEvents()
    {
        list.ctx = this;
        list.size = [](const clap_input_events_t *l) {
            return (uint32_t) static_cast<ClapInputEvents *>(l->ctx)->values.size();
        };
        list.get = [](const clap_input_events_t *l, uint32_t i) -> const clap_event_header_t * {
            auto &values = static_cast<ClapInputEvents *>(l->ctx)->values;
            return i < values.size() ? &values[i].header : nullptr;
        };
    }
    void add(clap_id id, double value, uint32_t time = 0, uint16_t space = CLAP_CORE_EVENT_SPACE_ID)
    {
        clap_event_param_value_t event = {};
        event.header = {sizeof event, time, space, CLAP_EVENT_PARAM_VALUE, 0};
        event.param_id = id;
        event.note_id = -1;
        event.port_index = event.channel = event.key = -1;
        event.value = value;
        values.push_back(event);
    }
};

// Plug-in to host: what was pushed, as (type, param_id, value) in order.
struct ClapOutputEvents {
    struct Event {
        uint16_t type;
        clap_id id;
        double value;
        uint32_t time;
    };
    clap_output_events_t list;
    std::vector<Event> events;

    ClapOutputEvents()
    {
        list.ctx = this;
        list.try_push = [](const clap_output_events_t *l, const clap_event_header_t *e) {
            Event copy = {e->type, 0, 0.0, e->time};
            if (e->type == CLAP_EVENT_PARAM_VALUE) {
                const auto *v = reinterpret_cast<const clap_event_param_value_t *>(e);
                copy.id = v->param_id;
                copy.value = v->value;
            } else if (e->type == CLAP_EVENT_PARAM_GESTURE_BEGIN || e->type == CLAP_EVENT_PARAM_GESTURE_END) {
                copy.id = reinterpret_cast<const clap_event_param_gesture_t *>(e)->param_id;
            }
            static_cast<ClapOutputEvents *>(l->ctx)->events.push_back(copy);
            return true;
        };
    }
};

// A memory stream that moves at most `piece` bytes per call; reading fails (-1) once failAt
// bytes have been read, when failAt is given.
struct ClapMemoryStreams {
    std::vector<unsigned char> bytes;
    size_t piece = 1u << 20;
    size_t readPosition = 0;
    size_t failAt = (size_t)-1;
    clap_ostream_t out;
    clap_istream_t in;

    ClapMemoryStreams()
    {
        out.ctx = this;
        out.write = [](const clap_ostream_t *s, const void *data, uint64_t size) -> int64_t {
            auto &self = *static_cast<ClapMemoryStreams *>(s->ctx);
            const size_t n = size < self.piece ? (size_t)size : self.piece;
            self.bytes.insert(self.bytes.end(), static_cast<const unsigned char *>(data),
                              static_cast<const unsigned char *>(data) + n);
            return (int64_t)n;
        };
        in.ctx = this;
        in.read = [](const clap_istream_t *s, void *data, uint64_t size) -> int64_t {
            auto &self = *static_cast<ClapMemoryStreams *>(s->ctx);
            if (self.readPosition >= self.failAt)
                return -1;
            size_t n = self.bytes.size() - self.readPosition;
            n = n < self.piece ? n : self.piece;
            n = n < size ? n : (size_t)size;
            if (n == 0)
                return 0;
            std::memcpy(data, self.bytes.data() + self.readPosition, n);
            self.readPosition += n;
            return (int64_t)n;
        };
    }
};
