#include "meters/meter_factory.h"

#include <new>

#include "meters/meter_settings.h"
#include "meters/ppm_meter.h"
#include "meters/rms_meter.h"
#include "meters/vu_meter.h"

namespace {

// An engine that cannot be allocated is left out; the effect tests for its absence.
template <class Engine> MeterEngine *createEngine(AudioEffect *owner)
{
    // The defaults an engine starts from are loaded before the first engine exists.
    prepareMeterDefaults();
    try {
        return new Engine(owner);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

}  // namespace

MeterEngine *createRMSMeter(AudioEffect *owner) { return createEngine<RMSMeter>(owner); }

MeterEngine *createVUmeter(AudioEffect *owner) { return createEngine<VUmeter>(owner); }

MeterEngine *createPPMmeter(AudioEffect *owner) { return createEngine<PPMmeter>(owner); }
