// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/FileSystem.h"

namespace {

// Moves size bytes in parts: part(done, offset) moves some of what is left from done
// and gives how many it moved, 0 to be asked again, or a negative number on failure.
// A part that claims more than was left is a failure too, so that no failed call can
// pass for a finished run whatever its integer types made of it.
template <typename Part>
bool MoveWhole(std::size_t size, std::uint64_t offset, Part part) {
    for (std::size_t done = 0; done < size;) {
        const std::ptrdiff_t moved = part(done, offset + done);
        if (moved < 0 || static_cast<std::size_t>(moved) > size - done) return false;
        done += static_cast<std::size_t>(moved);
    }
    return true;
}

}  // namespace

bool ReadAt(FileSystem& system, const FileHandle& file, std::uint8_t* data, std::size_t size, std::uint64_t offset) {
    return MoveWhole(size, offset, [&](std::size_t done, std::uint64_t at) {
        return system.ReadPart(file, data + done, size - done, at);
    });
}

bool WriteAt(FileSystem& system, const FileHandle& file, const std::uint8_t* data, std::size_t size,
             std::uint64_t offset) {
    return MoveWhole(size, offset, [&](std::size_t done, std::uint64_t at) {
        return system.WritePart(file, data + done, size - done, at);
    });
}
