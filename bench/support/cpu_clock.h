// Processor time of the calling thread: on a shared machine the wall clock
// also counts other programs' turns.
#pragma once

#include <ctime>

namespace bench {

inline double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

}  // namespace bench
