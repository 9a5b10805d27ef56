// The CLAP variant of the libFuzzer host session: each input is decoded into host actions on
// one instance of ZEM Ordwen.clap, driven through our CLAP host (tools/clap_host) as a host
// drives it, within the life-cycle rules a host keeps but with anything at all in what it
// passes: activation at odd rates and block ranges, blocks of any length within the range with
// parameter events of any id, value, time order, namespace and cookie, flush, value <-> text
// with any text and buffer size, reset, state saved in any pieces and loaded mutated, cut or
// random, and the gui created, queried and destroyed.
// After every action each parameter reads within its range; every saved state is 596 bytes; a
// block of finite input gives finite output; no exception comes back out of the plug-in. The
// sanitizers report everything else.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "clap_instance.h"
#include "fuzz_host.h"
#include "session_checks.h"

namespace {

constexpr int kMaxActionsPerInput = 64;

const double kSpecialValues[] = {0.0,
                                 -0.0,
                                 0.5,
                                 1.0,
                                 2.0,
                                 -1.0,
                                 20.0,
                                 -20.0,
                                 30000.0,
                                 1e300,
                                 -1e300,
                                 std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::denorm_min()};
const double kSampleRates[] = {44100, 48000, 96000, 192000, 384000, 768000, 8000, 1234.5678, 0, -44100, 1e12};
const uint32_t kBlockSizes[] = {1, 2, 17, 64, 512, 2048, 4096};

template <typename T, size_t N> const T &pick(FuzzedDataProvider &data, const T (&choices)[N])
{
    return choices[data.ConsumeIntegralInRange<size_t>(0, N - 1)];
}

ClapLibrary &library()
{
    static ClapLibrary *clap = new ClapLibrary(PluginLibrary::programFolder() + ZEM_CLAP_FILE);
    return *clap;
}

class ClapSession {
public:
    explicit ClapSession(FuzzedDataProvider &data) : data(data), instance(library(), host)
    {
        if (!instance.valid())
            fuzzFailure("the plug-in refused an instance");
        info = instance.parameters();
    }
    ~ClapSession()
    {
        // The shared scope and meter type back where the library started, for the next input.
        if (instance.processing())
            guardedCall("stop_processing", [&] { instance.stopProcessing(); });
        if (instance.active())
            guardedCall("deactivate", [&] { instance.deactivate(); });
        guardedCall("flush", [&] { instance.flush({{0, 2, 1.0}, {0, 3, 0.0}}); });
        if (gui && guiCreated)
            guardedCall("gui.destroy", [&] { gui->destroy(instance.plugin()); });
    }
    ClapSession(const ClapSession &) = delete;
    ClapSession &operator=(const ClapSession &) = delete;

    void run()
    {
        for (int i = 0; i < kMaxActionsPerInput && data.remaining_bytes() > 0; ++i) {
            switch (data.ConsumeIntegralInRange(0, 9)) {
            case 0:
                activate();
                break;
            case 1:
            case 2:
                processBlock();
                break;
            case 3:
                guardedCall("stop_processing", [&] { instance.stopProcessing(); });
                break;
            case 4:
                if (instance.processing())
                    guardedCall("stop_processing", [&] { instance.stopProcessing(); });
                guardedCall("deactivate", [&] { instance.deactivate(); });
                break;
            case 5:
                if (!instance.processing())
                    guardedCall("flush", [&] { instance.flush(anyEvents(1), data.ConsumeBool()); });
                break;
            case 6:
                texts();
                break;
            case 7:
                state();
                break;
            case 8:
                if (instance.active())
                    guardedCall("reset", [&] { instance.reset(); });
                break;
            default:
                driveGui();
                break;
            }
            checkValues();
        }
    }

private:
    double anyValue()
    {
        if (data.ConsumeBool())
            return pick(data, kSpecialValues);
        const clap_param_info_t &p = info[data.ConsumeIntegralInRange<size_t>(0, info.size() - 1)];
        return p.min_value + (p.max_value - p.min_value) * data.ConsumeProbability<double>();
    }
    clap_id anyId()
    {
        return data.ConsumeIntegralInRange(0, 4) == 0 ? data.ConsumeIntegral<uint32_t>()
                                                      : data.ConsumeIntegralInRange<uint32_t>(0, 16);
    }
    std::vector<ClapParamChange> anyEvents(uint32_t frames)
    {
        std::vector<ClapParamChange> events(data.ConsumeIntegralInRange<size_t>(0, 12));
        for (ClapParamChange &e : events) {
            e.time = data.ConsumeIntegralInRange<uint32_t>(0, frames - 1);
            e.id = anyId();
            e.value = anyValue();
            e.spaceId = data.ConsumeIntegralInRange(0, 5) == 0 ? data.ConsumeIntegral<uint16_t>() : 0;
            e.withCookie = data.ConsumeBool();
        }
        // Hosts sort their events; mostly keep to that, sometimes not.
        if (data.ConsumeIntegralInRange(0, 7) != 0)
            std::stable_sort(events.begin(), events.end(),
                             [](const ClapParamChange &a, const ClapParamChange &b) { return a.time < b.time; });
        return events;
    }
    void activate()
    {
        if (instance.active())
            return;
        const double rate = pick(data, kSampleRates);
        maxFrames = pick(data, kBlockSizes);
        const uint32_t minFrames = data.ConsumeIntegralInRange<uint32_t>(1, maxFrames);
        guardedCall("activate", [&] { return instance.activate(rate, minFrames, maxFrames); });
    }
    void processBlock()
    {
        if (!instance.active())
            return;
        if (!instance.processing() && !guardedCall("start_processing", [&] { return instance.startProcessing(); }))
            return;
        const uint32_t frames = data.ConsumeIntegralInRange<uint32_t>(1, maxFrames);
        std::vector<float> in[2], out[2];
        for (int c = 0; c < 2; ++c) {
            in[c].resize(frames);
            for (float &s : in[c])
                s = data.ConsumeFloatingPointInRange(-1.f, 1.f);
            out[c].assign(frames, 0.f);
        }
        float *inputs[2] = {in[0].data(), in[1].data()};
        float *outputs[2] = {out[0].data(), out[1].data()};
        const bool inPlace = data.ConsumeBool();
        const std::vector<ClapParamChange> events = anyEvents(frames);
        const clap_process_status status = guardedCall(
            "process", [&] { return instance.process(inputs, inPlace ? inputs : outputs, frames, events); });
        if (status == CLAP_PROCESS_ERROR)
            fuzzFailure("process answered an error inside the host's rules");
        for (int c = 0; c < 2; ++c)
            checkFinite(inPlace ? in[c].data() : out[c].data(), (int32_t)frames, c ? "right output" : "left output");
        for (const ClapOutputEvent &e : instance.outputEvents())
            if (e.time >= frames && e.type != 0xFFFF)
                fuzzFailure("an output event at %u in a block of %u", (unsigned)e.time, (unsigned)frames);
        instance.clearOutputEvents();
    }
    void texts()
    {
        const clap_id id = anyId();
        const double value = anyValue();
        const uint32_t capacity = data.ConsumeIntegralInRange<uint32_t>(1, 300);
        std::string text;
        guardedCall("value_to_text", [&] { return instance.text(id, value, text, capacity); });
        const std::string typed = data.ConsumeRandomLengthString(64);
        double parsed = 0;
        if (guardedCall("text_to_value", [&] { return instance.fromText(id, typed, parsed); }) && id < info.size() &&
            !(parsed >= info[id].min_value && parsed <= info[id].max_value))
            fuzzFailure("text_to_value gave %g for parameter %u, outside its range", parsed, (unsigned)id);
    }
    void state()
    {
        std::vector<uint8_t> saved;
        const size_t piece = data.ConsumeIntegralInRange<size_t>(1, 700);
        if (!guardedCall("state.save", [&] { return instance.save(saved, piece); }))
            fuzzFailure("state.save failed");
        if (saved.size() != HostChunk::kSize)
            fuzzFailure("state.save wrote %zu bytes", saved.size());
        switch (data.ConsumeIntegralInRange(0, 3)) {
        case 0:  // mutated
            for (int n = data.ConsumeIntegralInRange(0, 8); n > 0; --n)
                saved[data.ConsumeIntegralInRange<size_t>(0, saved.size() - 1)] = data.ConsumeIntegral<uint8_t>();
            break;
        case 1:  // cut or grown
            saved.resize(data.ConsumeIntegralInRange<size_t>(0, 2 * HostChunk::kSize), 0);
            break;
        case 2:  // anything
            saved = data.ConsumeBytes<uint8_t>(data.ConsumeIntegralInRange<size_t>(0, 1200));
            break;
        default:
            break;
        }
        guardedCall("state.load", [&] { return instance.load(saved, data.ConsumeIntegralInRange<size_t>(1, 700)); });
    }
    void driveGui()
    {
        gui = instance.gui();
        if (!gui)
            return;
        const clap_plugin_t *plugin = instance.plugin();
        uint32_t w = data.ConsumeIntegral<uint32_t>(), h = data.ConsumeIntegral<uint32_t>();
        switch (data.ConsumeIntegralInRange(0, 4)) {
        case 0:
            if (!guiCreated)
                guiCreated = guardedCall("gui.create", [&] {
                    return gui->create(plugin, data.ConsumeBool() ? "x11" : "win32", data.ConsumeBool());
                });
            break;
        case 1:
            guardedCall("gui.get_size", [&] { return gui->get_size(plugin, &w, &h); });
            guardedCall("gui.adjust_size", [&] { return gui->adjust_size(plugin, &w, &h); });
            guardedCall("gui.set_size", [&] { return gui->set_size(plugin, w, h); });
            break;
        case 2:
            guardedCall("gui.set_scale", [&] { return gui->set_scale(plugin, pick(data, kSpecialValues)); });
            break;
        case 3: {
            clap_window_t none{};
            none.api = "x11";
            guardedCall("gui.set_parent",
                        [&] { return gui->set_parent(plugin, data.ConsumeBool() ? &none : nullptr); });
            guardedCall("gui.show", [&] { return gui->show(plugin); });
            break;
        }
        default:
            if (guiCreated)
                guardedCall("gui.destroy", [&] { gui->destroy(plugin); });
            guiCreated = false;
            break;
        }
    }
    void checkValues()
    {
        for (const clap_param_info_t &p : info) {
            double v = 0;
            if (!guardedCall("get_value", [&] { return instance.value(p.id, v); }))
                fuzzFailure("get_value refused parameter %u", (unsigned)p.id);
            if (!(v >= p.min_value && v <= p.max_value))
                fuzzFailure("parameter %u reads %g, outside %g..%g", (unsigned)p.id, v, p.min_value, p.max_value);
        }
    }

    FuzzedDataProvider &data;
    ClapHost host;
    ClapInstance instance;
    std::vector<clap_param_info_t> info;
    uint32_t maxFrames = 512;
    const clap_plugin_gui_t *gui = nullptr;
    bool guiCreated = false;
};

}  // namespace

// fontconfig keeps its configuration cache for the life of the process; it is not ours to free.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzHost::instance();  // the private per-user store, before the plug-in reads it
    if (!library().ready())
        fuzzFailure("cannot scan the plug-in: %s", library().error().c_str());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    ClapSession session(data);
    session.run();
    return 0;
}
