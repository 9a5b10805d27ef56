// A small LV2 host of ours on lilv, for the tests: a world holding only the built bundle
// (ZEM_LV2_BUNDLE_DIR), a URID map, and instances with every port connected to buffers of the
// fixture (audio pins may be left unconnected, as a mono host leaves the second pair). The state
// is saved and restored through lilv as hosts do, with the port values kept apart so that a test
// chooses the order of the two. Reusable: the editor's tests build on it. [main-thread]
#pragma once

#include <lilv/lilv.h>
#include <lv2/core/lv2.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lv2/lv2_ports.h"
#include "lv2/lv2_uris.h"

class Lv2UridMap {
public:
    Lv2UridMap()
    {
        mapFeature = {LV2_URID__map, &map};
        unmapFeature = {LV2_URID__unmap, &unmap};
    }
    LV2_URID id(const char *uri)
    {
        auto found = ids.find(uri);
        if (found != ids.end())
            return found->second;
        uris.push_back(uri);
        return ids[uri] = (LV2_URID)uris.size();
    }
    const char *uri(LV2_URID id) const { return id >= 1 && id <= uris.size() ? uris[id - 1].c_str() : nullptr; }

    LV2_URID_Map map{this, [](LV2_URID_Map_Handle h, const char *u) { return static_cast<Lv2UridMap *>(h)->id(u); }};
    LV2_URID_Unmap unmap{this,
                         [](LV2_URID_Unmap_Handle h, LV2_URID i) { return static_cast<Lv2UridMap *>(h)->uri(i); }};
    LV2_Feature mapFeature;
    LV2_Feature unmapFeature;

private:
    std::map<std::string, LV2_URID> ids;
    std::vector<std::string> uris;
};

class Lv2TestInstance {
public:
    Lv2TestInstance(LilvWorld *world, const LilvPlugin *plugin, LilvInstance *instance, Lv2UridMap &urids)
        : world(world), plugin(plugin), instance(instance), urids(urids)
    {
        for (uint32_t port = 0; port < Lv2Port::kCount; ++port) {
            const LilvPort *p = lilv_plugin_get_port_by_index(plugin, port);
            LilvNode *def = nullptr;
            lilv_port_get_range(plugin, p, &def, nullptr, nullptr);
            controls[port] = def ? lilv_node_as_float(def) : 0.f;
            lilv_node_free(def);
            if (!isAudio(port))
                lilv_instance_connect_port(instance, port, &controls[port]);
        }
        lilv_instance_activate(instance);
    }
    ~Lv2TestInstance()
    {
        lilv_instance_deactivate(instance);
        lilv_instance_free(instance);
    }
    Lv2TestInstance(const Lv2TestInstance &) = delete;
    Lv2TestInstance &operator=(const Lv2TestInstance &) = delete;

    static bool isAudio(uint32_t port) { return port <= Lv2Port::kOutputRight; }

    // One block; a null pin stays unconnected.
    void run(float *inLeft, float *inRight, float *outLeft, float *outRight, uint32_t frames)
    {
        lilv_instance_connect_port(instance, Lv2Port::kInputLeft, inLeft);
        lilv_instance_connect_port(instance, Lv2Port::kInputRight, inRight);
        lilv_instance_connect_port(instance, Lv2Port::kOutputLeft, outLeft);
        lilv_instance_connect_port(instance, Lv2Port::kOutputRight, outRight);
        lilv_instance_run(instance, frames);
    }
    float &parameter(uint32_t id) { return controls[Lv2Port::kFirstParameter + id]; }
    float output(uint32_t port) const { return controls[port]; }
    // What the editor reaches through instance access: the handle, and behind it the effect record.
    LV2_Handle handle() const { return lilv_instance_get_handle(instance); }
    const void *extensionData(const char *uri) const { return lilv_instance_get_extension_data(instance, uri); }

    // The state as a host saves it: the plug-in's properties and the control inputs' values.
    LilvState *saveState()
    {
        return lilv_state_new_from_instance(plugin, instance, &urids.map, nullptr, nullptr, nullptr, nullptr, portValue,
                                            this, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, nullptr);
    }
    // The plug-in's properties only (no port values set).
    void restoreProperties(const LilvState *state)
    {
        lilv_state_restore(state, instance, nullptr, nullptr, 0, nullptr);
    }
    // The port values only, written into the control buffers as a host does.
    void restorePorts(const LilvState *state) { lilv_state_emit_port_values(state, setPortValue, this); }

private:
    static const void *portValue(const char *symbol, void *self, uint32_t *size, uint32_t *type)
    {
        auto *s = static_cast<Lv2TestInstance *>(self);
        const LilvPort *port = s->portBySymbol(symbol);
        if (!port || Lv2TestInstance::isAudio(lilv_port_get_index(s->plugin, port)) ||
            !lilv_port_is_a(s->plugin, port, s->inputClass()))
            return nullptr;
        *size = sizeof(float);
        *type = s->urids.id("http://lv2plug.in/ns/ext/atom#Float");
        return &s->controls[lilv_port_get_index(s->plugin, port)];
    }
    static void setPortValue(const char *symbol, void *self, const void *value, uint32_t size, uint32_t type)
    {
        auto *s = static_cast<Lv2TestInstance *>(self);
        const LilvPort *port = s->portBySymbol(symbol);
        if (port && size == sizeof(float) && type == s->urids.id("http://lv2plug.in/ns/ext/atom#Float"))
            std::memcpy(&s->controls[lilv_port_get_index(s->plugin, port)], value, sizeof(float));
    }
    const LilvPort *portBySymbol(const char *symbol)
    {
        for (uint32_t port = 0; port < lilv_plugin_get_num_ports(plugin); ++port) {
            const LilvPort *p = lilv_plugin_get_port_by_index(plugin, port);
            if (std::strcmp(lilv_node_as_string(lilv_port_get_symbol(plugin, p)), symbol) == 0)
                return p;
        }
        return nullptr;
    }
    const LilvNode *inputClass()
    {
        if (!input)
            input.reset(lilv_new_uri(world, LV2_CORE__InputPort));
        return input.get();
    }

    LilvWorld *world;
    const LilvPlugin *plugin;
    LilvInstance *instance;
    Lv2UridMap &urids;
    float controls[Lv2Port::kCount] = {};
    struct NodeFree {
        void operator()(LilvNode *n) const { lilv_node_free(n); }
    };
    std::unique_ptr<LilvNode, NodeFree> input;
};

class Lv2TestHost {
public:
    Lv2TestHost() : world(lilv_world_new())
    {
        LilvNode *bundle = lilv_new_file_uri(world, nullptr, ZEM_LV2_BUNDLE_DIR "/");
        lilv_world_load_bundle(world, bundle);
        lilv_node_free(bundle);
        LilvNode *uri = lilv_new_uri(world, ZEM_LV2_URI);
        plugin_ = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
        lilv_node_free(uri);
    }
    ~Lv2TestHost() { lilv_world_free(world); }
    Lv2TestHost(const Lv2TestHost &) = delete;
    Lv2TestHost &operator=(const Lv2TestHost &) = delete;

    const LilvPlugin *plugin() const { return plugin_; }
    LilvWorld *lilvWorld() const { return world; }
    Lv2UridMap &urids() { return map; }

    // Null when lilv does not find or cannot instantiate the plug-in.
    std::unique_ptr<Lv2TestInstance> instantiate(double rate, const LV2_Feature *extra = nullptr)
    {
        if (!plugin_)
            return nullptr;
        const LV2_Feature *features[] = {&map.mapFeature, &map.unmapFeature, extra, nullptr};
        LilvInstance *instance = lilv_plugin_instantiate(plugin_, rate, features);
        return instance ? std::make_unique<Lv2TestInstance>(world, plugin_, instance, map) : nullptr;
    }

private:
    LilvWorld *world;
    const LilvPlugin *plugin_ = nullptr;
    Lv2UridMap map;
};
