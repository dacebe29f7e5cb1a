// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlayCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QStringList>
#include <QTimer>
#include <algorithm>

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/FileDialogs.h"
#include "app/MenuText.h"
#include "app/PlayBar.h"
#include "app/SoundModuleLoader.h"
#include "document/EditRules.h"
#include "document/KorvaneDoc.h"
#include "framework/Cp1252.h"
#include "framework/Profile.h"
#include "framework/platform/PathText.h"
#include "msg/FillIn.h"
#include "msg/Messages.h"
#include "msg/PlayMessages.h"
#include "msg/StyleMessages.h"
#include "options/PlaybackSettings.h"
#include "play/sound/SoundFontFile.h"
#include "view/StyleDialog.h"

namespace {

struct Command {
    int id;
    // The key after a tab, as the other menus write it, so that the menu and a screen
    // reader show it with the entry. It leaves the form's editing keys alone
    // (Ctrl+C/X/V/Z, Ctrl+Ins, Shift+Del, Shift+Ins, Alt+Backspace, Ctrl+O, Ctrl+S, F1, F6).
    const char* text;
};
const Command kPlay = {ID_PLAY_PLAY, "&Play\tF5"};
const Command kStop = {ID_PLAY_STOP, "&Stop\tF8"};
const Command kChords = {ID_PLAY_CHORDS, "&Chords\tStrg+K"};
const Command kSoundFont = {ID_PLAY_SOUNDFONT, "Sound&Font..."};
const char* const kMenuText = "&Play";

// What the status bar says: the section, the chord in force (once chords were given),
// the window's file name and the tempo in force, one after the other; then that the
// sound stopped.
const char* const kStatusSeparator = " \u2013 ";
const char* const kTempoStatus = "%1 bpm";
const char* const kStoppedStatus = "Stopped \u2013 %1";
// Often enough to follow an Intro into its Main and a tempo edit within a beat.
constexpr int kStatusIntervalMs = 200;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QAction* AddCommand(QMenu* menu, const Command& command) {
    QAction* action = menu->addAction(Utf8(command.text));
    action->setObjectName(QString::number(command.id));
    action->setShortcut(ShortcutInMenuText(action->text()));
    return action;
}

// Playback's texts name files in UTF-8; a box shows the program's code page, where a
// character it lacks becomes "?".
void ShowMessageText(const std::string& utf8) { ShowError(Cp1252ForDisplay(utf8)); }

}  // namespace

CPlayCommands::CPlayCommands(QMainWindow& window, ActiveWindow activeWindow)
    : QObject(&window), m_window(window), m_activeWindow(std::move(activeWindow)) {
    m_makeOutput = InstalledOutput();
    m_menu = window.menuBar()->addMenu(Utf8(kMenuText));
    m_menu->setObjectName(QString::number(ID_PLAY_MENU));
    m_play = AddCommand(m_menu, kPlay);
    m_stop = AddCommand(m_menu, kStop);
    m_chordsCommand = AddCommand(m_menu, kChords);
    m_sectionsStart = m_menu->addSeparator();
    m_menu->addSeparator();
    QAction* soundFont = AddCommand(m_menu, kSoundFont);
    connect(m_play, &QAction::triggered, this, &CPlayCommands::OnPlay);
    connect(m_stop, &QAction::triggered, this, &CPlayCommands::OnStop);
    connect(soundFont, &QAction::triggered, this, &CPlayCommands::OnChooseSoundFont);
    connect(m_chordsCommand, &QAction::triggered, this, &CPlayCommands::OnChords);

    m_bar = new CPlayBar(m_play, m_stop, &window);
    window.addToolBar(Qt::TopToolBarArea, m_bar);
    m_bar->SetSectionChosen([this](const std::string& section) {
        if (CChildFrame* active = m_activeWindow()) ChooseSection(*active, section);
    });
    m_bar->SetChordsEntered([this](const QString& text) {
        if (CChildFrame* active = m_activeWindow()) EnterChords(*active, text);
    });
    m_bar->SetChordsEdited([this] { ShowStatusNote({}); });
    // The section entries follow the active window; they are made as the menu opens,
    // never while one of them is being triggered.
    connect(m_menu, &QMenu::aboutToShow, this, &CPlayCommands::FillSectionList);
}

CPlayCommands::~CPlayCommands() = default;

void CPlayCommands::UpdateMenu(bool withStyles) {
    // The section entries belong to the window that was active; the next opening of the
    // menu lists those of the window active then.
    delete m_sectionList;
    m_sectionList = nullptr;
    m_menu->menuAction()->setVisible(withStyles);
    m_play->setEnabled(withStyles);
    m_stop->setEnabled(withStyles);
    m_chordsCommand->setEnabled(withStyles);
    m_bar->setVisible(withStyles);
    ShowActiveWindowInBar();
}

// The bar changes only with the active window, so that what is being typed in the
// Chords box stays while other windows open and close.
void CPlayCommands::ShowActiveWindowInBar() {
    CChildFrame* frame = m_activeWindow();
    if (frame == m_barFrame) return;
    m_barFrame = frame;
    // A wrong symbol named in the status bar was the other window's.
    if (!m_statusNote.isEmpty()) ShowStatusNote({});
    if (!frame) {
        m_bar->ShowSections({}, {});
        m_bar->ShowChords({});
        return;
    }
    const std::string chosen = ChosenSection(*frame);
    m_bar->ShowSections(SectionsOf(*frame), chosen);
    m_bar->ShowChords(ChordsOf(*frame));
}

void CPlayCommands::Track(CChildFrame& frame) {
    if (!m_choices.Knows(&frame))
        connect(&frame, &QObject::destroyed, this, [this, key = &frame] { OnFrameGone(key); });
}

namespace {

// A style that cannot be played now lists no sections (Play then says why).
CWindowPlayChoices::SectionReader SectionReaderOf(const CChildFrame& frame) {
    return [&frame] {
        const CKorvaneDoc& doc = frame.GetDocument();
        return PlayableSections(doc.Image(), doc.CurrentTrackEdits());
    };
}

}  // namespace

const std::vector<std::string>& CPlayCommands::SectionsOf(CChildFrame& frame) {
    Track(frame);
    return m_choices.Sections(&frame, SectionReaderOf(frame));
}

std::string CPlayCommands::ChosenSection(CChildFrame& frame) {
    Track(frame);
    return m_choices.Chosen(&frame, SectionReaderOf(frame));
}

void CPlayCommands::ChooseSection(CChildFrame& frame, const std::string& section) {
    Track(frame);
    m_choices.Choose(&frame, section);
    if (&frame == m_barFrame) m_bar->ShowSection(section);
    // A keyboard switches at once: the window that plays goes on with the new section.
    if (PlayingFrame() == &frame) Play(frame);
}

void CPlayCommands::OnChords() {
    if (m_activeWindow()) m_bar->FocusChords();
}

void CPlayCommands::EnterChords(CChildFrame& frame, const QString& text) {
    std::variant<WindowChords, ProgressionError> read =
        ReadWindowChords(text.toUtf8().toStdString(), BeatsPerBar(frame.GetDocument()));
    if (const auto* error = std::get_if<ProgressionError>(&read)) {
        ShowStatusNote(QString::fromStdString(OneLine(error->text)));
        return;
    }
    Track(frame);
    m_choices.GiveChords(&frame, std::move(std::get<WindowChords>(read)));
    m_statusNote.clear();
    if (PlayingFrame() != &frame) return;
    GiveChords(*m_player, *m_choices.Chords(&frame));
    m_chordsGiven = true;
    ShowStatus();
}

QString CPlayCommands::ChordsOf(const CChildFrame& frame) const {
    const std::optional<WindowChords>& chords = m_choices.Chords(&frame);
    return chords ? QString::fromStdString(chords->text) : QString();
}

void CPlayCommands::FillSectionList() {
    delete m_sectionList;  // and with it the entries of the window before
    m_sectionList = new QActionGroup(m_menu);
    CChildFrame* frame = m_activeWindow();
    if (!frame) return;
    const std::string chosen = ChosenSection(*frame);
    QAction* before = m_menu->actions().at(m_menu->actions().indexOf(m_sectionsStart) + 1);
    const std::vector<std::string>& sections = SectionsOf(*frame);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        // Numbered as the other lists of the menus are, so each has its key.
        auto* action = new QAction(NumberedMenuEntry(i + 1, QString::fromStdString(sections[i])), m_sectionList);
        action->setObjectName(QString::number(ID_PLAY_SECTION_FIRST + static_cast<int>(i)));
        action->setCheckable(true);
        action->setChecked(sections[i] == chosen);
        connect(action, &QAction::triggered, this,
                [this, window = QPointer<CChildFrame>(frame), section = sections[i]] {
                    if (window) ChooseSection(*window, section);
                });
        m_menu->insertAction(before, action);
    }
}

void CPlayCommands::OnPlay() {
    if (CChildFrame* frame = m_activeWindow()) Play(*frame);
}

void CPlayCommands::Play(CChildFrame& frame) {
    if (!m_player) m_player = std::make_unique<CStylePlayer>(m_makeOutput);
    const std::string section = ChosenSection(frame);
    // A style that could not be played when its window became active (a tempo being
    // typed) may list its sections now.
    if (&frame == m_barFrame) m_bar->ShowSections(SectionsOf(frame), section);
    // The sound follows this window's chords; the chord a keyboard holds when none is
    // given replaces another window's.
    if (const std::optional<WindowChords>& chords = m_choices.Chords(&frame)) {
        GiveChords(*m_player, *chords);
        m_chordsGiven = true;
    } else if (m_chordsGiven) {
        m_player->HoldChord(Chord{});
    }
    m_statusNote.clear();
    // The form hands every change to the document as it is made, so the document
    // already holds what a save would write.
    const CKorvaneDoc& doc = frame.GetDocument();
    if (const PlayError error =
            m_player->Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), section, ChosenSoundFont(AppProfile()))) {
        // A sound of another window has stopped; without one, nothing has changed.
        if (m_playing) ShowStatus();
        ShowMessageText(*error);
        return;
    }
    m_playing = &frame;
    m_playingName = frame.windowTitle();
    frame.GetView()->SetEditListener([this, key = &frame] { OnFormEdited(key); });
    if (!m_statusTimer) {
        m_statusTimer = new QTimer(this);
        m_statusTimer->setInterval(kStatusIntervalMs);
        connect(m_statusTimer, &QTimer::timeout, this, &CPlayCommands::ShowStatus);
    }
    m_statusTimer->start();
    ShowStatus();
}

void CPlayCommands::OnStop() {
    if (!m_player) return;
    m_player->Stop();
    m_statusNote.clear();
    ShowStatus();
}

// An edit is heard within a beat. One the save would refuse (a tempo on its way from
// "1" to "120") keeps the sound as it was; the save names it when it comes.
void CPlayCommands::OnFormEdited(CChildFrame* frame) {
    if (frame != PlayingFrame()) return;
    const CKorvaneDoc& doc = frame->GetDocument();
    (void)m_player->UpdateEdits(doc.Image(), doc.CurrentTrackEdits());
}

void CPlayCommands::OnFrameGone(CChildFrame* frame) {
    m_choices.Forget(frame);
    if (frame == m_barFrame) m_barFrame = nullptr;
    if (frame != m_playing) return;
    m_playing = nullptr;
    m_player->Stop();
    ShowStatus();
}

CChildFrame* CPlayCommands::PlayingFrame() const { return m_player && m_player->IsPlaying() ? m_playing : nullptr; }

QString CPlayCommands::StatusText() const {
    if (!m_player) return {};
    const PlayStatus status = m_player->Status();
    if (!status.playing) return Utf8(kStoppedStatus).arg(m_playingName);
    // Joined, not filled in, so that a "%" in a file name or a chord stays as it is.
    QStringList parts = {QString::fromStdString(status.section)};
    if (!status.chord.empty()) parts << QString::fromUtf8(status.chord);
    parts << m_playingName << Utf8(kTempoStatus).arg(status.bpm);
    return parts.join(Utf8(kStatusSeparator));
}

void CPlayCommands::ShowStatus() {
    if (PlayingFrame()) m_playingName = m_playing->windowTitle();
    // The status bar comes with the first sound: until then the window is as it always was.
    QStatusBar* bar = m_window.statusBar();
    // Its size grip would be a nameless child for a screen reader; the window's frame
    // resizes it as well.
    bar->setSizeGripEnabled(false);
    bar->showMessage(m_statusNote.isEmpty() ? StatusText() : m_statusNote);
    if (m_statusTimer && (!m_player || !m_player->IsPlaying())) m_statusTimer->stop();
}

void CPlayCommands::ShowStatusNote(const QString& note) {
    if (note == m_statusNote) return;
    m_statusNote = note;
    // Before the first Play there is no sound to speak of; a note clears to nothing.
    if (!m_player && note.isEmpty() && !m_window.findChild<QStatusBar*>()) return;
    ShowStatus();
}

void CPlayCommands::OnChooseSoundFont() {
    const std::filesystem::path current = ChosenSoundFont(AppProfile());
    const std::optional<std::filesystem::path> chosen = AppFileDialogs().AskSoundFontPath(&m_window, current);
    if (!chosen) return;
    if (!LooksLikeSoundFont(SystemFileSystem(), *chosen)) {
        ShowMessageText(FillIn(play_messages::kSoundFontUnreadable, {Utf8Of(*chosen)}));
        return;
    }
    AppProfile().WriteProfileString(kPlaybackSection, kSoundFontEntry, Utf8Of(*chosen));
    // The sound goes on with the new SoundFont, so the choice is heard at once.
    if (CChildFrame* frame = PlayingFrame()) Play(*frame);
}
