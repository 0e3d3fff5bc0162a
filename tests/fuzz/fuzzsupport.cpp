#include "fuzzcheck.h"

#include "print/fonts.h"

#include <cstdlib>

namespace tovanel::fuzz {

void EnsureGuiApplication()
{
    static QGuiApplication* const app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        auto* a = new QGuiApplication(argc, argv);
        InstallFontSubstitutions();
        // Ended before the leak check at exit, so that what the font system holds is given back.
        std::atexit([] { delete QGuiApplication::instance(); });
        return a;
    }();
    (void)app;
}

}  // namespace tovanel::fuzz
