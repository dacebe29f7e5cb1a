// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "options/MidiSettings.h"

class QComboBox;
class QLabel;
class QSpinBox;

// The MIDI page of Settings: the keyboard played into Korvane (its input, the fingering
// its left hand is read by, the split point) and the output the style plays to. The
// ports are those the MIDI systems list as the page is made; a stored port that is not
// there now stays the choice, so that OK never loses it.
class CMidiPage : public QWidget {
public:
    explicit CMidiPage(QWidget* parent = nullptr);

    void Show(const MidiSettings& settings);
    MidiSettings Chosen() const;

private:
    QComboBox* m_input;
    QComboBox* m_fingering;
    QSpinBox* m_split;
    QComboBox* m_output;
    QLabel* m_unreachable;  // why a MIDI system offers no ports
};
