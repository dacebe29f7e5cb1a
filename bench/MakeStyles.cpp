// SPDX-License-Identifier: GPL-3.0-or-later
// Writes N made-up styles into a folder, for the start-up measurement:
//
//   korvane_make_styles DIR N
//
// The files are named "Sunny Bossa 01.sty" and on; the folder must exist.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "MadeUpStyle.h"

int main(int argc, char** argv) {
    const int count = argc == 3 ? std::atoi(argv[2]) : 0;
    if (count <= 0) {
        std::fprintf(stderr, "usage: korvane_make_styles DIR N\n");
        return 2;
    }
    const Bytes style = MadeUpStyle();
    for (int i = 1; i <= count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Sunny Bossa %02d.sty", i);
        const std::filesystem::path file = std::filesystem::path(argv[1]) / name;
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(style.data.data()), static_cast<std::streamsize>(style.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            return 1;
        }
        std::printf("%s\n", file.c_str());
    }
    return 0;
}
