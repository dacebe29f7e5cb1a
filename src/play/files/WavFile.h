// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "storage/SafeFile.h"

// RIFF WAVE files of 16-bit PCM stereo, the samples interleaved (left first).

inline constexpr std::size_t kWavHeaderSize = 44;

// The header before dataBytes bytes of samples at sampleRate.
std::array<std::uint8_t, kWavHeaderSize> WavHeader(std::uint32_t dataBytes, int sampleRate);

// The whole file, in memory.
std::vector<std::uint8_t> WavFileBytes(const std::vector<std::int16_t>& samples, int sampleRate);

// The same file written in blocks, however long the sound, holding no more than one
// buffer in memory: through the storage layer's SafeFileWriter, so the file takes its
// name only once Finish has completed it (its header counting the samples written), and
// a failure leaves no part of it.
class WavFileWriter {
public:
    WavFileWriter(FileSystem& system, const std::filesystem::path& path, int sampleRate);

    // Adds samples; false once writing failed, or when the file would outgrow the
    // 4 GB that a WAV header can count.
    bool Write(std::span<const std::int16_t> samples);
    // Once, after the last Write: the header written and the file put in its place.
    WriteResult Finish();

private:
    bool WriteBuffer();

    SafeFileWriter m_file;
    int m_sampleRate;
    std::vector<std::uint8_t> m_buffer;
    std::uint64_t m_dataBytes = 0;
    bool m_failed = false;   // nothing more is written
    bool m_tooLong = false;  // nothing is put in place
};
