// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "format/Chunks.h"

// Appends the CASM chunk in range to out. With stripCntt every "Cntt" sub-chunk is
// left out and the CSEG and CASM length fields are written for what remains; without
// it the chunk is copied as it stands. The chunk is walked as the load walks it, so
// the same structure errors apply, at their offsets in the image.
MaybeStyleError CopyCasmChunk(ByteView image, ByteRange casm, bool stripCntt, std::vector<std::uint8_t>& out);
