#include "entry/effect_instance.h"

#include <new>

#include "core/templete.h"
#include "editor/editor_factory.h"
#include "meters/meter_settings.h"

Templete *createZemEffect(audioMasterCallback audioMaster)
{
    // The stored defaults are read here, on the host's first call, and not while the library
    // loads: a static initialiser runs under the loader lock on Windows and must neither touch
    // the registry nor let an exception escape.
    prepareMeterDefaults();
    return new (std::nothrow) Templete(audioMaster, createTemepleteEditor);
}
