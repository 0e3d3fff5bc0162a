// SPDX-License-Identifier: GPL-3.0-or-later
// Tovanel: corner curves of street blocks and their stake points.

#include "app/exchangecommands.h"
#include "app/monitfm.h"
#include "app/previewopener.h"
#include "calc/calcstate.h"
#include "help/version.h"
#include "print/fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPrinter>
#include <QTranslator>
#include <csignal>

int main(int argc, char* argv[])
{
    // Past a file-size limit a save then fails with "file too large" and says so, instead of the
    // signal ending the program with the settings unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(tovanel::kAppTitle);
    // The desktop matches the windows to the applications menu's entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("tovanel"));
    tovanel::InstallFontSubstitutions();
    // The platform's own dialogs (page set-up, files, printing) speak Japanese like the rest.
    QTranslator qtJapanese;
    if (qtJapanese.load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);
    // Buttons and the type list use the windows' default font.
    QFont font(tovanel::kPGothicFont);
    font.setPointSize(9);
    QApplication::setFont(font);

    tovanel::CalcState state;
    QPrinter printer;  // the printer settings of the whole program
    tovanel::MonitFM window(state, printer, {QCoreApplication::applicationDirPath(), {}, {}, {}});
    tovanel::InstallPreview(window);
    tovanel::InstallExchange(window);
    window.show();
    return app.exec();
}
