// The memory a live instance keeps resident, through the built plug-in as a host uses it: fifty
// instances, each resumed at 48 kHz and fed a few blocks of audio with the defaults (no display
// delay), add less than 48 kB each. The engines' display rings (a second of history for every
// quantity) are most of an instance's size; they take memory only once a lag is set.
#include <memory>
#include <vector>

#include "loaded_plugin.h"
#include "support/resident_memory.h"

namespace {

class InstanceMemoryTest : public LoadedPluginTest {
protected:
    std::unique_ptr<PluginInstance> resumedInstance(float lagValue)
    {
        auto plugin = std::make_unique<PluginInstance>(host());
        plugin->setParameter(16, lagValue);
        plugin->start(48000.f, 512);
        float *inputs[2] = {left.data(), right.data()};
        float *outputs[2] = {outLeft.data(), outRight.data()};
        for (int block = 0; block < 8; ++block)
            plugin->processReplacing(inputs, outputs, 512);
        return plugin;
    }
    // Resident bytes per instance that `count` more instances add.
    double residentPerInstance(int count, float lagValue)
    {
        std::vector<std::unique_ptr<PluginInstance>> instances;
        instances.push_back(resumedInstance(lagValue));  // the library's own first touches
        const size_t before = processResidentBytes();
        for (int i = 0; i < count; ++i)
            instances.push_back(resumedInstance(lagValue));
        const size_t after = processResidentBytes();
        for (auto &instance : instances)
            EXPECT_TRUE(instance->valid());
        return after > before ? double(after - before) / count : 0.0;
    }

    std::vector<float> left = std::vector<float>(512, 0.25f), right = std::vector<float>(512, -0.125f);
    std::vector<float> outLeft = std::vector<float>(512), outRight = std::vector<float>(512);
};

TEST_F(InstanceMemoryTest, FiftyInstancesWithoutLagKeepUnderFortyEightKilobytesEachResident)
{
    ASSERT_GT(processResidentBytes(), 0u);
    EXPECT_LT(residentPerInstance(50, 0.f), 48.0 * 1024) << "resident bytes per live instance";
}

// The rings do take their memory once a lag shows them: the figure above is not a measuring
// fault. (The lag runs in the engine of the shown meter only.)
TEST_F(InstanceMemoryTest, ALagMakesTheShownEnginesRingResident)
{
    ASSERT_GT(processResidentBytes(), 0u);
    EXPECT_GT(residentPerInstance(20, 0.5f), 32.0 * 1024) << "resident bytes per live instance";
}

}  // namespace
