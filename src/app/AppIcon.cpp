#include "app/AppIcon.h"

#include <QString>

// The icons live in res/korvane.qrc, compiled into the static korvane_app library,
// which a program would otherwise link without them.
static bool InitResources() {
    Q_INIT_RESOURCE(korvane);
    return true;
}

QIcon KorvaneIcon() {
    static const bool resources = InitResources();
    (void)resources;
    QIcon icon;
    for (const int size : {48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/korvane-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}
