// Creates the three meter engines of one effect instance. Each takes its scope from the shared
// scope and its settings from that scope's set. Answers null when allocation fails; every user
// tests for an absent engine. [ui-thread] (the host's, effect construction).
#pragma once

#include "meters/meter_engine.h"

MeterEngine *createRMSMeter(AudioEffect *owner);
MeterEngine *createVUmeter(AudioEffect *owner);
MeterEngine *createPPMmeter(AudioEffect *owner);
