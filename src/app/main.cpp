// Tovanel: corner curves of street blocks and their stake points.

#include "app/batchcommand.h"
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

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(tovanel::kAppTitle);
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
    tovanel::InstallBatch(window);
    window.show();
    return app.exec();
}
