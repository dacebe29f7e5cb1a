// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MenuText.h"

QString NumberedMenuEntry(std::size_t number, QString name) {
    return QString("&%1 %2").arg(number).arg(name.replace('&', "&&"));
}

QKeySequence ShortcutInMenuText(const QString& text) {
    const qsizetype tab = text.indexOf('\t');
    if (tab < 0) return {};
    // The menus name the control key as German keyboards print it.
    QString keys = text.mid(tab + 1);
    keys.replace("Strg+", "Ctrl+");
    return QKeySequence(keys, QKeySequence::PortableText);
}
