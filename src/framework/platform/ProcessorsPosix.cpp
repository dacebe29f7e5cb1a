// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/platform/Processors.h"

#include <algorithm>
#include <fstream>
#include <thread>

unsigned IdleProcessors() {
    const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    // Linux's /proc/loadavg holds the threads running or ready to run now, this one
    // included, as "RUNNING/TOTAL" after the three load averages.
    std::ifstream loadavg("/proc/loadavg");
    double average = 0;
    unsigned running = 0;
    char slash = 0;
    if (!(loadavg >> average >> average >> average >> running >> slash) || slash != '/' || running == 0)
        return processors;
    return running - 1 >= processors ? 1u : processors - (running - 1);
}
