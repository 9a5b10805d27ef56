// The parameters as the official validator's "Scan Parameters" test and a host's generic editor
// see them: 17 with ids 0-16, titled, in the root unit, automatable and never read-only, step
// counts from their own units (lists for the three-state ones), texts for every value and the
// values of those texts, and the host's setParamNormalized never answered with performEdit.
#ifdef ZEM_VST3_BUNDLE  // the tests build the bundle beside them
#include <set>

#include "host_fixture.h"
#include "params/plain_units.h"

namespace {

using Vst3HostParams = Vst3HostTest;

TEST_F(Vst3HostParams, SeventeenParametersPassTheValidatorsScan)
{
    auto instance = create();
    const std::vector<vst3::ParameterInfo> parameters = instance->parameters();
    ASSERT_EQ(parameters.size(), 17u);
    std::set<uint32_t> ids;
    for (size_t i = 0; i < parameters.size(); ++i) {
        const vst3::ParameterInfo &p = parameters[i];
        const std::string title = utf8Of(p.title, 128);
        SCOPED_TRACE(title);
        EXPECT_EQ(p.id, (uint32_t)i) << "stable ids 0-16, in index order";
        EXPECT_TRUE(ids.insert(p.id).second);
        EXPECT_FALSE(title.empty());
        EXPECT_EQ(p.unitId, vst3::kRootUnitId);
        EXPECT_GE(p.stepCount, 0);
        EXPECT_GE(p.defaultNormalizedValue, 0.0);
        EXPECT_LE(p.defaultNormalizedValue, 1.0);
        EXPECT_TRUE(p.flags & vst3::kCanAutomate);
        EXPECT_FALSE(p.flags & (vst3::kIsReadOnly | vst3::kIsHidden | vst3::kIsProgramChange | vst3::kIsBypass));
        const PlainLaw *law = plainLaw(p.id);
        ASSERT_NE(law, nullptr);
        // Steps for the two- and three-state ones; the others are continuous for the host.
        const bool states = law->unit == PlainUnit::kSwitch || law->unit == PlainUnit::kThreeState;
        EXPECT_EQ(p.stepCount, states ? (int32_t)(law->maximum - law->minimum) : 0);
        EXPECT_EQ((p.flags & vst3::kIsList) != 0, plainIsEnumeration(p.id));
        const std::string units = utf8Of(p.units, 128);
        if (law->unit == PlainUnit::kDecibels) {
            EXPECT_EQ(units, "dB");
        }
        if (law->unit == PlainUnit::kHertz) {
            EXPECT_EQ(units, "Hz");
        }
        if (law->unit == PlainUnit::kMilliseconds) {
            EXPECT_EQ(units, "ms");
        }
        EXPECT_EQ(instance->value(p.id), p.defaultNormalizedValue) << "a fresh instance stands at its defaults";
    }
    vst3::ParameterInfo beyond{};
    EXPECT_NE(instance->editController()->getParameterInfo(17, beyond), vst3::kResultOk);
    EXPECT_NE(instance->editController()->getParameterInfo(-1, beyond), vst3::kResultOk);
}

TEST_F(Vst3HostParams, EveryValueHasATextWhoseValueHasTheSameText)
{
    auto instance = create();
    for (uint32_t id = 0; id < 17; ++id)
        for (int step = 0; step <= 20; ++step) {
            const double value = step / 20.0;
            std::string text, again;
            ASSERT_TRUE(instance->text(id, value, text)) << id << " at " << value;
            EXPECT_FALSE(text.empty()) << id << " at " << value;
            double parsed = -1;
            ASSERT_TRUE(instance->fromText(id, text, parsed)) << id << " \"" << text << "\"";
            EXPECT_GE(parsed, 0.0);
            EXPECT_LE(parsed, 1.0);
            ASSERT_TRUE(instance->text(id, parsed, again));
            EXPECT_EQ(again, text) << id << " at " << value;
            const double plain = instance->editController()->normalizedParamToPlain(id, value);
            EXPECT_NEAR(instance->editController()->normalizedParamToPlain(
                            id, instance->editController()->plainParamToNormalized(id, plain)),
                        plain, 1e-6)
                << id;
        }
    std::string text;
    EXPECT_FALSE(instance->text(17, 0.5, text)) << "no spare parameters";
    EXPECT_FALSE(instance->text(vst3::kNoParamId, 0.5, text));
    double value = 0;
    EXPECT_FALSE(instance->fromText(4, "no state of it", value));
}

TEST_F(Vst3HostParams, TheHostsValuesAreShownNeverSentBack)
{
    auto instance = create();
    for (uint32_t id : {1u, 4u, 6u, 12u}) {
        EXPECT_EQ(instance->editController()->setParamNormalized(id, 1.0), vst3::kResultOk);
        EXPECT_EQ(instance->value(id), 1.0);
    }
    EXPECT_TRUE(handler.calls().empty()) << "setParamNormalized answered through the handler";
    // Applied through a flush, the values reach the controller side too.
    ASSERT_EQ(instance->flush({{1, 0, 0.25}, {vst3::kNoParamId, 0, 0.5}}), vst3::kResultOk);
    EXPECT_EQ(instance->value(1), 0.25);
}

}  // namespace
#endif
