// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/batchcommand.h"

#include "app/monitfm.h"
#include "batch/batchrun.h"
#include "calc/settings.h"
#include "print/pagelayout.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <memory>

namespace tovanel {

namespace {

const char16_t kTitle[] = u"一括計算";
constexpr int kShownRefusals = 20;
/// How often the progress is shown and the window's events are handled during a run.
constexpr qint64 kRepaintMs = 50;

const PointFileKind kFormats[] = {PointFileKind::Sima, PointFileKind::Csv, PointFileKind::Dxf};

/// `path` with the suffix of `format` in place of its own.
QString WithSuffix(const QString& path, const QString& suffix)
{
    if (path.isEmpty()) return path;
    const QFileInfo info(path);
    return QDir(info.path()).filePath(info.completeBaseName() + QLatin1Char('.') + suffix);
}

/// While a run goes on, the main window stays drawn and movable but takes no commands, and
/// closing it stops the run; the window closes (and the program ends as it always does, the
/// settings saved) once the run has stopped, having written nothing.
class RunningGuard : public QObject {
public:
    RunningGuard(MonitFM& window, QProgressDialog& progress) : m_window(window), m_progress(progress)
    {
        m_window.menuBar()->setEnabled(false);
        m_window.centralWidget()->setEnabled(false);
        m_window.installEventFilter(this);
    }
    ~RunningGuard() override
    {
        m_window.removeEventFilter(this);
        m_window.menuBar()->setEnabled(true);
        m_window.centralWidget()->setEnabled(true);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &m_window || event->type() != QEvent::Close) return false;
        m_progress.cancel();
        m_closeRequested = true;
        event->ignore();
        return true;
    }

public:
    bool closeRequested() const { return m_closeRequested; }

private:
    bool m_closeRequested = false;
    MonitFM& m_window;
    QProgressDialog& m_progress;
};

struct BatchCommand {
    MonitFM& window;
    ExchangeHooks hooks;
    QString folder;
    bool running = false;

    void run();
};

void BatchCommand::run()
{
    if (running) return;
    BatchDialog dialog(StartFolder(folder), hooks, &window);
    hooks.dialogs.execDialog(dialog);
    if (dialog.result() != QDialog::Accepted) return;
    const QString table = dialog.table();
    folder = QFileInfo(table).absolutePath();
    BatchOutputs out;
    out.pdf = dialog.pdf();
    PointFileKind format = PointFileKind::Sima;
    const QString points = dialog.pointFile(format);
    (format == PointFileKind::Sima ? out.sima : format == PointFileKind::Csv ? out.csv : out.dxf) = points;
    // The sheets are laid out for the paper of the program's printer settings, as the preview's are.
    out.paper = PaperCodeFor(window.printer().pageLayout().pageSize());

    // Settings as they are now: a settings dialog used during the run changes nothing in it.
    const Settings settings = window.settings();
    QProgressDialog progress(QStringLiteral("隅切り表を読んでいます…"), QStringLiteral("中止"), 0, 0, &window);
    progress.setObjectName(QStringLiteral("BatchProgress"));
    progress.setWindowTitle(QString::fromUtf16(kTitle));
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    running = true;
    auto guard = std::make_unique<RunningGuard>(window, progress);
    progress.show();
    QCoreApplication::processEvents();

    QElapsedTimer shown;
    shown.start();
    bool first = true;
    QStringList refusals;
    BatchCallbacks callbacks;
    callbacks.progress = [&](int done, int total) {
        if (!first && done < total && shown.elapsed() < kRepaintMs) return;
        first = false;
        shown.restart();
        progress.setMaximum(total);
        progress.setLabelText(QStringLiteral("隅切り %1 / %2").arg(done).arg(total));
        progress.setValue(done);
        // The window repaints and the cancel button answers while the run goes on.
        QCoreApplication::processEvents();
    };
    callbacks.cancelled = [&] { return progress.wasCanceled(); };
    callbacks.refused = [&](const BatchRefusal& r) {
        if (refusals.size() < kShownRefusals) refusals << QStringLiteral("%1 行目: %2").arg(r.line).arg(r.reason);
    };
    const BatchResult r = RunBatch(table, settings, out, callbacks);
    const bool closing = guard->closeRequested();
    guard.reset();
    running = false;
    progress.close();
    if (closing) {  // the stopped run wrote nothing; the close request goes on
        window.close();
        return;
    }

    // A table that cannot be read at all needs no summary, only the reason.
    QStringList parts;
    if (r.total > 0) parts << BatchSummary(r);
    if (!r.failure.isEmpty()) parts << r.failure;
    if (!r.written.isEmpty()) {
        QString files = QStringLiteral("書き出したファイル:");
        for (const QString& f : r.written) files += QStringLiteral("\n  ") + QDir::toNativeSeparators(f);
        parts << files;
    }
    if (!refusals.isEmpty()) {
        QString lines = QStringLiteral("計算できなかった行:");
        for (const QString& line : refusals) lines += QStringLiteral("\n  ") + line;
        if (r.refused > refusals.size()) lines += QStringLiteral("\n  …ほか %1 行").arg(r.refused - refusals.size());
        parts << lines;
    }
    const bool clean = r.failure.isEmpty() && r.refused == 0 && !r.cancelled;
    hooks.dialogs.message(&window, clean ? QMessageBox::Information : QMessageBox::Warning,
                          QString::fromUtf16(kTitle), parts.join(QStringLiteral("\n\n")));
}

}  // namespace

BatchDialog::BatchDialog(const QString& folder, ExchangeHooks hooks, QWidget* parent)
    : QDialog(parent), m_hooks(std::move(hooks)), m_folder(folder)
{
    setObjectName(QStringLiteral("BatchDialog"));
    setWindowTitle(QString::fromUtf16(kTitle));
    auto* grid = new QGridLayout(this);
    auto browse = [this](const char* name) {
        auto* b = new QPushButton(QStringLiteral("参照..."), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMinimumWidth(360);
        connect(e, &QLineEdit::textChanged, this, &BatchDialog::updateRun);
        return e;
    };

    grid->addWidget(new QLabel(QStringLiteral("隅切り表(&T):"), this), 0, 0);
    m_table = edit("TableEdit");
    static_cast<QLabel*>(grid->itemAtPosition(0, 0)->widget())->setBuddy(m_table);
    grid->addWidget(m_table, 0, 1, 1, 2);
    QPushButton* tableBrowse = browse("TableBrowse");
    grid->addWidget(tableBrowse, 0, 3);
    auto* note = new QLabel(QStringLiteral("CSV、1 行に 1 箇所: IP番号, BP X, BP Y, IP X, IP Y, EP X, EP Y, 半径, 内幅員, 外幅員,\n"
                                           "計算方式 (0 平行, 1 千鳥, 2 外接, 3 等曲率半径), 分割数 (空欄か 0 は自動)"),
                            this);
    note->setObjectName(QStringLiteral("TableNote"));
    grid->addWidget(note, 1, 1, 1, 3);

    m_pdfOn = new QCheckBox(QStringLiteral("計算書 PDF(&P):"), this);
    m_pdfOn->setObjectName(QStringLiteral("PdfCheck"));
    m_pdfOn->setChecked(true);
    grid->addWidget(m_pdfOn, 2, 0);
    m_pdf = edit("PdfEdit");
    grid->addWidget(m_pdf, 2, 1, 1, 2);
    QPushButton* pdfBrowse = browse("PdfBrowse");
    grid->addWidget(pdfBrowse, 2, 3);

    m_pointsOn = new QCheckBox(QStringLiteral("座標ファイル(&O):"), this);
    m_pointsOn->setObjectName(QStringLiteral("PointCheck"));
    m_pointsOn->setChecked(true);
    grid->addWidget(m_pointsOn, 3, 0);
    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("PointFormat"));
    m_format->addItems({QStringLiteral("SIMA"), QStringLiteral("CSV"), QStringLiteral("DXF")});
    grid->addWidget(m_format, 3, 1);
    m_points = edit("PointEdit");
    grid->addWidget(m_points, 3, 2);
    QPushButton* pointsBrowse = browse("PointBrowse");
    grid->addWidget(pointsBrowse, 3, 3);
    grid->setColumnStretch(2, 1);

    auto* buttons = new QDialogButtonBox(this);
    m_run = buttons->addButton(QStringLiteral("実行(&R)"), QDialogButtonBox::AcceptRole);
    m_run->setObjectName(QStringLiteral("RunButton"));
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    grid->addWidget(buttons, 4, 0, 1, 4);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(tableBrowse, &QPushButton::clicked, this, [this] {
        const QString path = m_hooks.openFileName(this, QStringLiteral("隅切り表"), m_folder,
                                                  QStringLiteral("CSV ファイル (*.csv *.txt);;すべてのファイル (*)"));
        if (path.isEmpty()) return;
        m_table->setText(path);
        tableChosen();
    });
    connect(m_table, &QLineEdit::editingFinished, this, &BatchDialog::tableChosen);
    connect(pdfBrowse, &QPushButton::clicked, this, [this] {
        const QString path = m_hooks.dialogs.saveFileName(this, QStringLiteral("計算書 PDF"), m_pdf->text(),
                                                          QStringLiteral("PDF ファイル (*.pdf)"));
        if (!path.isEmpty()) m_pdf->setText(WithSuffix(path, QStringLiteral("pdf")));
    });
    connect(pointsBrowse, &QPushButton::clicked, this, [this] {
        const PointFileKind f = kFormats[m_format->currentIndex()];
        const QString path = m_hooks.dialogs.saveFileName(this, QStringLiteral("座標ファイル"), m_points->text(), FormatFilter(f));
        if (!path.isEmpty()) m_points->setText(WithSuffix(path, FormatSuffix(f)));
    });
    connect(m_format, &QComboBox::currentIndexChanged, this, &BatchDialog::formatChanged);
    connect(m_pdfOn, &QCheckBox::toggled, this, &BatchDialog::updateRun);
    connect(m_pointsOn, &QCheckBox::toggled, this, &BatchDialog::updateRun);
    updateRun();
}

QString BatchDialog::table() const { return m_table->text().trimmed(); }

QString BatchDialog::pdf() const { return m_pdfOn->isChecked() ? m_pdf->text().trimmed() : QString(); }

QString BatchDialog::pointFile(PointFileKind& format) const
{
    format = kFormats[m_format->currentIndex()];
    return m_pointsOn->isChecked() ? m_points->text().trimmed() : QString();
}

void BatchDialog::tableChosen()
{
    // The outputs are suggested beside the table, named after it, until the user names them.
    const QFileInfo info(table());
    if (table().isEmpty()) return;
    const QString base = QDir(info.absolutePath()).filePath(info.completeBaseName());
    if (m_pdf->text().isEmpty()) m_pdf->setText(base + QStringLiteral("_計算書.pdf"));
    if (m_points->text().isEmpty())
        m_points->setText(base + QStringLiteral("_座標.") + FormatSuffix(kFormats[m_format->currentIndex()]));
}

void BatchDialog::formatChanged()
{
    m_points->setText(WithSuffix(m_points->text(), FormatSuffix(kFormats[m_format->currentIndex()])));
}

void BatchDialog::updateRun()
{
    m_pdf->setEnabled(m_pdfOn->isChecked());
    m_points->setEnabled(m_pointsOn->isChecked());
    m_format->setEnabled(m_pointsOn->isChecked());
    PointFileKind unused;
    m_run->setEnabled(!table().isEmpty() && !(pdf().isEmpty() && pointFile(unused).isEmpty()));
}

void InstallBatch(MonitFM& window, ExchangeHooks hooks)
{
    auto shared = std::make_shared<BatchCommand>(BatchCommand{window, CompleteHooks(window, std::move(hooks)), {}, false});

    // After the point-file commands when they are there, otherwise before the printer set-up.
    QAction* batch = window.addFileCommand(QStringLiteral("一括計算(&B)..."), QStringLiteral("MENUFILE1_8"),
                                           QStringLiteral("MENUFILE1_4"));
    QObject::connect(batch, &QAction::triggered, batch, [shared] { shared->run(); });
}

}  // namespace tovanel
