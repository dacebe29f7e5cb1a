// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/SideFiles.h"

#include <algorithm>

#include "framework/AsciiCase.h"

namespace {

using NativeString = std::filesystem::path::string_type;
using NativeChar = NativeString::value_type;

std::filesystem::path SideFilePath(const std::filesystem::path& stylePath, const char* extension) {
    NativeString name = stylePath.native();
    constexpr std::size_t kStyleExtensionLength = 4;
    if (name.size() >= kStyleExtensionLength) {
        const auto tail = name.end() - kStyleExtensionLength;
        const char* styleExtension = ".sty";
        if (std::equal(tail, name.end(), styleExtension,
                       [](NativeChar a, char b) { return LowerAscii(a) == static_cast<NativeChar>(b); })) {
            name.erase(tail, name.end());
        }
    }
    for (const char* c = extension; *c; ++c) name.push_back(static_cast<NativeChar>(*c));
    return std::filesystem::path(std::move(name));
}

}  // namespace

std::filesystem::path CasmSideFilePath(const std::filesystem::path& stylePath) {
    return SideFilePath(stylePath, ".csm");
}

std::filesystem::path OtsSideFilePath(const std::filesystem::path& stylePath) {
    return SideFilePath(stylePath, ".ots");
}
