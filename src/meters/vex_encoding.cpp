#include "meters/vex_encoding.h"

#ifdef ZEM_ENGINE_VEX
namespace {

bool detectAvx()
{
    __builtin_cpu_init();  // may run before the runtime's own initialisation at library load
    return __builtin_cpu_supports("avx");
}

// The runtime's check includes the system's saving of the registers (XGETBV).
bool detectAvx512()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
}

}  // namespace

const bool processorHasAvx = detectAvx();
const bool processorHasAvx512 = detectAvx512();
#endif
