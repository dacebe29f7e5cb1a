// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QString>
#include <variant>

#include "view/FieldChecks.h"

class QAbstractButton;

// Moves values between a form's members and its controls in one direction: into the
// controls, or out of them with every check. The first check that fails shows its
// message, puts the focus on the field with the text selected, and stops the
// exchange: every later call does nothing.
class CDataExchange {
public:
    explicit CDataExchange(bool saveAndValidate) : m_bSaveAndValidate(saveAndValidate) {}

    const bool m_bSaveAndValidate;
    bool Failed() const { return m_failed; }

    // Text that a style file stores in code page 1252.
    void Text(QLineEdit* field, QString& value);

    // A whole number; its range is checked only for a value the style has.
    template <typename Int>
    void Number(QLineEdit* field, Int& value, const ValueRange& range, bool styleHasValue) {
        if (m_failed) return;
        if (!m_bSaveAndValidate) {
            SetText(field, QString::number(value));
            return;
        }
        const auto read = ReadWholeNumber(field->text(), sizeof(Int) == 2 ? NumberWidth::Bits16 : NumberWidth::Bits32);
        if (const auto* refusal = std::get_if<FieldRefusal>(&read)) return Fail(field, *refusal);
        const int number = std::get<int>(read);
        if (const auto refusal = CheckRange(number, range, styleHasValue)) return Fail(field, *refusal);
        value = static_cast<Int>(number);
    }

    // A check box as 0 or 1.
    void Check(QAbstractButton* box, int& value);

private:
    // Leaves the caret where it is when the text is the same.
    static void SetText(QLineEdit* field, const QString& text);
    void Fail(QLineEdit* field, const FieldRefusal& refusal, qsizetype selectFrom = 0, qsizetype selectLength = -1);

    bool m_failed = false;
};
