// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

CUpDown::CUpDown(QLineEdit* buddy, QWidget* parent)
    : QWidget(parent), m_buddy(buddy), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    setFocusPolicy(Qt::NoFocus);
    for (QToolButton* arrow : {m_up, m_down}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
    m_buddy->installEventFilter(this);
}

void CUpDown::NameArrowsAfterBuddy() {
    m_up->setAccessibleName(m_buddy->accessibleName() + " up");
    m_down->setAccessibleName(m_buddy->accessibleName() + " down");
}

void CUpDown::Step(int delta) {
    bool isNumber = false;
    const int current = m_buddy->text().trimmed().toInt(&isNumber);
    // Summed wider than int: the field may hold the largest int, and one more must not wrap.
    const long long stepped =
        isNumber ? std::clamp(static_cast<long long>(current) + delta, static_cast<long long>(m_range.low),
                              static_cast<long long>(m_range.high))
                 : m_range.low;
    m_buddy->setText(QString::number(stepped));
}

bool CUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CUpDown::resizeEvent(QResizeEvent* event) {
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
    QWidget::resizeEvent(event);
}
