#pragma once

#include <string>
#include <string_view>

// The text as a JSON string literal, quotes included. The text must be UTF-8.
std::string JsonString(std::string_view utf8);
