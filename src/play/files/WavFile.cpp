// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/files/WavFile.h"

#include <limits>
#include <string_view>

namespace {

constexpr std::uint16_t kChannels = 2;
constexpr std::uint16_t kBytesPerSample = 2;
// What the file system is handed at once.
constexpr std::size_t kBufferBytes = std::size_t{1} << 16;
// The RIFF chunk counts the header after its own 8 bytes and the samples in 32 bits.
constexpr std::uint64_t kMostDataBytes = std::numeric_limits<std::uint32_t>::max() - (kWavHeaderSize - 8);

class HeaderBytes {
public:
    void Text(std::string_view text) {
        for (const char c : text) Byte(static_cast<std::uint8_t>(c));
    }
    void U16LE(std::uint16_t value) {
        Byte(static_cast<std::uint8_t>(value));
        Byte(static_cast<std::uint8_t>(value >> 8));
    }
    void U32LE(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) Byte(static_cast<std::uint8_t>(value >> shift));
    }
    std::array<std::uint8_t, kWavHeaderSize> bytes{};

private:
    void Byte(std::uint8_t value) { bytes[m_at++] = value; }
    std::size_t m_at = 0;
};

void AppendSample(std::vector<std::uint8_t>& out, std::int16_t sample) {
    const auto value = static_cast<std::uint16_t>(sample);
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

}  // namespace

std::array<std::uint8_t, kWavHeaderSize> WavHeader(std::uint32_t dataBytes, int sampleRate) {
    HeaderBytes header;
    header.Text("RIFF");
    header.U32LE(static_cast<std::uint32_t>(kWavHeaderSize - 8) + dataBytes);
    header.Text("WAVEfmt ");
    header.U32LE(16);
    header.U16LE(1);  // PCM
    header.U16LE(kChannels);
    header.U32LE(static_cast<std::uint32_t>(sampleRate));
    header.U32LE(static_cast<std::uint32_t>(sampleRate) * kChannels * kBytesPerSample);
    header.U16LE(kChannels * kBytesPerSample);
    header.U16LE(16);
    header.Text("data");
    header.U32LE(dataBytes);
    return header.bytes;
}

std::vector<std::uint8_t> WavFileBytes(const std::vector<std::int16_t>& samples, int sampleRate) {
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);
    std::vector<std::uint8_t> out;
    out.reserve(kWavHeaderSize + dataSize);
    const std::array<std::uint8_t, kWavHeaderSize> header = WavHeader(dataSize, sampleRate);
    out.insert(out.end(), header.begin(), header.end());
    for (const std::int16_t sample : samples) AppendSample(out, sample);
    return out;
}

// The header goes first with no samples counted, and is written again at the end.
WavFileWriter::WavFileWriter(FileSystem& system, const std::filesystem::path& path, int sampleRate)
    : m_file(system, path), m_sampleRate(sampleRate) {
    m_buffer.reserve(kBufferBytes);
    m_failed = !m_file.Append(WavHeader(0, sampleRate));
}

bool WavFileWriter::WriteBuffer() {
    if (!m_file.Append(m_buffer)) m_failed = true;
    m_buffer.clear();
    return !m_failed;
}

bool WavFileWriter::Write(std::span<const std::int16_t> samples) {
    if (m_failed) return false;
    if (samples.size() * kBytesPerSample > kMostDataBytes - m_dataBytes) {
        m_tooLong = m_failed = true;
        return false;
    }
    m_dataBytes += samples.size() * kBytesPerSample;
    for (const std::int16_t sample : samples) {
        if (m_buffer.size() + kBytesPerSample > kBufferBytes && !WriteBuffer()) return false;
        AppendSample(m_buffer, sample);
    }
    return true;
}

// A failed Append or Overwrite is the file's to report: Commit gives the first failure.
WriteResult WavFileWriter::Finish() {
    if (m_tooLong) return {WriteOutcome::WriteFailed};
    if (!m_buffer.empty()) WriteBuffer();
    m_file.Overwrite(0, WavHeader(static_cast<std::uint32_t>(m_dataBytes), m_sampleRate));
    return m_file.Commit();
}
