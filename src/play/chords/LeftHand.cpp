// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/chords/LeftHand.h"

#include <vector>

LeftHand::LeftHand(Fingering mode, int splitKey, std::uint64_t settle)
    : mode_(mode), splitKey_(splitKey), settle_(settle) {}

Hand LeftHand::HandOf(int key) const { return mode_ == Fingering::Full || key <= splitKey_ ? Hand::Left : Hand::Right; }

Hand LeftHand::KeyDown(int key, std::uint64_t time) {
    const Hand hand = HandOf(key);
    if (hand == Hand::Right || key < 0 || key > kHighestKey) return hand;
    DecideBy(time);
    held_.set(static_cast<std::size_t>(key));
    lastPressed_ = held_;
    due_ = time + settle_;
    return hand;
}

Hand LeftHand::KeyUp(int key, std::uint64_t time) {
    const Hand hand = HandOf(key);
    if (hand == Hand::Right || key < 0 || key > kHighestKey) return hand;
    DecideBy(time);
    held_.reset(static_cast<std::size_t>(key));
    return hand;
}

// A decision due before an event is made with the keys held before it, however late the
// caller polls.
void LeftHand::DecideBy(std::uint64_t time) {
    if (!due_ || time < *due_) return;
    due_.reset();
    const Keys& read = held_.any() ? held_ : lastPressed_;
    std::vector<int> keys;
    for (int key = 0; key <= kHighestKey; ++key) {
        if (read.test(static_cast<std::size_t>(key))) keys.push_back(key);
    }
    const std::optional<Chord> chord = RecognizeChord(keys, mode_);
    if (!chord) return;
    current_ = *chord;
    started_ = true;
}

std::optional<Chord> LeftHand::Poll(std::uint64_t now) {
    DecideBy(now);
    if (!started_ || current_ == reported_) return std::nullopt;
    reported_ = current_;
    return current_;
}
