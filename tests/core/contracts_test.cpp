// The effect's own contracts towards its callers inside the plug-in: what only a broken caller
// can ask. A test build stops there; a release build answers neutrally.
#include <gtest/gtest.h>

#include "core/templete.h"
#include "support/recording_host.h"

namespace {

TEST(EffectContracts, AMeterEngineOfNoMeterTypeBreaksAContract)
{
    Templete effect(RecordingHost::callback, nullptr);
    for (MeterType type : {kMeterTypeVU, kMeterTypeRMS, kMeterTypePPM})
        EXPECT_NE(effect.meterEngine(type), nullptr) << type;
#ifdef ZEM_CONTRACTS_ABORT
    EXPECT_DEATH(effect.meterEngine(kMeterTypeCount), "contract failed: \\(int\\)type >= 0");
#else
    EXPECT_EQ(effect.meterEngine(kMeterTypeCount), nullptr);
#endif
}

}  // namespace
