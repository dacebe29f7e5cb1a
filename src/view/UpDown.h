// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "document/EditRules.h"

class QLineEdit;
class QToolButton;

// The arrows beside a number field: a click, or the Up and Down keys in the field,
// steps the field's number by one within the range and writes it into the field as
// plain digits. The arrows take no keyboard focus of their own.
class CUpDown : public QWidget {
public:
    CUpDown(QLineEdit* buddy, QWidget* parent);

    void SetRange(ValueRange range) { m_range = range; }
    ValueRange Range() const { return m_range; }
    QLineEdit* Buddy() const { return m_buddy; }
    QToolButton* UpArrow() const { return m_up; }
    QToolButton* DownArrow() const { return m_down; }

    // "Tempo up", "Tempo down": the arrows are named after the field they step, once
    // the field has its name.
    void NameArrowsAfterBuddy();
    // Steps the buddy's number by delta, kept in the range. A field without a number
    // starts from the low end.
    void Step(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* m_buddy;
    QToolButton* m_up;
    QToolButton* m_down;
    ValueRange m_range{0, 100};
};
