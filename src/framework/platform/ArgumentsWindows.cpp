// SPDX-License-Identifier: GPL-3.0-or-later
// The arguments on Windows: the command line is UTF-16 text, which argv holds only in the
// system's code page.
// windows.h before the headers that build on it.
#include <windows.h>
// clang-format off
#include <shellapi.h>
// clang-format on

#include "framework/platform/Arguments.h"

std::vector<std::string> ProgramArguments(int, char**) {
    std::vector<std::string> args;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide && i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(size > 0 ? size - 1 : 0, '\0');
        if (size > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), size, nullptr, nullptr);
        args.push_back(std::move(arg));
    }
    LocalFree(wide);
    return args;
}
