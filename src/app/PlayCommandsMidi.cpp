// SPDX-License-Identifier: GPL-3.0-or-later
// The Play commands' MIDI side: the output the MIDI settings choose, the keyboard played
// into the editor, and Sync Start.
#include <QAction>
#include <QSignalBlocker>

#include "app/ChildFrame.h"
#include "app/KeyboardLink.h"
#include "app/PlayCommands.h"
#include "app/SoundModuleLoader.h"
#include "options/AppMidi.h"
#include "options/MidiSettings.h"
#include "play/OutputChoice.h"

void CPlayCommands::OnSyncStart(bool on) {
    CChildFrame* frame = m_activeWindow();
    if (!on) {
        if (m_player && m_player->IsWaiting()) OnStop();
        return;
    }
    if (!frame) {
        ShowSyncStart(false);
        return;
    }
    // The player is there before the keyboard, which plays into it from its first key.
    Player();
    if (!OpenKeyboard()) {
        ShowSyncStart(false);
        return;
    }
    Play(*frame, true);
    ShowSyncStart(PlayingFrame() == frame);
}

CStylePlayer::OutputFactory CPlayCommands::Synthesizer() const {
    if (m_synthesizer) return *m_synthesizer;
    const QString module = InstalledSoundModulePath();
    return SoundModuleThere(module) ? SoundModuleOutput(module) : CStylePlayer::OutputFactory{};
}

CStylePlayer& CPlayCommands::Player() {
    const MidiSettings settings = ReadMidiSettings(AppProfile());
    if (!m_player) {
        m_player = std::make_unique<CStylePlayer>(ChooseOutput(settings.output, Synthesizer(), AppMidiSystem));
        m_player->SetRightHandVoice(settings.keyboard.rightVoice);
        m_playerOutput = settings.output;
    } else if (settings.output != m_playerOutput) {
        m_player->ChangeOutput(ChooseOutput(settings.output, Synthesizer(), AppMidiSystem));
        m_playerOutput = settings.output;
    }
    return *m_player;
}

bool CPlayCommands::OpenKeyboard() {
    const MidiSettings settings = ReadMidiSettings(AppProfile());
    if (!settings.input) {
        m_keyboard->Close();
        return true;
    }
    if (m_keyboard->IsOpen(*settings.input, settings.keyboard)) return true;
    PlayError error;
    if (const std::shared_ptr<MidiSystem> system = AppMidiSystem(error)) {
        error = m_keyboard->Open(*system, *settings.input, settings.keyboard);
    }
    if (!error) return true;
    ShowMessageText(*error);
    return false;
}

// What the keyboard played: its chords are held at once and named like a typed one;
// its Start and Stop work the active window's section.
void CPlayCommands::OnKeyboard() {
    if (!m_player) return;
    const CKeyboardInput::Taken taken = m_keyboard->Pump(*m_player);
    if (taken.chord) {
        m_chordsFrom = ChordsFrom::Keyboard;
        if (PlayingFrame()) ShowStatus();
    }
    if (taken.stop && PlayingFrame()) OnStop();
    if (taken.start) {
        if (m_player->IsWaiting()) {
            m_player->Start();
        } else if (CChildFrame* frame = m_activeWindow(); frame && !PlayingFrame()) {
            Play(*frame, false);
        }
    }
}

// Quietly: only the user's turning it on or off arms or stops the section.
void CPlayCommands::ShowSyncStart(bool on) {
    const QSignalBlocker quiet(m_syncStart);
    m_syncStart->setChecked(on);
}
