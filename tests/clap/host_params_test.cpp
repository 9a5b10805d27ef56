// The parameter ground of clap-validator, through our host: the list itself, the defaults,
// value <-> text round trips, values set through flush and through process agreeing, events of
// a foreign namespace ignored, and the host hearing of values a state load moves.
#include <set>

#include "host_fixture.h"

namespace {

using ClapHostParams = ClapHostTest;

// Values across a parameter's range: its ends, its default and points between (whole ones for
// stepped parameters).
std::vector<double> valuesAcross(const clap_param_info_t &p)
{
    std::vector<double> values{p.min_value, p.max_value, p.default_value};
    for (int i = 1; i < 10; ++i) {
        double v = p.min_value + (p.max_value - p.min_value) * i / 10.0;
        values.push_back((p.flags & CLAP_PARAM_IS_STEPPED) ? std::floor(v) : v);
    }
    return values;
}

TEST_F(ClapHostParams, TheListIsSound)
{
    auto instance = create();
    const std::vector<clap_param_info_t> list = instance->parameters();
    ASSERT_EQ(list.size(), 17u);
    std::set<clap_id> ids;
    for (size_t i = 0; i < list.size(); ++i) {
        const clap_param_info_t &p = list[i];
        SCOPED_TRACE(p.name);
        EXPECT_EQ(p.id, (clap_id)i);  // stable ids 0..16, no spare indices
        ids.insert(p.id);
        EXPECT_NE(p.name[0], 0);
        EXPECT_TRUE(std::isfinite(p.min_value) && std::isfinite(p.max_value));
        EXPECT_LE(p.min_value, p.max_value);
        EXPECT_GE(p.default_value, p.min_value);
        EXPECT_LE(p.default_value, p.max_value);
        EXPECT_TRUE(p.flags & CLAP_PARAM_IS_AUTOMATABLE);
        EXPECT_FALSE(p.flags & CLAP_PARAM_IS_READONLY);
        if (p.flags & CLAP_PARAM_IS_STEPPED) {
            EXPECT_EQ(p.min_value, std::floor(p.min_value));
            EXPECT_EQ(p.max_value, std::floor(p.max_value));
        }
        if (p.flags & CLAP_PARAM_IS_ENUM) {
            EXPECT_TRUE(p.flags & CLAP_PARAM_IS_STEPPED);
            for (double v = p.min_value; v <= p.max_value; v += 1) {
                std::string text;
                EXPECT_TRUE(instance->text(p.id, v, text) && !text.empty()) << v;
            }
        }
        const std::string module = p.module;
        EXPECT_TRUE(module.empty() ||
                    (module.front() != '/' && module.back() != '/' && module.find("//") == std::string::npos));
        double value = 0;
        ASSERT_TRUE(instance->value(p.id, value));
        EXPECT_NEAR(value, p.default_value, 1e-4 * (p.max_value - p.min_value)) << "the default is the value";
    }
    EXPECT_EQ(ids.size(), list.size());
    clap_param_info_t beyond{};
    EXPECT_FALSE(instance->params()->get_info(instance->plugin(), 17, &beyond));
    double value = 0;
    EXPECT_FALSE(instance->value(17, value));
}

TEST_F(ClapHostParams, ValueTextValueRoundTrips)
{
    auto instance = create();
    for (const clap_param_info_t &p : instance->parameters())
        for (double v : valuesAcross(p)) {
            SCOPED_TRACE(std::string(p.name) + " at " + std::to_string(v));
            std::string text, again;
            double parsed = 0, reparsed = 0;
            ASSERT_TRUE(instance->text(p.id, v, text));
            ASSERT_TRUE(instance->fromText(p.id, text, parsed)) << text;
            ASSERT_TRUE(instance->text(p.id, parsed, again));
            EXPECT_EQ(again, text);
            ASSERT_TRUE(instance->fromText(p.id, again, reparsed));
            EXPECT_EQ(reparsed, parsed);
        }
    // A small buffer gets a terminated text, never more than it holds.
    std::string shortText;
    EXPECT_TRUE(!instance->text(1, 0.0, shortText, 4) || shortText.size() < 4);
}

// Random values for every parameter but the shared scope and meter type, once through flush on
// an inactive instance and once through process on a fresh one: both end with the same values.
TEST_F(ClapHostParams, FlushAndProcessSetTheSameValues)
{
    std::mt19937 random(21);
    for (int round = 0; round < 5; ++round) {
        std::vector<ClapParamChange> changes;
        auto first = create();
        for (const clap_param_info_t &p : first->parameters()) {
            if (p.id == 2 || p.id == 3)
                continue;
            std::uniform_real_distribution<double> range(p.min_value, p.max_value);
            double v = range(random);
            if (p.flags & CLAP_PARAM_IS_STEPPED)
                v = std::floor(v);
            changes.push_back({0, p.id, v, CLAP_CORE_EVENT_SPACE_ID, round % 2 == 0});
        }
        first->flush(changes);
        auto second = create();
        ASSERT_TRUE(second->activate(44100, 1, 512) && second->startProcessing());
        StereoBuffers buffers(512);
        EXPECT_EQ(second->process(buffers.inputs(), buffers.outputs(), 512, changes), CLAP_PROCESS_CONTINUE);
        for (const ClapParamChange &c : changes) {
            double a = 0, b = 0;
            ASSERT_TRUE(first->value(c.id, a) && second->value(c.id, b));
            std::string ta, tb, tc;
            first->text(c.id, a, ta);
            second->text(c.id, b, tb);
            first->text(c.id, c.value, tc);
            EXPECT_EQ(ta, tb) << "id " << c.id;
            EXPECT_EQ(ta, tc) << "id " << c.id << " took " << a << " for " << c.value;
        }
    }
}

TEST_F(ClapHostParams, EventsOfAnotherNamespaceChangeNothing)
{
    auto instance = create();
    ASSERT_TRUE(instance->activate(44100, 1, 256) && instance->startProcessing());
    std::vector<double> before;
    std::vector<ClapParamChange> foreign;
    for (const clap_param_info_t &p : instance->parameters()) {
        double v = 0;
        instance->value(p.id, v);
        before.push_back(v);
        foreign.push_back({0, p.id, v == p.max_value ? p.min_value : p.max_value, 0xB33F});
    }
    StereoBuffers buffers(256);
    instance->process(buffers.inputs(), buffers.outputs(), 256, foreign);
    instance->stopProcessing();
    instance->flush(foreign);
    for (size_t i = 0; i < before.size(); ++i) {
        double v = 0;
        instance->value((clap_id)i, v);
        EXPECT_EQ(v, before[i]) << "id " << i;
    }
}

}  // namespace
