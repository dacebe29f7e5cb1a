// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <variant>

#include "document/EditRules.h"

// The checks a form field passes when the form is read, as pure functions: each
// gives the value or the text that tells the user what is wrong. Texts are code
// page 1252, as the message boxes take them.

// How wide the value behind a number field is; a number that does not fit is no
// whole number to it.
enum class NumberWidth { Bits16, Bits32 };

struct FieldRefusal {
    std::string text;
};

std::string NotAWholeNumberText();
std::string NotInRangeText(const ValueRange& range);

// The whole number a field holds: blanks around it and a sign are allowed.
std::variant<int, FieldRefusal> ReadWholeNumber(const QString& text, NumberWidth width);

// A value the style does not have is never range-checked.
std::optional<FieldRefusal> CheckRange(int value, const ValueRange& range, bool styleHasValue);

// Title and copyright are stored as code page 1252 bytes. The first character that
// code page cannot hold, with its position and length in the text, or nothing.
struct CharacterOutsideCp1252 {
    qsizetype position;
    qsizetype length;
    FieldRefusal refusal;
};
std::optional<CharacterOutsideCp1252> FindCharacterOutsideCp1252(const QString& text);
