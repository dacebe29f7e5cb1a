// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KorvaneApp.h"

int main(int argc, char** argv) {
    CKorvaneApp app(argc, argv);
    if (!app.InitInstance()) return app.ExitInstance();
    app.exec();
    return app.ExitInstance();
}
