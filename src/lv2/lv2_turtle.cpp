#include "lv2/lv2_turtle.h"

#include <cctype>
#include <cstdio>
#include <sstream>

#include "core/templete.h"
#include "lv2/lv2_ports.h"
#include "lv2/lv2_ui_turtle.h"
#include "lv2/lv2_uris.h"
#include "params/parameter_table.h"
#include "params/plain_units.h"
#include "platform/install_dir.h"

namespace {

const char *const kPrefixes = "@prefix atom:  <http://lv2plug.in/ns/ext/atom#> .\n"
                              "@prefix doap:  <http://usefulinc.com/ns/doap#> .\n"
                              "@prefix foaf:  <http://xmlns.com/foaf/0.1/> .\n"
                              "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
                              "@prefix opts:  <http://lv2plug.in/ns/ext/options#> .\n"
                              "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n"
                              "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
                              "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
                              "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                              "@prefix urid:  <http://lv2plug.in/ns/ext/urid#> .\n"
                              "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n\n";

// A turtle string literal: quotes and backslashes escaped.
std::string literal(const std::string &text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// Numbers as turtle decimals, exact enough to give back the float a port holds.
std::string decimal(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", value);
    std::string out = text;
    if (out.find_first_of(".eE") == std::string::npos)
        out += ".0";
    return out;
}

void audioPort(std::ostringstream &out, uint32_t index, bool input, const char *symbol, const char *name, bool optional)
{
    out << "    [\n        a lv2:AudioPort , " << (input ? "lv2:InputPort" : "lv2:OutputPort") << " ;\n"
        << "        lv2:index " << index << " ;\n        lv2:symbol " << literal(symbol) << " ;\n"
        << "        lv2:name " << literal(name) << " ;\n";
    if (optional)
        out << "        lv2:portProperty lv2:connectionOptional ;\n";
    out << "    ]";
}

const char *unitOf(PlainUnit unit)
{
    switch (unit) {
    case PlainUnit::kDecibels:
        return "units:db";
    case PlainUnit::kHertz:
        return "units:hz";
    case PlainUnit::kMilliseconds:
        return "units:ms";
    default:
        return nullptr;
    }
}

void parameterPort(std::ostringstream &out, Templete &effect, uint32_t id)
{
    const PlainLaw &law = *plainLaw(id);
    char name[kVstMaxParamStrLen + 1] = {};
    effect.getParameterName((VstInt32)id, name);
    out << "    [\n        a lv2:InputPort , lv2:ControlPort ;\n"
        << "        lv2:index " << Lv2Port::kFirstParameter + id << " ;\n"
        << "        lv2:symbol " << literal(lv2PortSymbol(name)) << " ;\n"
        << "        lv2:name " << literal(name) << " ;\n"
        << "        lv2:default " << decimal(plainValue(id, effect.getParameter((VstInt32)id))) << " ;\n"
        << "        lv2:minimum " << decimal(law.minimum) << " ;\n"
        << "        lv2:maximum " << decimal(law.maximum) << " ;\n";
    switch (law.unit) {
    case PlainUnit::kSwitch:
        out << "        lv2:portProperty lv2:toggled ;\n";
        break;
    case PlainUnit::kThreeState:
        out << "        lv2:portProperty lv2:integer , lv2:enumeration ;\n";
        for (int state = 0; state <= (int)law.maximum; ++state) {
            char text[kVstMaxParamStrLen + 1] = {};
            effect.getParameterDisplayOf((VstInt32)id, normalisedValue(id, state), text);
            out << "        lv2:scalePoint [ rdfs:label " << literal(text) << " ; rdf:value " << state << " ] ;\n";
        }
        break;
    case PlainUnit::kMilliseconds:
        out << "        lv2:portProperty lv2:integer ;\n";
        break;
    case PlainUnit::kHertz:
        out << "        lv2:portProperty pprops:logarithmic ;\n";  // the sweep law: base * 100^value
        break;
    case PlainUnit::kDecibels:
        break;
    }
    if (const char *unit = unitOf(law.unit))
        out << "        units:unit " << unit << " ;\n";
    out << "    ]";
}

void outputPort(std::ostringstream &out, uint32_t index, const char *symbol, const char *name, double minimum,
                double maximum, bool integer)
{
    out << "    [\n        a lv2:OutputPort , lv2:ControlPort ;\n"
        << "        lv2:index " << index << " ;\n        lv2:symbol " << literal(symbol) << " ;\n"
        << "        lv2:name " << literal(name) << " ;\n"
        << "        lv2:minimum " << decimal(minimum) << " ;\n        lv2:maximum " << decimal(maximum) << " ;\n";
    if (integer)
        out << "        lv2:portProperty lv2:integer ;\n";
    out << "    ]";
}

// "3.0.2" for 3020.
std::string versionText(int version)
{
    return std::to_string(version / 1000) + "." + std::to_string((version / 100) % 10) + "." +
           std::to_string((version / 10) % 10);
}

// The manual's file name (plain ASCII).
std::string manualName()
{
    std::string name;
    for (const wchar_t *c = kManualFileName; *c; ++c)
        name += (char)*c;
    return name;
}

}  // namespace

std::string lv2PortSymbol(const char *name)
{
    std::string symbol;
    for (const char *c = name; *c; ++c)
        symbol += std::isalnum((unsigned char)*c) ? (char)std::tolower((unsigned char)*c) : '_';
    if (symbol.empty() || std::isdigit((unsigned char)symbol[0]))
        symbol.insert(0, "p_");
    return symbol;
}

std::string lv2ManifestTurtle()
{
    std::ostringstream out;
    out << "@prefix lv2:  <http://lv2plug.in/ns/lv2core#> .\n"
        << "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n\n"
        << "<" ZEM_LV2_URI ">\n    a lv2:Plugin ;\n    lv2:binary <" ZEM_LV2_BINARY "> ;\n"
        << "    rdfs:seeAlso <zem-ordwen.ttl> .\n";
    return out.str();
}

std::string lv2PluginTurtle(Templete &effect)
{
    char vendor[kVstMaxVendorStrLen] = {};
    effect.getVendorString(vendor);
    const VstInt32 version = effect.getVendorVersion();  // 3020 is 3.0.2
    std::ostringstream out;
    out << kPrefixes << "@prefix rdf:   <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n\n";
    out << "<" ZEM_LV2_URI ">\n    a lv2:Plugin , lv2:AnalyserPlugin , lv2:UtilityPlugin , doap:Project ;\n"
        << "    doap:name " << literal(Templete::kProductName) << " ;\n"
        << "    lv2:minorVersion " << (version / 100) % 10 << " ;\n"
        << "    lv2:microVersion " << (version / 10) % 10 << " ;\n"
        << "    doap:release [ doap:revision " << literal(versionText(version)) << " ] ;\n"
        << "    doap:maintainer [ foaf:name " << literal(vendor) << " ; foaf:homepage <http://" << vendor << "/> ] ;\n"
        << "    doap:homepage <http://" << vendor << "/> ;\n"
        << "    rdfs:comment \"Stereo level meter with VU, RMS and PPM needles.\" ;\n"
        << "    lv2:documentation "
        << literal(std::string("The user manual, \"") + manualName() +
                   "\", is installed with the plug-in and opens from the editor's manual button.")
        << " ;\n"
        << "    lv2:binary <" ZEM_LV2_BINARY "> ;\n"
        << "    lv2:requiredFeature urid:map ;\n"
        << "    lv2:optionalFeature lv2:hardRTCapable , opts:options ;\n"
        << "    opts:supportedOption bufsz:maxBlockLength ;\n"
        << "    lv2:extensionData state:interface ;\n"
        << lv2UiReferenceTurtle() << "    lv2:port\n";
    audioPort(out, Lv2Port::kInputLeft, true, "in_left", "Input Left", false);
    out << " ,\n";
    audioPort(out, Lv2Port::kInputRight, true, "in_right", "Input Right", true);
    out << " ,\n";
    audioPort(out, Lv2Port::kOutputLeft, false, "out_left", "Output Left", false);
    out << " ,\n";
    audioPort(out, Lv2Port::kOutputRight, false, "out_right", "Output Right", true);
    for (uint32_t id = 0; id < kPlainParameterCount; ++id) {
        out << " ,\n";
        parameterPort(out, effect, id);
    }
    // The selected meter's needles as its panel reads them (linear, relative to the reference
    // level: 1 is the reference; VU in needle units) and their over lamps.
    out << " ,\n";
    outputPort(out, Lv2Port::kNeedle1, "needle_1", "Needle Left/Mid", 0.0, 32.0, false);
    out << " ,\n";
    outputPort(out, Lv2Port::kNeedle2, "needle_2", "Needle Right/Side", 0.0, 32.0, false);
    out << " ,\n";
    outputPort(out, Lv2Port::kOver1, "over_1", "Over Left/Mid", -1.0, 1.0, true);
    out << " ,\n";
    outputPort(out, Lv2Port::kOver2, "over_2", "Over Right/Side", -1.0, 1.0, true);
    out << " .\n\n" << lv2UiTurtle();
    return out.str();
}
