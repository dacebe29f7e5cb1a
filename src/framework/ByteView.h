// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

// Bytes read from or written to a file, seen without owning them.
using ByteView = std::span<const std::uint8_t>;
