// Runs a command as a child process and measures it from outside, so that
// our tool and another one are timed the same way.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace bench {

struct Timing {
    double wall = 0;
    double cpu = 0;
    long peakKiB = 0;  // of the biggest process waited for
    int status = -1;
};

// Forks, calls `exec` in the child (it must replace the process; exit code
// 127 if it returns) and waits: wall time, user + system time, peak memory.
template <typename Exec>
Timing timeChild(Exec exec) {
    Timing t;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        exec();
        _exit(127);
    }
    struct rusage usage {};
    wait4(pid, &t.status, 0, &usage);
    t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    t.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    t.peakKiB = usage.ru_maxrss;
    return t;
}

}  // namespace bench
