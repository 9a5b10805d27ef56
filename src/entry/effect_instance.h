// The one effect both entry points build: the effect with the product's editor. [main-thread]
// (the host's)
#pragma once

#include "vst/aeffect.h"

class Templete;

// Reads the stored defaults first (once per process), then builds the effect for a host that
// answers through audioMaster; null when there is no memory for it.
Templete *createZemEffect(audioMasterCallback audioMaster);
