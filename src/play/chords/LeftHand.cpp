// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/chords/LeftHand.h"

#include <vector>

LeftHand::LeftHand(Fingering mode, int splitKey, std::uint64_t settle)
    : m_mode(mode), m_splitKey(splitKey), m_settle(settle) {}

Hand LeftHand::HandOf(int key) const { return m_mode == Fingering::Full || key <= m_splitKey ? Hand::Left : Hand::Right; }

Hand LeftHand::KeyDown(int key, std::uint64_t time) {
    const Hand hand = HandOf(key);
    if (hand == Hand::Right || key < 0 || key > kHighestKey) return hand;
    DecideBy(time);
    m_held.set(static_cast<std::size_t>(key));
    m_lastPressed = m_held;
    m_due = time + m_settle;
    return hand;
}

Hand LeftHand::KeyUp(int key, std::uint64_t time) {
    const Hand hand = HandOf(key);
    if (hand == Hand::Right || key < 0 || key > kHighestKey) return hand;
    DecideBy(time);
    m_held.reset(static_cast<std::size_t>(key));
    return hand;
}

// A decision due before an event is made with the keys held before it, however late the
// caller polls.
void LeftHand::DecideBy(std::uint64_t time) {
    if (!m_due || time < *m_due) return;
    m_due.reset();
    const Keys& read = m_held.any() ? m_held : m_lastPressed;
    std::vector<int> keys;
    for (int key = 0; key <= kHighestKey; ++key) {
        if (read.test(static_cast<std::size_t>(key))) keys.push_back(key);
    }
    const std::optional<Chord> chord = RecognizeChord(keys, m_mode);
    if (!chord) return;
    m_current = *chord;
    m_started = true;
}

std::optional<Chord> LeftHand::Poll(std::uint64_t now) {
    DecideBy(now);
    if (!m_started || m_current == m_reported) return std::nullopt;
    m_reported = m_current;
    return m_current;
}
