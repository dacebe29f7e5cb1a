// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppIcon.h"

#include <QCoreApplication>
#include <QString>

// The icons live in res/korvane.qrc, compiled into the static korvane_app library,
// which a program would otherwise link without them. Outside any namespace, as the
// resource's own initialiser is.
static bool InitResources() {
    Q_INIT_RESOURCE(korvane);
    return true;
}

namespace {

QIcon& SharedIcon() {
    static QIcon icon;
    return icon;
}

}  // namespace

// Read once and shared by every window: each reading decodes every size into pixmaps
// of its own, a third of a megabyte for each style window.
QIcon KorvaneIcon() {
    static const bool resources = InitResources();
    (void)resources;
    QIcon& icon = SharedIcon();
    if (icon.isNull()) {
        for (const int size : {48, 64, 128, 256}) {
            icon.addFile(QStringLiteral(":/icons/korvane-%1.png").arg(size), QSize(size, size));
        }
        // Pixmaps go with the application, before the program's statics do.
        qAddPostRoutine([] { SharedIcon() = QIcon(); });
    }
    return icon;
}
