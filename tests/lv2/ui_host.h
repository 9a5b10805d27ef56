// The host side of the bundle's X11 UI, as an LV2 host gives it, on the tests' lilv host
// (support/lv2_test_host.h): the UI found through lilv on the plug-in, its binary's
// lv2ui_descriptor, instantiated on a real X11 parent with instance access to a lilv instance of
// the plug-in, the host's resize and touch features and the UI's write function recorded, idle
// driven by the test. POSIX only.
#pragma once

#include <dlfcn.h>
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>  // support/lv2_test_host.h uses its flags
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <chrono>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "support/lv2_test_host.h"

// What the UI told the host, in order: "touch P 1", "write P V", "resize W H".
struct Lv2UiHostRecord {
    std::vector<std::string> calls;
    std::map<uint32_t, float> ports;  // the last value written to each port
    int width = 0, height = 0;        // the last size asked for
    size_t count(const std::string &prefix) const
    {
        size_t n = 0;
        for (const std::string &call : calls)
            n += call.compare(0, prefix.size(), prefix) == 0;
        return n;
    }
};

class Lv2UiHost {
public:
    Lv2UiHost() : plugin(lilv.plugin()), instance(lilv.instantiate(48000.0)) {}
    ~Lv2UiHost()
    {
        closeUi();
        instance.reset();
        if (library)
            dlclose(library);
    }

    // The port index of a symbol, or ~0u.
    uint32_t port(const char *symbol) const
    {
        LilvNode *node = lilv_new_string(lilv.lilvWorld(), symbol);
        const LilvPort *found = lilv_plugin_get_port_by_symbol(plugin, node);
        lilv_node_free(node);
        return found ? lilv_port_get_index(plugin, found) : ~0u;
    }

    // The plug-in's UI of class X11UI, its URI and binary as the ttl gives them; false without one.
    bool findUi(std::string &error)
    {
        LilvUIs *uis = lilv_plugin_get_uis(plugin);
        LilvNode *x11 = lilv_new_uri(lilv.lilvWorld(), LV2_UI__X11UI);
        LILV_FOREACH(uis, i, uis)
        {
            const LilvUI *ui = lilv_uis_get(uis, i);
            if (!lilv_ui_is_a(ui, x11))
                continue;
            uiUri = lilv_node_as_uri(lilv_ui_get_uri(ui));
            char *path = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), nullptr);
            binary = path ? path : "";
            lilv_free(path);
        }
        lilv_node_free(x11);
        lilv_uis_free(uis);
        if (uiUri.empty()) {
            error = "no X11 UI on the plug-in";
            return false;
        }
        library = dlopen(binary.c_str(), RTLD_NOW | RTLD_LOCAL);
        auto *entry = library ? reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"))
                              : nullptr;
        for (uint32_t i = 0; entry && !descriptor; ++i) {
            const LV2UI_Descriptor *d = entry(i);
            if (!d)
                break;
            if (uiUri == d->URI)
                descriptor = d;
        }
        if (!descriptor)
            error = "no descriptor for " + uiUri + " in " + binary;
        return descriptor != nullptr;
    }

    struct Offer {
        bool instanceAccess = true;
        bool parent = true;
        bool resize = true;
        bool touch = true;
        float scaleFactor = 0;  // 0: no ui:scaleFactor option
    };
    // Instantiates the UI on parent with the features offered; true when the UI is there.
    bool openUi(void *parent, const Offer &offer)
    {
        std::vector<const LV2_Feature *> list;
        features.clear();
        features.reserve(8);
        features.push_back(lilv.urids().mapFeature);
        if (offer.instanceAccess)
            features.push_back({LV2_INSTANCE_ACCESS_URI, instance->handle()});
        if (offer.parent)
            features.push_back({LV2_UI__parent, parent});
        if (offer.resize)
            features.push_back({LV2_UI__resize, &resize});
        if (offer.touch)
            features.push_back({LV2_UI__touch, &touch});
        scale = offer.scaleFactor;
        options[0] = {LV2_OPTIONS_INSTANCE,
                      0,
                      lilv.urids().id(LV2_UI__scaleFactor),
                      sizeof(float),
                      lilv.urids().id(LV2_ATOM__Float),
                      &scale};
        options[1] = {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr};
        if (offer.scaleFactor > 0)
            features.push_back({LV2_OPTIONS__options, options});
        for (const LV2_Feature &f : features)
            list.push_back(&f);
        list.push_back(nullptr);
        widget = nullptr;
        ui = descriptor->instantiate(descriptor, lilv_node_as_uri(lilv_plugin_get_uri(plugin)), "", writeFunction, this,
                                     &widget, list.data());
        if (ui && descriptor->extension_data)
            idleInterface = static_cast<const LV2UI_Idle_Interface *>(
                descriptor->extension_data(LV2_UI__idleInterface));
        return ui != nullptr;
    }
    void closeUi()
    {
        if (ui)
            descriptor->cleanup(ui);
        ui = nullptr;
    }
    int idle() { return ui && idleInterface ? idleInterface->idle(ui) : 1; }
    // Sets ui:scaleFactor through the UI's options interface.
    uint32_t setScale(const LV2_Options_Interface &options, float factor)
    {
        const LV2_Options_Option list[] = {{LV2_OPTIONS_INSTANCE, 0, lilv.urids().id(LV2_UI__scaleFactor),
                                            sizeof(float), lilv.urids().id(LV2_ATOM__Float), &factor},
                                           {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
        return options.set(ui, list);
    }
    void portEvent(uint32_t port, float value) { descriptor->port_event(ui, port, sizeof value, 0, &value); }
    // Idles the UI (as a host's timer does) for up to a second, until what holds.
    template <typename Condition> bool idleUntil(Condition what)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (!what()) {
            if (std::chrono::steady_clock::now() > until)
                return false;
            idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    Lv2TestHost lilv;
    const LilvPlugin *plugin;
    std::unique_ptr<Lv2TestInstance> instance;
    std::string uiUri, binary;
    const LV2UI_Descriptor *descriptor = nullptr;
    const LV2UI_Idle_Interface *idleInterface = nullptr;
    LV2UI_Handle ui = nullptr;
    LV2UI_Widget widget = nullptr;
    Lv2UiHostRecord record;

private:
    static void writeFunction(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t protocol,
                              const void *buffer)
    {
        auto *host = static_cast<Lv2UiHost *>(controller);
        if (protocol != 0 || size != sizeof(float))
            return;
        float value = 0;
        std::memcpy(&value, buffer, sizeof value);
        host->record.calls.push_back("write " + std::to_string(port) + " " + std::to_string(value));
        host->record.ports[port] = value;
    }
    static int resizeFunction(LV2UI_Feature_Handle handle, int width, int height)
    {
        auto *host = static_cast<Lv2UiHost *>(handle);
        host->record.calls.push_back("resize " + std::to_string(width) + " " + std::to_string(height));
        host->record.width = width;
        host->record.height = height;
        return 0;
    }
    static void touchFunction(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed)
    {
        auto *host = static_cast<Lv2UiHost *>(handle);
        host->record.calls.push_back("touch " + std::to_string(port) + (grabbed ? " 1" : " 0"));
    }

    void *library = nullptr;
    LV2UI_Resize resize{this, resizeFunction};
    LV2UI_Touch touch{this, touchFunction};
    float scale = 0;
    LV2_Options_Option options[2] = {};
    std::vector<LV2_Feature> features;
};
