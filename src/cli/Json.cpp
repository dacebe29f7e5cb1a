// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Json.h"

#include <cstdio>

#include "framework/Cp1252.h"

namespace {

void AppendEscaped(std::string& out, std::string_view utf8) {
    for (const char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
}

}  // namespace

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    AppendEscaped(out, utf8);
    return out + '"';
}

std::string JsonPathString(std::string_view bytes) {
    std::string out = "\"";
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = Utf8CharacterLength(bytes, pos);
        if (length == 0) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\udc%02x", static_cast<unsigned char>(bytes[pos]));
            out += escape;
            ++pos;
        } else {
            AppendEscaped(out, bytes.substr(pos, length));
            pos += length;
        }
    }
    return out + '"';
}

std::string JsonFileError(std::string_view path, std::string_view error) {
    return "{\"path\": " + JsonPathString(path) + ", \"error\": " + JsonString(error) + "}";
}
