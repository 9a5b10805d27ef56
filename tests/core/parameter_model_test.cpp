// The parameter index space through the loaded plug-in: defaults, clamping, display texts,
// internal indices and the values that all instances of the process share.
#include <cmath>
#include <limits>
#include <string>

#include "loaded_plugin.h"

namespace {

using ParameterModelTest = LoadedPluginTest;

std::string display(PluginInstance &plugin, VstInt32 index, float value)
{
    plugin.setParameter(index, value);
    return plugin.text(effGetParamDisplay, index);
}

}  // namespace

TEST_F(ParameterModelTest, FreshInstanceDefaults)
{
    PluginInstance plugin(host());
    const float expected[17] = {0.f, 0.5f, 0.5f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 1.f, 0.f, 0.f, 1.f, 0.f, 1.f, 0.f, 0.f};
    for (VstInt32 i = 0; i < 17; ++i)
        EXPECT_EQ(plugin.getParameter(i), expected[i]) << i;
    for (VstInt32 i = 17; i < 64; ++i)
        EXPECT_EQ(plugin.getParameter(i), 0.5f) << i;
    for (VstInt32 i : {64, 65, 66, 67, 68, 69, 70, 71, 82, 92, 101, 1000})
        EXPECT_EQ(plugin.getParameter(i), 0.f) << i;
    for (VstInt32 i = 0; i < 64; ++i)
        EXPECT_EQ(plugin.text(effGetParamLabel, i), "  ") << i;
}

TEST_F(ParameterModelTest, ValuesAreClampedAndKeptAsSet)
{
    PluginInstance plugin(host());
    plugin.setParameter(1, 1.7f);
    EXPECT_EQ(plugin.getParameter(1), 1.f);
    EXPECT_EQ(plugin.text(effGetParamDisplay, 1), "20.0dB");
    plugin.setParameter(1, -3.f);
    EXPECT_EQ(plugin.getParameter(1), 0.f);
    plugin.setParameter(3, 0.3f);
    EXPECT_EQ(plugin.getParameter(3), 0.3f) << "the value as set, not its decoding";
    EXPECT_EQ(plugin.text(effGetParamDisplay, 3), "RMS3");
    plugin.setParameter(14, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(plugin.getParameter(14), 0.f) << "not a number counts as 0";
    plugin.setParameter(1, std::numeric_limits<float>::infinity());
    EXPECT_EQ(plugin.getParameter(1), 1.f);
}

TEST_F(ParameterModelTest, SpareParametersNeverChange)
{
    PluginInstance plugin(host());
    plugin.setParameter(40, 0.9f);
    EXPECT_EQ(plugin.getParameter(40), 0.5f);
    EXPECT_EQ(plugin.text(effGetParamName, 40), "");
    EXPECT_EQ(plugin.text(effGetParamDisplay, 40), "");
}

TEST_F(ParameterModelTest, TrimTexts)
{
    PluginInstance plugin(host());
    EXPECT_EQ(display(plugin, 1, 0.5f), "0.0dB");
    EXPECT_EQ(display(plugin, 1, 0.f), "-20.0dB");
    EXPECT_EQ(display(plugin, 1, 1.f), "20.0dB");
    EXPECT_EQ(display(plugin, 1, 0.75f), "10.0dB");
    EXPECT_EQ(display(plugin, 1, 0.25f), "-10.0dB");
    EXPECT_EQ(display(plugin, 1, 0.41f), "-3.6dB");    // integer(164.5) = 164 tenths
    EXPECT_EQ(display(plugin, 1, 0.50126f), "0.1dB");  // one step above 0 dB
    EXPECT_EQ(display(plugin, 1, 0.49874f), "-0.1dB");
}

TEST_F(ParameterModelTest, FrequencyAndSwitchTexts)
{
    PluginInstance plugin(host());
    EXPECT_EQ(display(plugin, 11, 0.5f), "200");
    EXPECT_EQ(display(plugin, 11, 0.f), "20.0");
    EXPECT_EQ(display(plugin, 11, 1.f), "2k");
    EXPECT_EQ(display(plugin, 14, 0.5f), "3k");
    EXPECT_EQ(display(plugin, 14, 1.f), "30k");
    EXPECT_EQ(display(plugin, 14, 0.f), "300");
    EXPECT_EQ(display(plugin, 0, 1.f), "On");
    EXPECT_EQ(display(plugin, 0, 0.49f), "Off");
    EXPECT_EQ(display(plugin, 3, 0.f), "VU3");
    EXPECT_EQ(display(plugin, 3, 0.5f), "RMS3");
    EXPECT_EQ(display(plugin, 3, 1.f), "PPM3");
    EXPECT_EQ(display(plugin, 6, 1.f), "Show");
    EXPECT_EQ(display(plugin, 7, 0.f), "Hide");
    EXPECT_EQ(display(plugin, 8, 1.f), "In");
    EXPECT_EQ(display(plugin, 9, 0.f), "Out");
    EXPECT_EQ(display(plugin, 10, 0.f), "12");
    EXPECT_EQ(display(plugin, 10, 1.f), "24");
    EXPECT_EQ(display(plugin, 12, 1.f), "In");
    EXPECT_EQ(display(plugin, 13, 0.f), "6");
    EXPECT_EQ(display(plugin, 13, 1.f), "18");
    EXPECT_EQ(display(plugin, 15, 1.f), "Show");
}

TEST_F(ParameterModelTest, EngineTextsForEveryMeterType)
{
    PluginInstance plugin(host());
    for (float meter : {0.f, 0.5f, 1.f}) {
        plugin.setParameter(3, meter);
        EXPECT_EQ(display(plugin, 16, 0.25f), "250 ms") << meter;  // integer(249.75 + 0.5)
        EXPECT_EQ(display(plugin, 16, 0.f), "0 ms") << meter;
        EXPECT_EQ(display(plugin, 5, 0.f), "Off") << meter;
        EXPECT_EQ(display(plugin, 5, 0.5f), "oo") << meter;
        EXPECT_EQ(display(plugin, 5, 1.f), "On") << meter;
        EXPECT_EQ(display(plugin, 4, 0.f), "LR") << meter;
        EXPECT_EQ(display(plugin, 4, 1.f), "MS") << meter;
        EXPECT_EQ(display(plugin, 2, 0.f), "Global") << meter;
        EXPECT_EQ(display(plugin, 2, 0.5f), "Session") << meter;
        EXPECT_EQ(display(plugin, 2, 1.f), "Instance") << meter;
    }
}

TEST_F(ParameterModelTest, ScopeAndMeterTypeCarryToTheNextInstance)
{
    {
        PluginInstance first(host());
        first.setParameter(3, 1.f);  // PPM
        first.setParameter(2, 1.f);  // Instance
    }
    PluginInstance second(host());
    EXPECT_EQ(second.getParameter(3), 1.f);
    EXPECT_EQ(second.getParameter(2), 1.f);
    second.setParameter(3, 0.3f);  // RMS: the shared value is the decoded state
    second.setParameter(2, 0.f);
    PluginInstance third(host());
    EXPECT_EQ(third.getParameter(3), 0.5f);
    EXPECT_EQ(third.getParameter(2), 0.f);
    // Living instances keep their own values.
    EXPECT_EQ(second.getParameter(3), 0.3f);
}
