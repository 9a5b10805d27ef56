// ZEM_CHECK(cond, neutral): a contract of one of our own internal calls. A release build answers
// the neutral value quietly when cond does not hold (return neutral; leave neutral empty in a
// function returning void); a test or fuzz build (ZEM_CONTRACTS_ABORT) prints the failed
// condition and aborts, so a broken caller cannot hide behind the neutral answer.
// Input that comes from a host is never checked with it: a host may pass anything, and the
// answer to that stays neutral and quiet in every build. [any-thread], the audio thread included:
// the release check is a comparison and a return.
#pragma once

#ifdef ZEM_CONTRACTS_ABORT
#include <cstdio>
#include <cstdlib>

namespace zem {
[[noreturn]] inline void contractFailed(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: contract failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}
}  // namespace zem

#define ZEM_CHECK(cond, neutral)                                                                                       \
    do {                                                                                                               \
        if (!(cond))                                                                                                   \
            ::zem::contractFailed(#cond, __FILE__, __LINE__);                                                          \
    } while (0)
#else
#define ZEM_CHECK(cond, neutral)                                                                                       \
    do {                                                                                                               \
        if (!(cond))                                                                                                   \
            return neutral;                                                                                            \
    } while (0)
#endif
