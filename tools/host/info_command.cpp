// zem_host info <plugin>: every value the plug-in publishes and every answer it gives to the
// host's queries, one fact per line, sorted, with nothing that differs between builds.
#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "plugin_host.h"
#include "subcommands.h"

namespace {

class Facts {
public:
    void add(const char *format, ...)
    {
        char line[512];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(line, sizeof(line), format, arguments);
        va_end(arguments);
        lines.push_back(line);
    }
    void print()
    {
        std::sort(lines.begin(), lines.end());
        for (const std::string &line : lines)
            std::printf("%s\n", line.c_str());
    }

private:
    std::vector<std::string> lines;
};

// Quoted, with bytes outside printable ASCII written as \xNN.
std::string quoted(const std::string &text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c >= 32 && c < 127 && c != '"' && c != '\\') {
            out += (char)c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\x%02x", c);
            out += escape;
        }
    }
    return out + "\"";
}

const VstInt32 kOutOfRange[] = {-1, 64, 65, 100, 1000, INT_MAX};

void recordHeader(Facts &facts, const AEffect &e)
{
    facts.add("aeffect.flags 0x%08x", (unsigned)e.flags);
    facts.add("aeffect.initialDelay %d", (int)e.initialDelay);
    facts.add("aeffect.ioRatio %.9g", (double)e.ioRatio);
    facts.add("aeffect.magic 0x%08x", (unsigned)e.magic);
    facts.add("aeffect.numInputs %d", (int)e.numInputs);
    facts.add("aeffect.numOutputs %d", (int)e.numOutputs);
    facts.add("aeffect.numParams %d", (int)e.numParams);
    facts.add("aeffect.numPrograms %d", (int)e.numPrograms);
    facts.add("aeffect.offQualities %d", (int)e.offQualities);
    facts.add("aeffect.processDoubleReplacing %s", e.processDoubleReplacing ? "set" : "null");
    facts.add("aeffect.processReplacing %s", e.processReplacing ? "set" : "null");
    facts.add("aeffect.realQualities %d", (int)e.realQualities);
    facts.add("aeffect.uniqueID 0x%08x", (unsigned)e.uniqueID);
    facts.add("aeffect.version %d", (int)e.version);
}

void hostQueries(Facts &facts, PluginInstance &plugin)
{
    facts.add("effGetEffectName %s", quoted(plugin.text(effGetEffectName)).c_str());
    facts.add("effGetProductString %s", quoted(plugin.text(effGetProductString)).c_str());
    facts.add("effGetVendorString %s", quoted(plugin.text(effGetVendorString)).c_str());
    facts.add("effGetVendorVersion %d", (int)plugin.dispatch(effGetVendorVersion));
    facts.add("effGetVstVersion %d", (int)plugin.dispatch(effGetVstVersion));
    facts.add("effGetPlugCategory %d", (int)plugin.dispatch(effGetPlugCategory));
    facts.add("effGetTailSize %d", (int)plugin.dispatch(effGetTailSize));
    facts.add("effSetBypass.on %d", (int)plugin.dispatch(effSetBypass, 0, 1));
    facts.add("effGetProgram %d", (int)plugin.dispatch(effGetProgram));
    facts.add("effGetProgramName %s", quoted(plugin.text(effGetProgramName)).c_str());
    for (VstInt32 index : {-1, 0, 1, 2, 3, 1000}) {
        char buffer[256] = {};
        VstIntPtr answer = plugin.dispatch(effGetProgramNameIndexed, index, 0, buffer);
        facts.add("effGetProgramNameIndexed.%d %d %s", (int)index, (int)answer, quoted(buffer).c_str());
    }

    const char *capabilities[] = {"offline", "plugAsChannelInsert", "1in1out", "1in2out",          "2in2out",
                                  "2in1out", "receiveVstEvents",    "bypass",  "sendVstMidiEvent", "",
                                  "Offline"};
    for (const char *capability : capabilities) {
        char text[64];
        std::snprintf(text, sizeof(text), "%s", capability);
        facts.add("effCanDo %s %d", quoted(text).c_str(), (int)plugin.dispatch(effCanDo, 0, 0, text));
    }

    for (VstInt32 opcode : {effGetInputProperties, effGetOutputProperties}) {
        const char *name = opcode == effGetInputProperties ? "effGetInputProperties" : "effGetOutputProperties";
        for (VstInt32 pin : {-1, 0, 1, 2}) {
            VstPinProperties properties;
            std::memset(&properties, 0, sizeof(properties));
            VstIntPtr answer = plugin.dispatch(opcode, pin, 0, &properties);
            facts.add("%s.%d %d flags=%d arrangement=%d label=%s short=%s", name, (int)pin, (int)answer,
                      (int)properties.flags, (int)properties.arrangementType, quoted(properties.label).c_str(),
                      quoted(std::string(properties.shortLabel, strnlen(properties.shortLabel, 8))).c_str());
        }
    }

    VstSpeakerArrangement *in = reinterpret_cast<VstSpeakerArrangement *>(1);
    VstSpeakerArrangement *out = reinterpret_cast<VstSpeakerArrangement *>(1);
    VstIntPtr answer = plugin.dispatch(effGetSpeakerArrangement, 0, (VstIntPtr)&in, &out);
    facts.add("effGetSpeakerArrangement %d input=%s output=%s", (int)answer, in ? "set" : "null", out ? "set" : "null");
    for (int ins = 0; ins <= 3; ++ins) {
        for (int outs = 0; outs <= 3; ++outs) {
            VstSpeakerArrangement input{}, output{};
            input.numChannels = ins;
            output.numChannels = outs;
            answer = plugin.dispatch(effSetSpeakerArrangement, 0, (VstIntPtr)&input, &output);
            facts.add("effSetSpeakerArrangement.%din%dout %d", ins, outs, (int)answer);
        }
    }
}

void parameters(Facts &facts, PluginInstance &plugin)
{
    std::vector<VstInt32> indices;
    for (VstInt32 i = 0; i < 64; ++i)
        indices.push_back(i);
    indices.insert(indices.end(), std::begin(kOutOfRange), std::end(kOutOfRange));
    for (VstInt32 i = 66; i <= 101; ++i)
        indices.push_back(i);

    for (VstInt32 index : indices) {
        char key[32];
        if (index < 0 || index > 999)
            std::snprintf(key, sizeof(key), "param.%d", (int)index);
        else
            std::snprintf(key, sizeof(key), "param.%03d", (int)index);
        facts.add("%s.value %.9g", key, (double)plugin.getParameter(index));
        if (index > 101 && index != 1000 && index != INT_MAX)
            continue;
        facts.add("%s.name %s", key, quoted(plugin.text(effGetParamName, index)).c_str());
        facts.add("%s.label %s", key, quoted(plugin.text(effGetParamLabel, index)).c_str());
        facts.add("%s.display %s", key, quoted(plugin.text(effGetParamDisplay, index)).c_str());
        facts.add("%s.automatable %d", key, (int)plugin.dispatch(effCanBeAutomated, index));
        VstParameterProperties properties;
        std::memset(&properties, 0, sizeof(properties));
        VstIntPtr answer = plugin.dispatch(effGetParameterProperties, index, 0, &properties);
        facts.add("%s.properties %d flags=%d step=%.9g small=%.9g large=%.9g label=%s short=%s", key, (int)answer,
                  (int)properties.flags, (double)properties.stepFloat, (double)properties.smallStepFloat,
                  (double)properties.largeStepFloat, quoted(properties.label).c_str(),
                  quoted(std::string(properties.shortLabel, strnlen(properties.shortLabel, 8))).c_str());
    }
}

// Display texts of the continuous parameters over their range, from a second instance.
void displays(Facts &facts, PluginInstance &plugin)
{
    const float steps[] = {0.f, 0.001f, 0.1f, 0.25f, 0.3f, 0.5f, 0.6f, 0.75f, 0.9f, 0.999f, 1.f};
    for (VstInt32 index = 0; index < 17; ++index) {
        for (float value : steps) {
            plugin.setParameter(index, value);
            facts.add("display.%02d.%.3f %s value=%.9g", (int)index, (double)value,
                      quoted(plugin.text(effGetParamDisplay, index)).c_str(), (double)plugin.getParameter(index));
        }
    }
}

int runInfo(const std::vector<std::string> &arguments)
{
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: zem_host info <plugin>\n");
        return 2;
    }
    PluginHost host(arguments[0]);
    if (!host.loaded()) {
        std::fprintf(stderr, "cannot load %s: %s\n", arguments[0].c_str(), host.error().c_str());
        return 1;
    }
    Facts facts;
    {
        PluginInstance plugin(host);
        if (!plugin.valid()) {
            std::fprintf(stderr, "the plug-in created no effect\n");
            return 1;
        }
        facts.add("host.versionQueries %d", host.queries(audioMasterVersion));
        recordHeader(facts, *plugin.record());
        parameters(facts, plugin);
        hostQueries(facts, plugin);
    }
    {
        PluginInstance plugin(host);
        if (plugin.valid())
            displays(facts, plugin);
    }
    facts.print();
    return 0;
}

SubcommandRegistration registration{"info", "info <plugin>", runInfo};

}  // namespace
