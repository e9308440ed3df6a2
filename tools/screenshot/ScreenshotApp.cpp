// The main window and the About box.
#include "About.h"
#include "MainWindow.h"
#include "Screenshot.h"

namespace {

bool Shoot(TShotContext& c) {
    bool ok = SaveShot(c.window, c.out + "/main.png");
    TAboutBox about(c.window);
    ok &= SaveShot(&about, c.out + "/about.png");
    return ok;
}

const TShotRegistrar registrar(0, "main window", Shoot);

} // namespace
