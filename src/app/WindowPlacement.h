#pragma once

#include <QList>
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
