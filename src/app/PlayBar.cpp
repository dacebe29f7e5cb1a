// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlayBar.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSignalBlocker>
#include <QStringList>
#include <QToolButton>

#include "app/MenuText.h"

namespace {

// A screen reader reads each part by the name the user sees beside it.
const char* const kBarName = "Play bar";
const char* const kSectionLabel = "&Section:";
const char* const kSectionName = "Section";
const char* const kChordsLabel = "&Chords:";
const char* const kChordsName = "Chords";
// The button a bar too narrow for its parts shows for the rest.
const char* const kMoreName = "More";
const char* const kChordsExample = "C | Am7 | Dm7 G7";

// A menu entry as a button: its name, its key (if it has one) in the tip, a picture
// beside the name (the menu shows none).
void ShowAsButton(QAction* action, QIcon icon) {
    action->setIconText(EntryName(action->text()));
    const QString key = action->shortcut().toString(QKeySequence::NativeText);
    action->setToolTip(key.isEmpty() ? action->iconText() : QString("%1 (%2)").arg(action->iconText(), key));
    action->setIcon(icon);
    action->setIconVisibleInMenu(false);
}

// The pictures of Play, Stop and Sync Start (a bar, then Play: waiting to play), drawn
// in the bar's text colour: asking the style for its own sends it through every icon
// theme folder of the system, which cost the editor's start a quarter of its work.
enum class Transport { Play, Stop, SyncStart };
QIcon TransportIcon(Transport kind, const QColor& colour) {
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        const qreal edge = size / 4.0;
        QPainterPath shape;
        if (kind == Transport::Play) {
            shape.moveTo(edge, edge * 0.75);
            shape.lineTo(size - edge * 0.75, size / 2.0);
            shape.lineTo(edge, size - edge * 0.75);
            shape.closeSubpath();
        } else if (kind == Transport::SyncStart) {
            const qreal bar = size / 8.0;
            shape.addRect(QRectF(edge * 0.75, edge * 0.75, bar, size - 1.5 * edge));
            shape.moveTo(edge * 0.75 + 2 * bar, edge * 0.75);
            shape.lineTo(size - edge * 0.5, size / 2.0);
            shape.lineTo(edge * 0.75 + 2 * bar, size - edge * 0.75);
            shape.closeSubpath();
        } else {
            shape.addRect(QRectF(edge, edge, size - 2 * edge, size - 2 * edge));
        }
        painter.drawPath(shape);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

CPlayBar::CPlayBar(QAction* play, QAction* stop, QAction* syncStart, QWidget* parent)
    : QToolBar(QString::fromUtf8(kBarName), parent), m_sections(new QComboBox(this)), m_chords(new QLineEdit(this)) {
    setObjectName("PlayBar");
    setAccessibleName(QString::fromUtf8(kBarName));
    // It stays where the menus are: a bar dragged away or hidden would take the Chords
    // box's key with it.
    setMovable(false);
    setFloatable(false);
    toggleViewAction()->setEnabled(false);
    // Small pictures, so that the bar takes little of the height the style windows need.
    constexpr int kIconSize = 16;
    setIconSize(QSize(kIconSize, kIconSize));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const QColor colour = palette().color(QPalette::ButtonText);
    ShowAsButton(play, TransportIcon(Transport::Play, colour));
    ShowAsButton(stop, TransportIcon(Transport::Stop, colour));
    ShowAsButton(syncStart, TransportIcon(Transport::SyncStart, colour));
    addAction(play);
    addAction(stop);
    addAction(syncStart);
    widgetForAction(syncStart)->setAccessibleName(syncStart->iconText());

    // Room between the groups, not separators: a screen reader would find those as
    // nameless parts.
    constexpr int kGroupSpace = 8;
    m_sections->setAccessibleName(QString::fromUtf8(kSectionName));
    m_sections->view()->setAccessibleName(QString::fromUtf8(kSectionName));
    m_sections->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // On Linux a screen reader names a list by its label and reads its choice.
    auto* sectionLabel = new QLabel(QString::fromUtf8(kSectionLabel), this);
    sectionLabel->setBuddy(m_sections);
    sectionLabel->setContentsMargins(kGroupSpace, 0, 0, 0);
    addWidget(sectionLabel);
    addWidget(m_sections);

    auto* label = new QLabel(QString::fromUtf8(kChordsLabel), this);
    label->setContentsMargins(kGroupSpace, 0, 0, 0);
    label->setBuddy(m_chords);
    addWidget(label);
    m_chords->setAccessibleName(QString::fromUtf8(kChordsName));
    m_chords->setPlaceholderText(QString::fromUtf8(kChordsExample));
    m_chords->setClearButtonEnabled(false);
    m_chords->setMinimumWidth(m_chords->fontMetrics().horizontalAdvance(QString::fromUtf8(kChordsExample)) * 3 / 2);
    addWidget(m_chords);
    if (auto* more = findChild<QToolButton*>("qt_toolbar_ext_button")) more->setAccessibleName(kMoreName);

    connect(m_sections, &QComboBox::activated, this, [this](int index) {
        if (m_sectionChosen && index >= 0) m_sectionChosen(m_sections->itemText(index).toStdString());
    });
    connect(m_chords, &QLineEdit::returnPressed, this, [this] {
        if (m_chordsEntered) m_chordsEntered(m_chords->text());
    });
    connect(m_chords, &QLineEdit::textEdited, this, [this] {
        if (m_chordsEdited) m_chordsEdited();
    });
}

void CPlayBar::ShowSections(const std::vector<std::string>& sections, const std::string& chosen) {
    QStringList items;
    for (const std::string& section : sections) items << QString::fromStdString(section);
    // The list is made anew only when it changes: a choice in it may be what asked.
    bool same = items.size() == m_sections->count();
    for (int i = 0; same && i < m_sections->count(); ++i) same = m_sections->itemText(i) == items[i];
    if (!same) {
        const QSignalBlocker quiet(m_sections);
        m_sections->clear();
        m_sections->addItems(items);
    }
    m_sections->setEnabled(!sections.empty());
    ShowSection(chosen);
}

void CPlayBar::ShowChords(const QString& chords) { m_chords->setText(chords); }

void CPlayBar::ShowSection(const std::string& section) {
    const QSignalBlocker quiet(m_sections);
    m_sections->setCurrentIndex(m_sections->findText(QString::fromStdString(section), Qt::MatchExactly));
}

void CPlayBar::FocusChords() {
    m_chords->setFocus(Qt::ShortcutFocusReason);
    m_chords->selectAll();
}
