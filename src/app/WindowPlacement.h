// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

class CProfile;

// The main window's outer rectangle as kept in section "Settings" between runs.

inline constexpr QSize kDefaultMainWindowSize{640, 500};

// Nothing when any of the four values is missing or -1.
std::optional<QRect> ReadWindowPlacement(const CProfile& profile);
// Writes "WindowTop", "WindowLeft", "WindowWidth" and "WindowHeight", in that order.
void WriteWindowPlacement(CProfile& profile, const QRect& outer);

// A stored rectangle is used only while part of it lies on a screen; one left behind
// on a monitor that is gone would put the window where no one can reach it.
bool LiesOnAScreen(const QRect& outer, const QList<QRect>& screens);

// Each style window opens one step right of and below the last, in columns: a
// window whose bottom would pass the main window's client area starts a new column
// a step right of the last column start, at the top; one whose right edge would
// pass it starts again at the corner. One cascade serves all windows of a run;
// closing windows does not move it back.
class CCascade {
public:
    static constexpr int kStep = 22;

    // The place for a new window of the given outer size in a client area of the
    // given size.
    QPoint NextPlace(QSize clientArea, QSize window);

private:
    int m_columnStart = 0;
    QPoint m_next{0, 0};
};
