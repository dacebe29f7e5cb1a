// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "StyleBytes.h"

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir() {
        static std::atomic<unsigned> counter{0};
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() /
                 ("korvane-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Names are UTF-8, whatever the system's code page.
    std::filesystem::path operator/(const std::string& name) const {
        return m_path / std::u8string(name.begin(), name.end());
    }

    std::filesystem::path Write(const std::string& name, const Bytes& bytes) const {
        const std::filesystem::path file = *this / name;
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data.data()), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

private:
    std::filesystem::path m_path;
};

inline Bytes ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    Bytes bytes;
    bytes.data.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return bytes;
}
