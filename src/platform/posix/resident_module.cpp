#include "platform/resident_module.h"

void keepModuleResident() {}  // the library is linked "nodelete"
