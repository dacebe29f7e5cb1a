// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/WindowChords.h"
#include "app/WindowPlayChoices.h"
#include "play/Player.h"
#include "play/sound/MidiPorts.h"

class CChildFrame;
class CKeyboardLink;
class CPlayBar;
class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QTimer;

// The Play menu and the play bar: play the active style window as its form stands, the
// section chosen for that window, over the chords given in that window or played on a
// keyboard, through one player for the whole program, to the output the MIDI settings
// choose. One window plays at a time; closing it (or its document, or the program)
// stops the sound. The player, and with it the synthesizer, is made on the first Play
// only; the keyboard is connected on the first Play or Sync Start.
class CPlayCommands : public QObject {
public:
    // The style window that is active, or nullptr.
    using ActiveWindow = std::function<CChildFrame*()>;
    // Adds the menu to the window's menu bar, after the menus already there, and the play
    // bar to its tool bars; the status bar tells of the sound.
    CPlayCommands(QMainWindow& window, ActiveWindow activeWindow);
    ~CPlayCommands() override;

    // The built-in synthesizer: the sound module where the installation has it. Tests
    // hand in an output with a recording synthesizer, or none (a build without one),
    // before the first Play.
    void SetSynthesizer(CStylePlayer::OutputFactory makeOutput) { m_synthesizer = std::move(makeOutput); }

    QMenu* Menu() const { return m_menu; }
    CPlayBar* Bar() const { return m_bar; }
    // The menu and the play bar are there, like the Window menu, only while a style
    // window is open; the bar shows the active window's section and chords.
    void UpdateMenu(bool withStyles);
    // The section entries for the active window, with a check mark on its choice;
    // made each time the menu is about to show.
    void FillSectionList();

    void OnPlay();
    void OnStop();
    // Sync Start turned on: the active window's section waits for the first chord of the
    // keyboard (or of the Chords box), and Sync Start goes off as it starts. Turned off
    // while the section waits, it stops it.
    void OnSyncStart(bool on);
    void OnChooseSoundFont();
    // The section that Play plays in this window: at first "Main A", or where the style
    // lacks it its first Main, else its first section.
    std::string ChosenSection(CChildFrame& frame);
    void ChooseSection(CChildFrame& frame, const std::string& section);

    // Play > Chords: the focus goes to the play bar's Chords box.
    void OnChords();
    // Enter in the Chords box: the window follows the chords it holds, at once when it
    // plays, else from its next Play. A wrong symbol changes nothing and the status bar
    // names it; no box interrupts the music.
    void EnterChords(CChildFrame& frame, const QString& text);
    // The chords the window follows as they were typed; empty when none were given.
    QString ChordsOf(const CChildFrame& frame) const;

    // The window whose style plays, or nullptr.
    CChildFrame* PlayingFrame() const;
    // What the status bar says of the sound now; empty before the first Play.
    QString StatusText() const;

private:
    // Keeps the window's choices until it closes.
    void Track(CChildFrame& frame);
    const std::vector<std::string>& SectionsOf(CChildFrame& frame);
    // The player, sounding through the output the settings choose now.
    CStylePlayer& Player();
    CStylePlayer::OutputFactory Synthesizer() const;
    void Play(CChildFrame& frame, bool waitForChord);
    // Connects the keyboard the settings choose, if not yet; false (and the box that
    // names the port and why) when it cannot be opened.
    bool OpenKeyboard();
    void OnKeyboard();
    void ShowSyncStart(bool on);
    static void ShowMessageText(const std::string& utf8);
    void OnFormEdited(CChildFrame* frame);
    void OnFrameGone(CChildFrame* frame);
    void ShowStatus();
    // Shows note in the status bar in place of the sound's state until the next command.
    void ShowStatusNote(const QString& note);
    void ShowActiveWindowInBar();

    QMainWindow& m_window;
    ActiveWindow m_activeWindow;
    QMenu* m_menu;
    QAction* m_play;
    QAction* m_stop;
    QAction* m_chordsCommand;
    QAction* m_syncStart;
    QAction* m_sectionsStart;  // the separator before the section entries
    CPlayBar* m_bar;
    QActionGroup* m_sectionList = nullptr;
    std::optional<CStylePlayer::OutputFactory> m_synthesizer;  // none given: the sound module's
    std::unique_ptr<CStylePlayer> m_player;
    std::optional<MidiPort> m_playerOutput;  // the output port the player sounds through; none: a synthesizer
    CKeyboardLink* m_keyboard;
    CChildFrame* m_playing = nullptr;  // the window last played, until it closes
    QString m_playingName;             // the playing window's file name, kept for "stopped" after it closed
    // Whose chords the player follows. After a window's, a window without chords of its
    // own gives it the chord a keyboard holds when none is given; a keyboard's chord
    // holds on in a window without chords and in the window it was played into.
    enum class ChordsFrom { None, Window, Keyboard };
    ChordsFrom m_chordsFrom = ChordsFrom::None;
    QString m_statusNote;                     // shown in place of the sound's state; empty: none
    const CChildFrame* m_barFrame = nullptr;  // the window the play bar shows
    CWindowPlayChoices m_choices;
    QTimer* m_statusTimer = nullptr;
};
