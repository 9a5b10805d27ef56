// A small VST 3 host for tests: loads a bundle's binary by path as hosts do (dlopen / LoadLibrary,
// ModuleEntry / InitDll, GetPluginFactory), and the host objects a test drives an instance with:
// a host application, a component handler that records its calls, memory streams that move a
// given number of bytes per call (and can fail), parameter changes with their queues. Header only,
// so that any suite can use it; the objects' references are not counted (they outlive the
// instances). Thread: the test's.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "vst3/vst3_interface.h"

// A namespace of its own: the test program also links our VST 3 host (tools/vst3_host), whose
// classes of the same names are other classes.
namespace vst3_test_host {

class Vst3Module {
public:
    explicit Vst3Module(const std::string &path)
    {
#if defined(_WIN32)
        std::wstring wide(path.begin(), path.end());
        handle = LoadLibraryW(wide.c_str());
        using Entry = bool (*)();
        auto *enter = handle ? reinterpret_cast<Entry>(symbol("InitDll")) : nullptr;
        entered = enter && enter();
#else
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        using Entry = bool (*)(void *);
        auto *enter = handle ? reinterpret_cast<Entry>(symbol("ModuleEntry")) : nullptr;
        entered = enter && enter(handle);
#endif
        auto *getFactory = entered ? reinterpret_cast<vst3::GetFactoryProc>(symbol("GetPluginFactory")) : nullptr;
        factory = getFactory ? getFactory() : nullptr;
    }
    ~Vst3Module()
    {
        if (factory)
            factory->release();
        using Exit = bool (*)();
        if (auto *exit = entered ? reinterpret_cast<Exit>(symbol(exitName)) : nullptr)
            exit();
        // The library stays mapped: it is resident once called, as the VST 2.4 one is.
    }
    Vst3Module(const Vst3Module &) = delete;
    Vst3Module &operator=(const Vst3Module &) = delete;

    void *symbol(const char *name) const
    {
#if defined(_WIN32)
        return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
        return dlsym(handle, name);
#endif
    }

    // A new instance of the class as its IComponent, or null.
    vst3::IComponent *createComponent(const vst3::Uid &classId) const
    {
        void *object = nullptr;
        if (!factory ||
            factory->createInstance(classId.data(), vst3::IComponent::iid.data(), &object) != vst3::kResultOk)
            return nullptr;
        return static_cast<vst3::IComponent *>(object);
    }

    void *handle = nullptr;
    bool entered = false;
    vst3::IPluginFactory *factory = nullptr;
#if defined(_WIN32)
    const char *exitName = "ExitDll";
#else
    const char *exitName = "ModuleExit";
#endif
};

// The interface of an object, or null; the caller releases it.
template <typename Interface> Interface *queryVst3(vst3::FUnknown *object)
{
    void *result = nullptr;
    if (!object || object->queryInterface(Interface::iid.data(), &result) != vst3::kResultOk)
        return nullptr;
    return static_cast<Interface *>(result);
}

// A host object answering one interface (and FUnknown) without counting references.
template <typename Interface> class Vst3HostObject : public Interface {
public:
    vst3::tresult VST3_API queryInterface(const vst3::TUID interfaceId, void **obj) override
    {
        if (vst3::FUnknown::iid.matches(interfaceId) || Interface::iid.matches(interfaceId)) {
            *obj = static_cast<Interface *>(this);
            return vst3::kResultOk;
        }
        *obj = nullptr;
        return vst3::kNoInterface;
    }
    uint32_t VST3_API addRef() override { return 1; }
    uint32_t VST3_API release() override { return 1; }
};

struct Vst3TestApplication : Vst3HostObject<vst3::IHostApplication> {
    vst3::tresult VST3_API getName(char16_t name[128]) override
    {
        const char *text = "zem test host";
        for (size_t i = 0; i <= std::strlen(text); ++i)
            name[i] = (char16_t)text[i];
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API createInstance(char *, char *, void **obj) override
    {
        *obj = nullptr;
        return vst3::kNotImplemented;
    }
};

// Every call of the handler, in order: "begin 1", "perform 1 0.75", "end 1", "restart 4".
struct Vst3RecordingHandler : Vst3HostObject<vst3::IComponentHandler> {
    std::vector<std::string> calls;
    std::vector<double> values;  // of the performEdit calls

    vst3::tresult VST3_API beginEdit(vst3::ParamID id) override
    {
        calls.push_back("begin " + std::to_string(id));
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API performEdit(vst3::ParamID id, vst3::ParamValue value) override
    {
        calls.push_back("perform " + std::to_string(id));
        values.push_back(value);
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API endEdit(vst3::ParamID id) override
    {
        calls.push_back("end " + std::to_string(id));
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API restartComponent(int32_t flags) override
    {
        calls.push_back("restart " + std::to_string(flags));
        return vst3::kResultOk;
    }
};

// A memory stream that moves at most piece bytes per call and fails (an error, nothing moved) once
// failAt bytes have gone through; reads start at the beginning, writes append.
struct Vst3MemoryStream : Vst3HostObject<vst3::IBStream> {
    std::vector<unsigned char> bytes;
    size_t piece = 596;
    size_t failAt = (size_t)-1;
    size_t position = 0;

    vst3::tresult VST3_API read(void *buffer, int32_t numBytes, int32_t *numBytesRead) override
    {
        if (numBytesRead)
            *numBytesRead = 0;
        if (numBytes <= 0)
            return vst3::kInvalidArgument;
        if (position >= failAt)
            return vst3::kInternalError;
        size_t n = std::min({(size_t)numBytes, piece, bytes.size() - position, failAt - position});
        if (n > 0)
            std::memcpy(buffer, bytes.data() + position, n);
        position += n;
        if (numBytesRead)
            *numBytesRead = (int32_t)n;
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API write(void *buffer, int32_t numBytes, int32_t *numBytesWritten) override
    {
        if (numBytesWritten)
            *numBytesWritten = 0;
        if (numBytes <= 0 || bytes.size() >= failAt)
            return vst3::kInternalError;
        const size_t n = std::min({(size_t)numBytes, piece, failAt - bytes.size()});
        const unsigned char *from = static_cast<const unsigned char *>(buffer);
        bytes.insert(bytes.end(), from, from + n);
        if (numBytesWritten)
            *numBytesWritten = (int32_t)n;
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API seek(int64_t, int32_t, int64_t *) override { return vst3::kNotImplemented; }
    vst3::tresult VST3_API tell(int64_t *) override { return vst3::kNotImplemented; }
};

// One parameter's points in a block.
struct Vst3TestQueue : Vst3HostObject<vst3::IParamValueQueue> {
    vst3::ParamID id = 0;
    std::vector<std::pair<int32_t, double>> points;

    vst3::ParamID VST3_API getParameterId() override { return id; }
    int32_t VST3_API getPointCount() override { return (int32_t)points.size(); }
    vst3::tresult VST3_API getPoint(int32_t index, int32_t &sampleOffset, vst3::ParamValue &value) override
    {
        if (index < 0 || (size_t)index >= points.size())
            return vst3::kResultFalse;
        sampleOffset = points[(size_t)index].first;
        value = points[(size_t)index].second;
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API addPoint(int32_t sampleOffset, vst3::ParamValue value, int32_t &index) override
    {
        points.emplace_back(sampleOffset, value);
        index = (int32_t)points.size() - 1;
        return vst3::kResultOk;
    }
};

// The changes of a block: add(id, offset, value) adds a point to the queue of id.
struct Vst3TestChanges : Vst3HostObject<vst3::IParameterChanges> {
    std::vector<Vst3TestQueue> queues;

    Vst3TestChanges() { queues.reserve(64); }  // the queues' addresses stay put
    Vst3TestQueue &queue(vst3::ParamID id)
    {
        for (Vst3TestQueue &q : queues)
            if (q.id == id)
                return q;
        queues.emplace_back();
        queues.back().id = id;
        return queues.back();
    }
    void add(vst3::ParamID id, int32_t offset, double value) { queue(id).points.emplace_back(offset, value); }

    int32_t VST3_API getParameterCount() override { return (int32_t)queues.size(); }
    vst3::IParamValueQueue *VST3_API getParameterData(int32_t index) override
    {
        return index >= 0 && (size_t)index < queues.size() ? &queues[(size_t)index] : nullptr;
    }
    vst3::IParamValueQueue *VST3_API addParameterData(const vst3::ParamID &id, int32_t &index) override
    {
        Vst3TestQueue &q = queue(id);
        index = (int32_t)(&q - queues.data());
        return &q;
    }
};

}  // namespace vst3_test_host
