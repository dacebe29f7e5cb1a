// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How many processors this program may count on now. One file per system:
// ProcessorsPosix.cpp, ProcessorsWindows.cpp.

// The processors no other running program is using at this moment, this one's own
// thread counted as idle: all of them on an idle machine, one where the others are
// busy. Threads started beyond it would wait for a processor and make the work slower,
// not faster. Where the system does not tell, all the processors it has.
unsigned IdleProcessors();
