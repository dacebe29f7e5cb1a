// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QString>
#include <cstddef>

// How the menus write their entries.

// "&3 name": an entry numbered from 1 whose number is its key. A "&" in the name is
// shown as it is, not taken for the entry's key.
QString NumberedMenuEntry(std::size_t number, QString name);

// An entry's name as a button shows it: without its key letter's "&" and without the
// key after its tab ("&Play\tF5": Play).
QString EntryName(const QString& text);

// The key an entry names after its tab ("O&pen...\tStrg+O": Ctrl+O), so that what the
// menu shows and the key that works have one source. None without a tab.
QKeySequence ShortcutInMenuText(const QString& text);
