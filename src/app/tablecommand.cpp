// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tablecommand.h"

#include "app/exchangecommands.h"
#include "app/monitfm.h"
#include "print/pagelayout.h"
#include "print/pagewriter.h"
#include "print/pview.h"
#include "sheets/composition.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>

namespace tovanel {

namespace {

const QString kHolderName = QStringLiteral("CornerTableHolder");

/// Keeps the table window of one main window; the window goes before the main window does.
class TableHolder : public QObject {
public:
    TableHolder(MonitFM& window, TableHooks hooks, const QString& recentList)
        : QObject(&window), m_main(window), m_hooks(std::move(hooks)), m_recentList(recentList)
    {
        setObjectName(kHolderName);
    }
    ~TableHolder() override { delete m_table.data(); }

    CornerTableWindow* table() const { return m_table; }
    CornerTableWindow* show();

private:
    void preview(std::vector<Corner> corners, bool print);

    MonitFM& m_main;
    TableHooks m_hooks;
    QString m_recentList;
    QPointer<CornerTableWindow> m_table;
    QPointer<PVIEW> m_preview;
};

CornerTableWindow* TableHolder::show()
{
    if (!m_table) {
        CornerTableWindow::Setup setup;
        MonitFM* main = &m_main;
        setup.settings = [main] { return main->settings(); };
        setup.hooks = m_hooks;
        setup.recentList = m_recentList;
        setup.currentCorner = [main] { return main->boxInputs(); };
        setup.openInMain = [main](const CornerInput& in) {
            main->setBoxes(in);
            if (main->isMinimized()) main->showNormal();
            main->raise();
            main->activateWindow();
        };
        setup.paper = [main] { return PaperCodeFor(main->printer().pageLayout().pageSize()); };
        setup.preview = [this](std::vector<Corner> corners, bool print) { preview(std::move(corners), print); };
        // A window of its own: it stays when the main window closes, and asks before it goes.
        m_table = new CornerTableWindow(std::move(setup));
        m_table->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (m_table->isMinimized()) m_table->showNormal();
    m_table->show();
    m_table->raise();
    m_table->activateWindow();
    return m_table;
}

void TableHolder::preview(std::vector<Corner> corners, bool print)
{
    delete m_preview.data();  // one preview of the table at a time, of the rows asked for now
    PVIEW::Setup setup;
    const Settings settings = m_main.settings();
    // Each corner is composed as the main window's preview composes it, its pages after the last.
    setup.compose = [corners = std::move(corners), settings](PageWriter& w, ExportList& exports) -> QString {
        std::vector<Page> pages;
        ExportList all;
        for (const Corner& c : corners) {
            if (QString why = ComposeSheets(c, settings, w, exports); !why.isEmpty())
                return QStringLiteral("IP番号 %1: %2").arg(c.in.IPNo, why);
            pages.insert(pages.end(), w.pl.pages().begin(), w.pl.pages().end());
            for (const ExportPoint& p : exports.all()) all.PointAdd(p.name, p.x, p.y);
        }
        w.pl.setPages(std::move(pages));
        exports = std::move(all);
        return {};
    };
    setup.document = PrintDocument::Sheets;
    CornerTableWindow* table = m_table;
    setup.ipNumber = [table] { return table && !table->filePath().isEmpty() ? QFileInfo(table->filePath()).completeBaseName() : QString(); };
    setup.settings = &m_main.settings();
    setup.appPrinter = &m_main.printer();
    setup.hooks = m_hooks.dialogs;
    auto* preview = new PVIEW(std::move(setup));
    if (const QString why = preview->refusal(); !why.isEmpty()) {
        delete preview;
        m_hooks.dialogs.message(m_table, QMessageBox::Warning, QStringLiteral("確認"), why);
        return;
    }
    m_preview = preview;
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->show();
    preview->activateWindow();
    // Printing goes through the preview's own print dialog: the same pages, the same printer.
    if (print) preview->cmdToPrinter()->click();
}

TableHolder* HolderOf(const MonitFM& window) { return window.findChild<TableHolder*>(kHolderName, Qt::FindDirectChildrenOnly); }

}  // namespace

void InstallCornerTable(MonitFM& window, TableHooks hooks, const QString& recentList)
{
    if (!hooks.dialogs.message) hooks.dialogs.message = window.messageFn();
    auto* holder = new TableHolder(window, std::move(hooks), recentList);

    QAction* table = window.addFileCommand(QStringLiteral("隅切り表(&T)..."), QStringLiteral("MENUFILE1_9"),
                                           QStringLiteral("MENUFILE1_8"));
    QObject::connect(table, &QAction::triggered, holder, [holder] { holder->show(); });
}

CornerTableWindow* ShowCornerTable(MonitFM& window, const QString& path)
{
    TableHolder* holder = HolderOf(window);
    if (!holder) return nullptr;
    CornerTableWindow* table = holder->show();
    if (!path.isEmpty()) table->openFile(path);
    return table;
}

CornerTableWindow* OpenedCornerTable(const MonitFM& window)
{
    const TableHolder* holder = HolderOf(window);
    return holder ? holder->table() : nullptr;
}

}  // namespace tovanel
