// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/FieldChecks.h"

#include <QList>
#include <QStringView>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "framework/qt/QtText.h"

namespace {

bool FitsWidth(long long value, NumberWidth width) {
    if (width == NumberWidth::Bits16) {
        return value >= std::numeric_limits<std::int16_t>::min() && value <= std::numeric_limits<std::int16_t>::max();
    }
    return value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

std::string NotAWholeNumberText() { return "Geben Sie bitte eine ganze Zahl ein."; }

std::string NotInRangeText(const ValueRange& range) {
    return QString("Geben Sie bitte eine ganze Zahl zwischen %1 und %2 ein.")
        .arg(range.low)
        .arg(range.high)
        .toStdString();
}

std::variant<int, FieldRefusal> ReadWholeNumber(const QString& text, NumberWidth width) {
    const QString trimmed = text.trimmed();
    qsizetype pos = 0;
    const bool negative = trimmed.startsWith('-');
    if (negative || trimmed.startsWith('+')) pos = 1;
    if (pos == trimmed.size()) return FieldRefusal{NotAWholeNumberText()};
    long long value = 0;
    for (; pos < trimmed.size(); ++pos) {
        const QChar c = trimmed[pos];
        if (c < '0' || c > '9') return FieldRefusal{NotAWholeNumberText()};
        value = value * 10 + (c.unicode() - '0');
        // Past any width long before long long overflows.
        if (value > (1LL << 40)) return FieldRefusal{NotAWholeNumberText()};
    }
    if (negative) value = -value;
    if (!FitsWidth(value, width)) return FieldRefusal{NotAWholeNumberText()};
    return static_cast<int>(value);
}

std::optional<FieldRefusal> CheckRange(int value, const ValueRange& range, bool styleHasValue) {
    if (!styleHasValue || range.Contains(value)) return std::nullopt;
    return FieldRefusal{NotInRangeText(range)};
}

std::optional<CharacterOutsideCp1252> FindCharacterOutsideCp1252(const QString& text) {
    if (Cp1252FromQString(text)) return std::nullopt;
    for (qsizetype pos = 0; pos < text.size();) {
        const qsizetype length = text[pos].isHighSurrogate() && pos + 1 < text.size() ? 2 : 1;
        if (!Cp1252FromQString(QStringView(text).mid(pos, length))) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(text.mid(pos, length).toUcs4().value(0)));
            return CharacterOutsideCp1252{
                pos, length,
                FieldRefusal{std::string("The character ") + code +
                             " cannot be stored in a style file: titles and copyrights hold only the characters of "
                             "Windows code page 1252."}};
        }
        pos += length;
    }
    return std::nullopt;
}
