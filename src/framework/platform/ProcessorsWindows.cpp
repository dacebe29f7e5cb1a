// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/platform/Processors.h"

#include <algorithm>
#include <thread>

// Windows tells the load of its processors only as times sampled apart, which would cost
// the short commands that ask more than they could save: every processor counts.
unsigned IdleProcessors() { return std::max(1u, std::thread::hardware_concurrency()); }
