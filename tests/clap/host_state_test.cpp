// The state ground of clap-validator, through our host's streams: empty and random streams
// refused without harm, values restored on a new instance (whole, and in 23-byte writes and
// 17-byte reads), a second save byte for byte the first, and the same with audio processed
// between the changes and the save.
#include "host_fixture.h"

namespace {

using ClapHostState = ClapHostTest;

// Random values (the shared scope and meter type left alone) set through flush.
std::vector<ClapParamChange> randomChanges(ClapInstance &instance, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<ClapParamChange> changes;
    for (const clap_param_info_t &p : instance.parameters()) {
        if (p.id == 2 || p.id == 3)
            continue;
        std::uniform_real_distribution<double> range(p.min_value, p.max_value);
        double v = range(random);
        changes.push_back({0, p.id, (p.flags & CLAP_PARAM_IS_STEPPED) ? std::floor(v) : v});
    }
    return changes;
}

std::vector<double> valuesOf(ClapInstance &instance)
{
    std::vector<double> values;
    for (const clap_param_info_t &p : instance.parameters()) {
        double v = 0;
        instance.value(p.id, v);
        values.push_back(v);
    }
    return values;
}

TEST_F(ClapHostState, EmptyAndRandomStreamsAreRefused)
{
    auto instance = create();
    EXPECT_FALSE(instance->load({}));
    std::mt19937 random(7);
    for (int i = 0; i < 3; ++i) {
        std::vector<uint8_t> noise(1 << 20);
        for (uint8_t &b : noise)
            b = (uint8_t)random();
        EXPECT_FALSE(instance->load(noise, 4096));
    }
    std::vector<uint8_t> saved;
    EXPECT_TRUE(instance->save(saved));
    EXPECT_EQ(saved.size(), 596u);
}

TEST_F(ClapHostState, ValuesComeBackOnANewInstanceInAnyPieces)
{
    for (size_t writes : {(size_t)SIZE_MAX, (size_t)23, (size_t)1}) {
        SCOPED_TRACE("pieces of " + std::to_string(writes));
        auto first = create();
        first->flush(randomChanges(*first, (uint32_t)writes));
        const std::vector<double> values = valuesOf(*first);
        std::vector<uint8_t> saved;
        ASSERT_TRUE(first->save(saved, writes));
        first.reset();

        host.clearCalls();
        auto second = create();
        ASSERT_TRUE(second->load(saved, writes == SIZE_MAX ? writes : 17));
        EXPECT_EQ(valuesOf(*second), values);
        EXPECT_GE(host.count(ClapHostCall::ParamsRescan), 1u) << "the values moved on load";
        std::vector<uint8_t> again;
        ASSERT_TRUE(second->save(again, writes));
        EXPECT_EQ(again, saved);
    }
}

TEST_F(ClapHostState, ProcessingBetweenChangesAndSaveKeepsTheState)
{
    auto first = create();
    ASSERT_TRUE(first->activate(48000, 1, 1024) && first->startProcessing());
    StereoBuffers buffers(1024);
    const std::vector<ClapParamChange> changes = randomChanges(*first, 99);
    for (int block = 0; block < 5; ++block)
        first->process(buffers.inputs(), buffers.outputs(), 1024,
                       block == 2 ? changes : std::vector<ClapParamChange>{});
    const std::vector<double> values = valuesOf(*first);
    std::vector<uint8_t> saved;
    ASSERT_TRUE(first->save(saved));  // on the main thread while active

    auto second = create();
    ASSERT_TRUE(second->activate(48000, 1, 1024) && second->startProcessing());
    ASSERT_TRUE(second->load(saved, 17));
    second->process(buffers.inputs(), buffers.outputs(), 1024);
    EXPECT_EQ(valuesOf(*second), values);
    std::vector<uint8_t> again;
    ASSERT_TRUE(second->save(again));
    EXPECT_EQ(again, saved);
}

}  // namespace
