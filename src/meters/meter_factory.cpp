// Until the meter engines exist every instance runs without them; every user of an engine
// tests for its absence.
#include "meter_factory.h"

MeterEngine *createRMSMeter(AudioEffect *) { return nullptr; }
MeterEngine *createVUmeter(AudioEffect *) { return nullptr; }
MeterEngine *createPPMmeter(AudioEffect *) { return nullptr; }
