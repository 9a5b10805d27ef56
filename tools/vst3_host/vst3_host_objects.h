// The objects a VST 3 host hands a plug-in, ours: the host context (IHostApplication and
// IPlugInterfaceSupport), the component handler that records every beginEdit / performEdit /
// endEdit / restartComponent with the thread it came from, memory streams that move at most a
// given number of bytes per call (IBStream), the input parameter list of a block
// (IParameterChanges with IParamValueQueue), and the editor's frame (IPlugFrame) with, on Linux,
// the run loop (IRunLoop) whose timers and descriptors the host's event loop serves.
// Each object counts its references without deleting itself (it lives as long as its owner
// here), so that a test can see whether the plug-in gave back every reference it took.
// Thread: the host's main thread, except the parameter lists, which the process call reads.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "vst3/vst3_interface.h"

// queryInterface for an object that answers the interfaces Is... (and FUnknown through the first).
template <typename First, typename... Is> class Vst3HostObject : public First, public Is... {
public:
    vst3::tresult VST3_API queryInterface(const vst3::TUID iid, void **object) override
    {
        if (!object)
            return vst3::kInvalidArgument;
        *object = nullptr;
        if (vst3::FUnknown::iid.matches(iid))
            *object = static_cast<First *>(this);
        else
            find<First, Is...>(iid, object);
        if (!*object)
            return vst3::kNoInterface;
        addRef();
        return vst3::kResultOk;
    }
    uint32_t VST3_API addRef() override { return (uint32_t)++references; }
    uint32_t VST3_API release() override { return (uint32_t)--references; }
    // References the plug-in holds beyond none.
    int heldReferences() const { return references.load(); }

private:
    template <typename I, typename... Rest> void find(const vst3::TUID iid, void **object)
    {
        if (I::iid.matches(iid)) {
            *object = static_cast<I *>(this);
            return;
        }
        if constexpr (sizeof...(Rest) > 0)
            find<Rest...>(iid, object);
    }
    std::atomic<int> references{0};
};

class Vst3HostContext final : public Vst3HostObject<vst3::IHostApplication, vst3::IPlugInterfaceSupport> {
public:
    vst3::tresult VST3_API getName(char16_t name[128]) override;
    vst3::tresult VST3_API createInstance(char cid[16], char iid[16], void **object) override;
    vst3::tresult VST3_API isPlugInterfaceSupported(const vst3::TUID iid) override;
};

// One call of the plug-in to the component handler.
struct Vst3HandlerCall {
    enum Kind { Begin, Perform, End, Restart } kind;
    uint32_t id = 0;   // the parameter, or the restart flags
    double value = 0;  // Perform: the normalised value
    bool onMainThread = true;
};
// "begin 6", "perform 6 0.5", "end 6", "restart 4".
std::string describeHandlerCall(const Vst3HandlerCall &call);

class Vst3ComponentHandler final : public Vst3HostObject<vst3::IComponentHandler> {
public:
    Vst3ComponentHandler() : mainThread(std::this_thread::get_id()) {}
    vst3::tresult VST3_API beginEdit(uint32_t id) override;
    vst3::tresult VST3_API performEdit(uint32_t id, double valueNormalized) override;
    vst3::tresult VST3_API endEdit(uint32_t id) override;
    vst3::tresult VST3_API restartComponent(int32_t flags) override;

    std::vector<Vst3HandlerCall> calls() const;
    void clearCalls();

private:
    void note(Vst3HandlerCall::Kind kind, uint32_t id, double value = 0);
    std::thread::id mainThread;
    mutable std::mutex mutex;
    std::vector<Vst3HandlerCall> recorded;
};

// A stream over bytes in memory: writes append, reads take from the read position; each call
// moves at most piece bytes, as a host's stream may.
class Vst3MemoryStream final : public Vst3HostObject<vst3::IBStream> {
public:
    explicit Vst3MemoryStream(size_t piece = SIZE_MAX) : piece(piece ? piece : 1) {}
    Vst3MemoryStream(std::vector<uint8_t> content, size_t piece = SIZE_MAX)
        : bytes(std::move(content)), piece(piece ? piece : 1)
    {
    }
    vst3::tresult VST3_API read(void *buffer, int32_t numBytes, int32_t *numBytesRead) override;
    vst3::tresult VST3_API write(void *buffer, int32_t numBytes, int32_t *numBytesWritten) override;
    vst3::tresult VST3_API seek(int64_t pos, int32_t mode, int64_t *result) override;
    vst3::tresult VST3_API tell(int64_t *pos) override;

    std::vector<uint8_t> bytes;
    size_t position = 0;
    int calls = 0;  // read and write calls made

private:
    size_t piece;
};

// A parameter change at a sample of the block, in the plug-in's normalised value.
struct Vst3ParamPoint {
    uint32_t id = 0;
    int32_t offset = 0;
    double value = 0;
};

class Vst3ParamQueue final : public Vst3HostObject<vst3::IParamValueQueue> {
public:
    uint32_t VST3_API getParameterId() override { return id; }
    int32_t VST3_API getPointCount() override { return (int32_t)points.size(); }
    vst3::tresult VST3_API getPoint(int32_t index, int32_t &sampleOffset, double &value) override;
    vst3::tresult VST3_API addPoint(int32_t sampleOffset, double value, int32_t &index) override;

    uint32_t id = 0;
    std::vector<std::pair<int32_t, double>> points;
};

// The input parameter list of one block: one queue per parameter, points in offset order.
class Vst3ParamChanges final : public Vst3HostObject<vst3::IParameterChanges> {
public:
    explicit Vst3ParamChanges(const std::vector<Vst3ParamPoint> &changes = {});
    int32_t VST3_API getParameterCount() override { return (int32_t)used; }
    vst3::IParamValueQueue *VST3_API getParameterData(int32_t index) override;
    vst3::IParamValueQueue *VST3_API addParameterData(const uint32_t &id, int32_t &index) override;

private:
    std::vector<Vst3ParamQueue> queues = std::vector<Vst3ParamQueue>(64);
    size_t used = 0;
};

#ifndef _WIN32
// The run loop the frame answers on Linux: registrations kept and served by fireDueTimers and
// pollDescriptors, as a host's event loop would.
class Vst3RunLoop final : public Vst3HostObject<vst3::IRunLoop> {
public:
    vst3::tresult VST3_API registerEventHandler(vst3::IEventHandler *handler, int fd) override;
    vst3::tresult VST3_API unregisterEventHandler(vst3::IEventHandler *handler) override;
    vst3::tresult VST3_API registerTimer(vst3::ITimerHandler *handler, uint64_t milliseconds) override;
    vst3::tresult VST3_API unregisterTimer(vst3::ITimerHandler *handler) override;

    // Calls onTimer for every timer whose period has passed (all of them when force); answers
    // how many fired.
    int fireDueTimers(bool force);
    // Waits up to timeoutMs for the registered descriptors and calls onFDIsSet for those ready.
    int pollDescriptors(int timeoutMs);

    struct Timer {
        vst3::ITimerHandler *handler;
        uint64_t periodMs;
        std::chrono::steady_clock::time_point last;
    };
    struct Handler {
        vst3::IEventHandler *handler;
        int fd;
    };
    std::vector<Timer> timers;
    std::vector<Handler> handlers;
    std::vector<std::string> log;  // "timer.register 33 ms", "fd.register", ...
};
#endif

// The frame of the editor's window: resizeView resizes the parent (through the callback) and
// then calls the view's onSize inside the call, as Ardour and the SDK's editor host do. On Linux
// it answers IRunLoop with its run loop, a separate object as in the SDK's editor host.
class Vst3PlugFrame final : public Vst3HostObject<vst3::IPlugFrame> {
public:
    vst3::tresult VST3_API resizeView(vst3::IPlugView *view, vst3::ViewRect *newSize) override;
    vst3::tresult VST3_API queryInterface(const vst3::TUID iid, void **object) override;

    bool acceptResize = true;
    void (*resizeParent)(void *context, int width, int height) = nullptr;
    void *resizeContext = nullptr;
    std::vector<std::pair<int, int>> resizes;  // every size asked for
#ifndef _WIN32
    bool offersRunLoop = true;  // withheld, the frame answers no IRunLoop
    Vst3RunLoop runLoop;
#endif
};
