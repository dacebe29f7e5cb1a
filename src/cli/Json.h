// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The text as a JSON string literal, quotes included. The text must be UTF-8.
std::string JsonString(std::string_view utf8);

// A file name as a JSON string literal, losslessly: valid UTF-8 is kept, and each
// byte that is not is written as the lone surrogate \udc80 to \udcff (U+DC00 plus
// the byte), as Python's os.fsdecode reads and os.fsencode restores it.
std::string JsonPathString(std::string_view bytes);

// The same literals appended to out, for output built in one string: info writes
// thousands of values for a folder of styles.
void AppendJsonString(std::string& out, std::string_view utf8);
void AppendJsonPathString(std::string& out, std::string_view bytes);
// A whole number as JSON writes it.
void AppendJsonNumber(std::string& out, long long value);

// The answer for a file that failed: {"path": ..., "error": ...}, the error as the box
// shows it.
std::string JsonFileError(std::string_view path, std::string_view error);
