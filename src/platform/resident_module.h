// Once a host has called in, the plug-in module stays loaded until the process ends: each unload
// and load again would leave the memory of the libraries it brings in behind. The Linux library
// gets the same from its link ("nodelete"), so there this does nothing. Not from DllMain: that
// runs under the loader lock. [any-thread]
#pragma once

void keepModuleResident();
