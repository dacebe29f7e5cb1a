// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowPlacement.h"

#include "framework/Profile.h"

namespace {

constexpr const char* kTop = "WindowTop";
constexpr const char* kLeft = "WindowLeft";
constexpr const char* kWidth = "WindowWidth";
constexpr const char* kHeight = "WindowHeight";
constexpr int kMissing = -1;

}  // namespace

std::optional<QRect> ReadWindowPlacement(const CProfile& profile) {
    const int top = profile.GetProfileInt(kSettingsSection, kTop, kMissing);
    const int left = profile.GetProfileInt(kSettingsSection, kLeft, kMissing);
    const int width = profile.GetProfileInt(kSettingsSection, kWidth, kMissing);
    const int height = profile.GetProfileInt(kSettingsSection, kHeight, kMissing);
    if (top == kMissing || left == kMissing || width == kMissing || height == kMissing) return std::nullopt;
    return QRect(left, top, width, height);
}

void WriteWindowPlacement(CProfile& profile, const QRect& outer) {
    const CProfileWriteBatch batch(profile);
    profile.WriteProfileInt(kSettingsSection, kTop, outer.top());
    profile.WriteProfileInt(kSettingsSection, kLeft, outer.left());
    profile.WriteProfileInt(kSettingsSection, kWidth, outer.width());
    profile.WriteProfileInt(kSettingsSection, kHeight, outer.height());
}

bool LiesOnAScreen(const QRect& outer, const QList<QRect>& screens) {
    for (const QRect& screen : screens) {
        if (screen.intersects(outer)) return true;
    }
    return false;
}

QPoint CCascade::NextPlace(QSize clientArea, QSize window) {
    QPoint place = m_next;
    if (place.y() + window.height() > clientArea.height()) {
        m_columnStart += kStep;
        m_next = place = QPoint(m_columnStart, 0);
    }
    if (place.x() + window.width() > clientArea.width()) {
        m_columnStart = 0;
        m_next = place = QPoint(0, 0);
    }
    m_next += QPoint(kStep, kStep);
    return place;
}
