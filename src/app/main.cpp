// SPDX-License-Identifier: GPL-3.0-or-later
// Tovanel: corner curves of street blocks and their stake points.

#include "app/batchcommand.h"
#include "app/exchangecommands.h"
#include "app/monitfm.h"
#include "app/plancommand.h"
#include "app/previewopener.h"
#include "app/tablecommand.h"
#include "calc/atomicfile.h"
#include "help/version.h"
#include "print/fonts.h"
#include "print/pagelayout.h"

#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QLibraryInfo>
#include <QPrinter>
#include <QTranslator>

namespace {

// Ends the event loop, at once or, when the program still owns the clipboard, once another
// program has taken it over. Under X11 the clipboard's text lives in the program that put it
// there: the points that the preview's "閉じる" handed over must still paste into the CAD system
// after the last window has closed, so the program stays, without windows, until then (a
// clipboard manager takes the text over at once).
void QuitWhenClipboardServed()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    // exit, not quit: quit would close the windows still open, and a settings dialog closed
    // after the settings were saved saves them again.
    const auto end = [] { QCoreApplication::exit(0); };
    if (!clipboard->ownsClipboard() || clipboard->text().isEmpty()) {
        end();
        return;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    QObject::connect(clipboard, &QClipboard::dataChanged, qApp, end, Qt::SingleShotConnection);
}

}  // namespace

int main(int argc, char* argv[])
{
    // Past a file-size limit a save then fails with "file too large" and says so, instead of the
    // signal ending the program with the settings unsaved.
    tovanel::ReportFileSizeLimitAsError();
    QApplication app(argc, argv);
    QApplication::setApplicationName(tovanel::kAppTitle);
    // The desktop matches the windows to the applications menu's entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("tovanel"));
    // Every window carries the program's icon (drawn from data/tovanel.svg, embedded).
    QIcon icon;
    for (const int size : {48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tovanel-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
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

    QPrinter printer;  // the printer settings of the whole program
    // The sheets are laid out for A4, A3, JIS B4 and JIS B5 only: a queue's default of another
    // paper (Letter, ISO B5) would cut them off; A4 until the user chooses.
    if (tovanel::PaperCodeFor(printer.pageLayout().pageSize()) == tovanel::kPaperOther)
        printer.setPageSize(QPageSize(QPageSize::A4));
    tovanel::MonitFM* main = nullptr;
    // "終了(X)" first lets the corner table window ask about its unsaved changes.
    const auto quit = [&main] {
        if (tovanel::CornerTableWindow* table = main ? tovanel::OpenedCornerTable(*main) : nullptr)
            if (!table->close()) return;
        QuitWhenClipboardServed();
    };
    tovanel::MonitFM window(printer, {QCoreApplication::applicationDirPath(), {}, {}, quit});
    main = &window;
    tovanel::InstallPreview(window);
    tovanel::InstallExchange(window);
    tovanel::InstallBatch(window);
    tovanel::InstallCornerTable(window);
    tovanel::InstallPlan(window);
    window.show();
    // `tovanel FILE.csv` opens the corner table in its window (QApplication has taken its own
    // options, such as -platform, out of argv).
    if (argc > 1) tovanel::ShowCornerTable(window, QString::fromLocal8Bit(argv[1]));
    // The program ends when its last window closes (a preview or the settings dialog may outlive
    // the main window), and "終了(X)" ends it at once; either way the clipboard is served first.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, QuitWhenClipboardServed);
    return app.exec();
}
