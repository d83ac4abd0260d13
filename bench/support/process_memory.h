// Anonymous memory of this process, the figure the memory benchmarks watch:
// it leaves out file pages the kernel can drop, so it is what a sheet costs.
#pragma once

#include <fstream>
#include <string>

namespace bench {

// RssAnon from /proc/self/status in KiB, or -1 where the kernel gives none.
inline long rssAnonKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("RssAnon:", 0) == 0) {
            return std::stol(line.substr(8));
        }
    }
    return -1;
}

}  // namespace bench
