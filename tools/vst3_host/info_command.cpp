// zem_vst3_host info <bundle.vst3>
// Loads the bundle as a host scans it and prints, one fact per line, the factory information,
// every class (id as its four words, category, name, cardinality, flags, subcategories, vendor,
// version, SDK version), then for the effect class its buses, latency, tail and every parameter
// (id, title, short title, units, step count, flags, unit, default and the default's text).
// The lines are the same in every build: the binary's path inside the bundle is not printed.
#include <cstdio>

#include "subcommands.h"
#include "vst3_instance.h"

namespace {

std::string cut(const char *text, size_t capacity) { return std::string(text, strnlen(text, capacity)); }

int runInfo(const std::vector<std::string> &arguments)
{
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: zem_vst3_host info <bundle.vst3>\n");
        return 2;
    }
    Vst3Module module(arguments[0]);
    if (!module.ready()) {
        std::fprintf(stderr, "cannot load %s: %s\n", arguments[0].c_str(), module.error().c_str());
        return 1;
    }
    const vst3::PFactoryInfo &f = module.factoryInfo();
    std::printf("factory.vendor \"%s\"\n", cut(f.vendor, sizeof f.vendor).c_str());
    std::printf("factory.url \"%s\"\n", cut(f.url, sizeof f.url).c_str());
    std::printf("factory.email \"%s\"\n", cut(f.email, sizeof f.email).c_str());
    std::printf("factory.flags %d\n", (int)f.flags);
    std::printf("factory.interfaces%s%s\n", module.factory2() ? " IPluginFactory2" : "",
                module.factory3() ? " IPluginFactory3" : "");
    std::printf("classes.count %u\n", (unsigned)module.classes().size());
    for (size_t i = 0; i < module.classes().size(); ++i) {
        const vst3::PClassInfo2 &c = module.classes()[i];
        std::printf("class.cid %s\n", classIdText(c.cid).c_str());
        std::printf("class.category \"%s\"\n", cut(c.category, sizeof c.category).c_str());
        std::printf("class.name \"%s\"\n", cut(c.name, sizeof c.name).c_str());
        std::printf("class.cardinality 0x%08x\n", (unsigned)c.cardinality);
        std::printf("class.flags %u\n", (unsigned)c.classFlags);
        std::printf("class.subcategories \"%s\"\n", cut(c.subCategories, sizeof c.subCategories).c_str());
        std::printf("class.vendor \"%s\"\n", cut(c.vendor, sizeof c.vendor).c_str());
        std::printf("class.version \"%s\"\n", cut(c.version, sizeof c.version).c_str());
        std::printf("class.sdk \"%s\"\n", cut(c.sdkVersion, sizeof c.sdkVersion).c_str());
        if (i < module.unicodeClasses().size()) {
            const vst3::PClassInfoW &w = module.unicodeClasses()[i];
            std::printf("class.unicode \"%s\" \"%s\" \"%s\"\n", utf8Of(w.name, 64).c_str(),
                        utf8Of(w.vendor, 64).c_str(), utf8Of(w.version, 64).c_str());
        }
    }
    Vst3HostContext context;
    Vst3Instance instance(module, context, nullptr);
    if (!instance.valid()) {
        std::fprintf(stderr, "the effect did not start: %s\n", instance.error().c_str());
        return 1;
    }
    std::printf("single-component %d\n", instance.singleComponent() ? 1 : 0);
    vst3::IComponent *component = instance.component();
    for (int direction = vst3::kInput; direction <= vst3::kOutput; ++direction) {
        const char *name = direction == vst3::kInput ? "in" : "out";
        std::printf("bus.event.%s.count %d\n", name, (int)component->getBusCount(vst3::kEvent, direction));
        const int32_t count = component->getBusCount(vst3::kAudio, direction);
        std::printf("bus.audio.%s.count %d\n", name, (int)count);
        for (int32_t b = 0; b < count; ++b) {
            vst3::BusInfo bus{};
            vst3::SpeakerArrangement arrangement = 0;
            component->getBusInfo(vst3::kAudio, direction, b, bus);
            instance.audioProcessor()->getBusArrangement(direction, b, arrangement);
            std::printf("bus.audio.%s.%d \"%s\" channels %d type %d flags %u arrangement 0x%llx\n", name, (int)b,
                        utf8Of(bus.name, 128).c_str(), (int)bus.channelCount, (int)bus.busType, (unsigned)bus.flags,
                        (unsigned long long)arrangement);
        }
    }
    vst3::IAudioProcessor *processor = instance.audioProcessor();
    std::printf("sample32 %d sample64 %d\n", processor->canProcessSampleSize(vst3::kSample32) == vst3::kResultOk,
                processor->canProcessSampleSize(vst3::kSample64) == vst3::kResultOk);
    std::printf("latency %u tail %u\n", (unsigned)processor->getLatencySamples(),
                (unsigned)processor->getTailSamples());
    const std::vector<vst3::ParameterInfo> parameters = instance.parameters();
    std::printf("params.count %u\n", (unsigned)parameters.size());
    for (const vst3::ParameterInfo &p : parameters) {
        std::string text;
        if (!instance.text(p.id, p.defaultNormalizedValue, text))
            text = "(no text)";
        std::printf("param %u \"%s\" short \"%s\" units \"%s\" steps %d flags 0x%05x unit %d default %.9g \"%s\"\n",
                    (unsigned)p.id, utf8Of(p.title, 128).c_str(), utf8Of(p.shortTitle, 128).c_str(),
                    utf8Of(p.units, 128).c_str(), (int)p.stepCount, (unsigned)p.flags, (int)p.unitId,
                    p.defaultNormalizedValue, text.c_str());
    }
    return 0;
}

SubcommandRegistration registration{"info", "info <bundle.vst3>", runInfo};

}  // namespace
