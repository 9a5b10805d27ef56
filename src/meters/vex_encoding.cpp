#include "meters/vex_encoding.h"

#ifdef ZEM_ENGINE_VEX
namespace {

bool detectAvx()
{
    __builtin_cpu_init();  // may run before the runtime's own initialisation at library load
    return __builtin_cpu_supports("avx");
}

}  // namespace

const bool processorHasAvx = detectAvx();
#endif
