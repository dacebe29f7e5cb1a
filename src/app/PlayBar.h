// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QToolBar>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLineEdit;

// The play bar under the menu bar, there while a style window is open: Play, Stop and
// Sync Start (the Play menu's own entries), the section Play plays in the active window
// and the chords it follows. It shows what it is told and says what the user chose; the Play
// menu's commands decide what happens.
class CPlayBar : public QToolBar {
public:
    CPlayBar(QAction* play, QAction* stop, QAction* syncStart, QWidget* parent);

    // A section chosen in the list.
    void SetSectionChosen(std::function<void(const std::string&)> chosen) { m_sectionChosen = std::move(chosen); }
    // Enter in the Chords box, with the box's text.
    void SetChordsEntered(std::function<void(const QString&)> entered) { m_chordsEntered = std::move(entered); }
    // The Chords box's text changed by the user.
    void SetChordsEdited(std::function<void()> edited) { m_chordsEdited = std::move(edited); }

    // The active window's sections with its choice, and its chords.
    void ShowSections(const std::vector<std::string>& sections, const std::string& chosen);
    void ShowSection(const std::string& section);
    void ShowChords(const QString& chords);
    // Puts the focus in the Chords box, its text selected to be typed over.
    void FocusChords();

    QComboBox* SectionBox() const { return m_sections; }
    QLineEdit* ChordsBox() const { return m_chords; }

private:
    QComboBox* m_sections;
    QLineEdit* m_chords;
    std::function<void(const std::string&)> m_sectionChosen;
    std::function<void(const QString&)> m_chordsEntered;
    std::function<void()> m_chordsEdited;
};
