// Memory of the test process resident in RAM, for the suites that bound what instances or
// load/unload cycles keep: the working set under Windows (Wine), the resident pages natively.
#pragma once

#include <cstddef>
#ifdef _WIN32
#include <windows.h>
// After windows.h.
#include <psapi.h>
#else
#include <fstream>

#include <unistd.h>
#endif

// Bytes of the process resident in RAM (0 where it is not read).
inline size_t processResidentBytes()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    return K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.WorkingSetSize : 0;
#else
    std::ifstream statm("/proc/self/statm");
    size_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (size_t)sysconf(_SC_PAGESIZE);
#endif
}
