#include "meters/meter_factory.h"

#include <new>

#include "meters/meter_settings.h"
#include "meters/ppm_meter.h"
#include "meters/precise_stage.h"
#include "meters/rms_meter.h"
#include "meters/vu_meter.h"

namespace {

// Runs once when the library is loaded, before any instance exists. It lives beside the
// factory so that even a static link, which pulls this unit in for the factory, runs it.
struct MeterModuleLoad {
    MeterModuleLoad()
    {
        loadDefaults();
        preciseTables();
    }
};
const MeterModuleLoad meterModuleLoad;

// An engine that cannot be allocated is left out; the effect tests for its absence.
template <class Engine>
MeterEngine *createEngine(AudioEffect *owner)
{
    try {
        return new Engine(owner);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

} // namespace

MeterEngine *createRMSMeter(AudioEffect *owner)
{
    return createEngine<RMSMeter>(owner);
}

MeterEngine *createVUmeter(AudioEffect *owner)
{
    return createEngine<VUmeter>(owner);
}

MeterEngine *createPPMmeter(AudioEffect *owner)
{
    return createEngine<PPMmeter>(owner);
}
