// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Json.h"

#include <charconv>
#include <cstdio>

#include "framework/Cp1252.h"

namespace {

// The characters that need no escape are appended in runs, not one by one.
void AppendEscaped(std::string& out, std::string_view utf8) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (static_cast<unsigned char>(c) >= 0x20 && c != '"' && c != '\\') continue;
        out.append(utf8.data() + run, i - run);
        run = i + 1;
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            default: {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            }
        }
    }
    out.append(utf8.data() + run, utf8.size() - run);
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    AppendEscaped(out, utf8);
    out += '"';
}

void AppendJsonPathString(std::string& out, std::string_view bytes) {
    out += '"';
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
    out += '"';
}

void AppendJsonNumber(std::string& out, long long value) {
    // Nearly every number info writes is a MIDI value or a channel.
    if (value >= 0 && value < 1000) {
        const char digits[3] = {static_cast<char>('0' + value / 100), static_cast<char>('0' + value / 10 % 10),
                                static_cast<char>('0' + value % 10)};
        const int count = value >= 100 ? 3 : value >= 10 ? 2 : 1;
        out.append(digits + 3 - count, static_cast<std::size_t>(count));
        return;
    }
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, end.ptr);
}

std::string JsonString(std::string_view utf8) {
    std::string out;
    AppendJsonString(out, utf8);
    return out;
}

std::string JsonPathString(std::string_view bytes) {
    std::string out;
    AppendJsonPathString(out, bytes);
    return out;
}

std::string JsonFileError(std::string_view path, std::string_view error) {
    return "{\"path\": " + JsonPathString(path) + ", \"error\": " + JsonString(error) + "}";
}
