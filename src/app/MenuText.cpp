// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MenuText.h"

QString NumberedMenuEntry(std::size_t number, QString name) {
    return QString("&%1 %2").arg(number).arg(name.replace('&', "&&"));
}

QString EntryName(const QString& text) {
    QString name = text.section('\t', 0, 0);
    for (qsizetype at = name.indexOf('&'); at >= 0 && at < name.size(); at = name.indexOf('&', at + 1)) {
        name.remove(at, 1);  // "&&" keeps one "&"
    }
    return name;
}

QKeySequence ShortcutInMenuText(const QString& text) {
    const qsizetype tab = text.indexOf('\t');
    if (tab < 0) return {};
    // The menus name the control key as German keyboards print it.
    QString keys = text.mid(tab + 1);
    keys.replace("Strg+", "Ctrl+");
    return QKeySequence(keys, QKeySequence::PortableText);
}
