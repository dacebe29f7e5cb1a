#include "app/KorvaneApp.h"

int main(int argc, char** argv) {
    CKorvaneApp app(argc, argv);
    app.InitInstance();
    return app.exec();
}
