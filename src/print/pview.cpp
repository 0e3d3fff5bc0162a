// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/pview.h"

#include "calc/corner.h"
#include "calc/settings.h"
#include "calc/twips.h"
#include "widgets/buttonkeys.h"
#include "widgets/waitcursor.h"
#include "print/pageview.h"
#include "print/pagewriter.h"
#include "print/priform.h"
#include "print/printersetup.h"
#include "print/printjob.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tovanel {

namespace {

/// The button row: every button sits at the top edge, 375 twips high.
constexpr double kButtonTop = 0;
constexpr double kButtonHeight = 375;
/// Gap between the buttons and the page view, and between the page view and the status bar.
constexpr double kViewGap = 20;
/// Size the window opens with, twips: a landscape A4 page at 75 % fits across.
constexpr double kInitialWidth = 15300;
constexpr double kInitialHeight = 10800;

constexpr int kZoomAfterLoad = 75;
constexpr int kZoomStep = 25;
constexpr int kZoomInLimit = 125;  ///< zooming in is disabled above this
constexpr int kZoomOutLimit = 25;  ///< zooming out is disabled at or below this

}  // namespace

QString PageCounterText(int page, int pages)
{
    return QStringLiteral(" 頁 ") + QString::number(page) + QStringLiteral(" / ") +
           QString::number(pages);
}

PVIEW::PVIEW(Setup setup, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_compose(std::move(setup.compose)),
      m_document(setup.document),
      m_ipNumber(std::move(setup.ipNumber)),
      m_settings(setup.settings),
      m_hooks(CompleteHooks(std::move(setup.hooks)))
{
    setObjectName(QStringLiteral("PVIEW"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("プレビュー"));
    buildControls();
    resize(Px(kInitialWidth), Px(kInitialHeight));
    Form_Load(setup.appPrinter);
}

PVIEW::~PVIEW() = default;

void PVIEW::buildControls()
{
    auto button = [this](const char* name, const char* caption, double left, double width) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        const int l = Px(left);
        b->setGeometry(l, Px(kButtonTop), Px(left + width) - l, Px(kButtonHeight));
        return b;
    };
    m_cmdToPrinter = button("cmdToPrinter", "印刷", 120, 1005);
    m_command1 = button("Command1", "頁設定", 1200, 975);
    m_cmdmae = button("Cmdmae", "前　頁", 2280, 1000);
    m_cmdato = button("Cmdato", "次　頁", 3360, 1000);
    m_cmdZoom[0] = button("cmdZoom0", "拡大(&I)", 4440, 1000);
    m_cmdZoom[1] = button("cmdZoom1", "縮小(&O)", 5520, 1000);
    m_cmdPdf = button("CmdPdf", "PDF保存", 6600, 1100);
    m_cmdend = button("Cmdend", "閉じる", 7800, 1000);

    connect(m_cmdToPrinter, &QPushButton::clicked, this, &PVIEW::cmdToPrinter_Click);
    connect(m_command1, &QPushButton::clicked, this, &PVIEW::Command1_Click);
    connect(m_cmdmae, &QPushButton::clicked, this, &PVIEW::Cmdmae_Click);
    connect(m_cmdato, &QPushButton::clicked, this, &PVIEW::Cmdato_Click);
    connect(m_cmdZoom[0], &QPushButton::clicked, this, [this] { cmdZoom_Click(0); });
    connect(m_cmdZoom[1], &QPushButton::clicked, this, [this] { cmdZoom_Click(1); });
    connect(m_cmdPdf, &QPushButton::clicked, this, &PVIEW::CmdPdf_Click);
    connect(m_cmdend, &QPushButton::clicked, this, &PVIEW::Cmdend_Click);

    EnterPressesFocusedButton(this);
    // The keys of a page viewer: paging and printing without the mouse.
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::Key_PageUp), [this] { FlipPage(PageButton::Previous); }},
        {QKeySequence(Qt::Key_PageDown), [this] { FlipPage(PageButton::Next); }},
        {QKeySequence(Qt::CTRL | Qt::Key_P), [this] { cmdToPrinter_Click(); }},
    };
    for (const auto& [sequence, action] : keys)
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, action);

    m_view = new PageView(m_pl, this);
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(false);
    m_counter = new QLabel(m_statusBar);
    m_counter->setObjectName(QStringLiteral("Panel1"));
    m_statusBar->addWidget(m_counter, 1);
}

void PVIEW::Form_Load(const QPrinter* appPrinter)
{
    setWindowTitle(QStringLiteral("Zoom"));
    // The program's printer settings give the paper; the page set-up then forces landscape.
    if (appPrinter) {
        m_pl.setPageLayout(appPrinter->pageLayout());
        m_appPrinter = appPrinter;
    }
    PageWriter writer(m_pl);
    PageSetup(writer);
    m_paperName = writer.PaperName;
    m_pl.setZoom(kZoomAfterLoad);
    if (m_document == PrintDocument::Sheets) {
        const WaitCursor hourglass;
        m_refusal = m_compose ? m_compose(writer, m_exports)
                              : QStringLiteral("計算書を作成する手順がありません。");
    }
    m_pl.setPrinterName(printerName());
    m_view->refresh();
    pv_cont();
}

void PVIEW::pv_cont()
{
    const int p = m_pl.previewPage();
    const int n = m_pl.pageCount();
    m_counter->setText(PageCounterText(p, n));
    m_cmdato->setEnabled(p != n);
    m_cmdmae->setEnabled(p != 1);
}

void PVIEW::FlipPage(PageButton botan)
{
    const int p = m_pl.previewPage();
    if (botan == PageButton::Next && p + 1 <= m_pl.pageCount())
        m_pl.setPreviewPage(p + 1);
    else if (botan == PageButton::Previous && p > 1)
        m_pl.setPreviewPage(p - 1);
    m_view->refresh();
    pv_cont();
}

void PVIEW::cmdZoom_Click(int index)
{
    if (index == 0) {
        m_pl.setZoom(m_pl.zoom() + kZoomStep);
        if (m_pl.zoom() > kZoomInLimit) m_cmdZoom[0]->setEnabled(false);
        if (!m_cmdZoom[1]->isEnabled()) m_cmdZoom[1]->setEnabled(true);
    } else if (index == 1) {
        m_pl.setZoom(m_pl.zoom() - kZoomStep);
        if (m_pl.zoom() <= kZoomOutLimit) m_cmdZoom[1]->setEnabled(false);
        if (!m_cmdZoom[0]->isEnabled()) m_cmdZoom[0]->setEnabled(true);
    } else {
        return;
    }
    setWindowTitle(QStringLiteral("Zoom ") + QString::number(m_pl.zoom()) + QStringLiteral("%"));
    m_view->refresh();
}

void PVIEW::Command1_Click()
{
    // The sheets' papers, opening on the document's. (The platform's page set-up offered every
    // size, opened on A4 when the queue did not take the document's JIS B5, and OK then moved the
    // document to A4 without a word.) Settings of no queue take any paper.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(m_pl.pageLayout());
    PrinterSetup dialog(printer, {}, this);
    dialog.setObjectName(QStringLiteral("PageSetup"));
    dialog.setWindowTitle(QStringLiteral("頁設定"));
    dialog.Printers()->parentWidget()->hide();  // the queue is the print dialog's
    m_hooks.execDialog(dialog);
    if (dialog.result() != QDialog::Accepted) return;
    // Only the paper and its orientation change; the document keeps its layout.
    m_pl.setPageSize(dialog.chosenPaper());
    m_pl.setOrientation(dialog.chosenOrientation() == QPageLayout::Landscape ? kLandscape : kPortrait);
    m_view->refresh();
}

QString PVIEW::printerName() const
{
    return ResolvePrinterName(m_appPrinter ? m_appPrinter->printerName() : QString(), m_hooks.printers(),
                              m_hooks.defaultPrinter());
}

void PVIEW::cmdToPrinter_Click()
{
    const PriForm::PrintRange range{
        1, static_cast<int16_t>(std::min<int>(m_pl.pageCount(), std::numeric_limits<int16_t>::max()))};
    m_pl.setPrinterName(printerName());
    PriForm dialog(m_pl, m_paperName, range, [this](int from, int to) { return printRange(from, to); }, this);
    m_hooks.execDialog(dialog);
}

bool PVIEW::printRange(int from, int to)
{
    QString problem;
    {
        const WaitCursor hourglass;
        problem = PrintPages(m_pl, m_pl.printerName(), from, to);
    }
    if (problem.isEmpty()) return true;
    m_hooks.message(this, QMessageBox::Warning, QStringLiteral("印刷"), problem);
    return false;
}

void PVIEW::CmdPdf_Click()
{
    const QString title = QStringLiteral("PDF保存");
    if (m_pl.pageCount() == 0) {
        m_hooks.message(this, QMessageBox::Warning, title, QStringLiteral("保存する頁がありません。"));
        return;
    }
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::homePath();
    const QString suggested = QDir(dir).filePath(CornerFileName(
        QStringLiteral("計算書"), m_ipNumber ? m_ipNumber() : QString(), QStringLiteral("pdf")));
    QString path = m_hooks.saveFileName(this, title, suggested,
                                        QStringLiteral("PDF ファイル (*.pdf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    if (m_pl.docName().isEmpty()) m_pl.setDocName(kPrintDocName);  // the PDF's title
    QString problem;
    {
        const WaitCursor hourglass;
        problem = m_pl.writePdf(path);
    }
    if (!problem.isEmpty()) {
        m_hooks.message(this, QMessageBox::Warning, title, problem);
        return;
    }
    m_hooks.message(this, QMessageBox::Information, title,
                    QStringLiteral("PDF ファイルに保存しました。\n") + QDir::toNativeSeparators(path));
}

void PVIEW::Cmdend_Click()
{
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    if (m_exports.count() > 0) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        const ExportText out = BuildExportText(m_exports, m_settings ? *m_settings : Settings{});
        clipboard->setText(out.text);
        m_hooks.message(this, QMessageBox::Information, QStringLiteral("登録"),
                        ExportMessage(out.count));
    }
    close();
}

void PVIEW::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void PVIEW::Form_Resize()
{
    if (isMinimized()) return;
    const int w = width();
    const int h = height();
    const int barHeight = m_statusBar->sizeHint().height();
    const int top = Px(kButtonHeight + kViewGap);
    // A window smaller than the buttons and the status bar leaves the view empty, never negative.
    const int viewHeight = std::max(0, h - barHeight - Px(kViewGap + kButtonHeight));
    m_view->setGeometry(0, top, w, viewHeight);
    m_statusBar->setGeometry(0, std::max(top, h - barHeight), w, barHeight);
}

}  // namespace tovanel
