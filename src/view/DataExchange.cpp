// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/DataExchange.h"

#include <QAbstractButton>

#include "framework/AppTitle.h"
#include "msg/MessageBoxStyle.h"
#include "msg/Messages.h"

void CDataExchange::SetText(QLineEdit* field, const QString& text) {
    if (field->text() != text) field->setText(text);
}

void CDataExchange::Text(QLineEdit* field, QString& value) {
    if (m_failed) return;
    if (!m_bSaveAndValidate) {
        SetText(field, value);
        return;
    }
    const QString text = field->text();
    if (const auto outside = FindCharacterOutsideCp1252(text)) {
        return Fail(field, outside->refusal, outside->position, outside->length);
    }
    value = text;
}

void CDataExchange::Check(QAbstractButton* box, int& value) {
    if (m_failed) return;
    if (m_bSaveAndValidate) {
        value = box->isChecked() ? 1 : 0;
    } else {
        box->setChecked(value != 0);
    }
}

void CDataExchange::Fail(QLineEdit* field, const FieldRefusal& refusal, qsizetype selectFrom, qsizetype selectLength) {
    m_failed = true;
    ShowMessage(refusal.text, kAppTitle, msgbox::IconWarning | msgbox::Ok);
    field->setFocus(Qt::OtherFocusReason);
    field->setSelection(static_cast<int>(selectFrom),
                        static_cast<int>(selectLength < 0 ? field->text().size() : selectLength));
}
