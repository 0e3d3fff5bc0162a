// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/printersetup.h"

#include "widgets/buttonkeys.h"
#include "print/priform.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tovanel {

namespace {

/// The papers the sheets are laid out for, under the names a Japanese user knows them by: B4 and
/// B5 are the JIS sizes (ISO B5 or Letter would give a sheet cut off at the paper's edge).
const struct {
    QPageSize::PageSizeId id;
    const char* name;
} kSheetPapers[] = {{QPageSize::A4, "A4"}, {QPageSize::A3, "A3"}, {QPageSize::JisB4, "B4"},
                    {QPageSize::JisB5, "B5"}};

}  // namespace

PrinterSetup::PrinterSetup(const QPrinter& printer, const QStringList& queues, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PrinterSetup"));
    setWindowTitle(QStringLiteral("プリンタの設定"));

    auto* printerFrame = new QGroupBox(QStringLiteral("プリンタ"), this);
    m_printers = new QComboBox(printerFrame);
    m_printers->setObjectName(QStringLiteral("Printers"));
    m_printers->setMinimumContentsLength(24);
    m_description = new QLabel(printerFrame);
    auto* printerForm = new QFormLayout(printerFrame);
    printerForm->addRow(QStringLiteral("プリンタ名(&N):"), m_printers);
    printerForm->addRow(QStringLiteral("種類:"), m_description);

    auto* paperFrame = new QGroupBox(QStringLiteral("用紙"), this);
    m_papers = new QComboBox(paperFrame);
    m_papers->setObjectName(QStringLiteral("Papers"));
    auto* paperForm = new QFormLayout(paperFrame);
    paperForm->addRow(QStringLiteral("サイズ(&Z):"), m_papers);

    auto* orientationFrame = new QGroupBox(QStringLiteral("印刷の向き"), this);
    m_portrait = new QRadioButton(QStringLiteral("縦(&O)"), orientationFrame);
    m_landscape = new QRadioButton(QStringLiteral("横(&A)"), orientationFrame);
    auto* orientationBox = new QVBoxLayout(orientationFrame);
    orientationBox->addWidget(m_portrait);
    orientationBox->addWidget(m_landscape);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("OK"));
    m_cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_cancel->setObjectName(QStringLiteral("Cancel"));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* lower = new QHBoxLayout;
    lower->addWidget(paperFrame, 1);
    lower->addWidget(orientationFrame);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* all = new QVBoxLayout(this);
    all->addWidget(printerFrame);
    all->addLayout(lower);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);
    EnterPressesFocusedButton(this);

    const QPageLayout layout = printer.pageLayout();
    if (queues.isEmpty()) {
        m_printers->addItem(kNoPrinterText);
        m_printers->setEnabled(false);
    } else {
        m_printers->addItems(queues);
        m_printers->setCurrentIndex(std::max<int>(0, static_cast<int>(queues.indexOf(printer.printerName()))));
    }
    const auto showQueue = [this](QPageSize::PageSizeId keep) {
        const QString queue = chosenPrinter();
        const QPrinterInfo info = QPrinterInfo::printerInfo(queue);
        m_description->setText(info.isNull() ? QString() : info.makeAndModel());
        fillPapers(queue, keep);
    };
    showQueue(layout.pageSize().id());
    connect(m_printers, &QComboBox::currentIndexChanged, this,
            [this, showQueue] { showQueue(chosenPaper().id()); });
    (layout.orientation() == QPageLayout::Landscape ? m_landscape : m_portrait)->setChecked(true);
    m_printers->setFocus();
}

void PrinterSetup::fillPapers(const QString& queue, QPageSize::PageSizeId keep)
{
    // Only the sheets' papers: those of them the queue offers, all four when it offers none.
    QList<QPageSize::PageSizeId> offered;
    for (const QPageSize& size : QPrinterInfo::printerInfo(queue).supportedPageSizes()) offered << size.id();
    QList<QPageSize::PageSizeId> ids;
    m_papers->clear();
    for (const auto& paper : kSheetPapers)
        if (offered.contains(paper.id)) ids << paper.id;
    for (const auto& paper : kSheetPapers)
        if (ids.isEmpty() || ids.contains(paper.id))
            m_papers->addItem(QString::fromLatin1(paper.name), static_cast<int>(paper.id));
    ids.clear();
    for (int i = 0; i < m_papers->count(); ++i)
        ids << static_cast<QPageSize::PageSizeId>(m_papers->itemData(i).toInt());
    int at = static_cast<int>(ids.indexOf(keep));
    if (at < 0) at = std::max<int>(0, static_cast<int>(ids.indexOf(QPageSize::A4)));
    m_papers->setCurrentIndex(at);
}

QString PrinterSetup::chosenPrinter() const
{
    return m_printers->isEnabled() ? m_printers->currentText() : QString();
}

QPageSize PrinterSetup::chosenPaper() const
{
    return QPageSize(static_cast<QPageSize::PageSizeId>(m_papers->currentData().toInt()));
}

QPageLayout::Orientation PrinterSetup::chosenOrientation() const
{
    return m_landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void PrinterSetup::applyTo(QPrinter& printer) const
{
    // The queue first: taking another queue may bring that queue's own paper with it.
    if (const QString queue = chosenPrinter(); !queue.isEmpty()) printer.setPrinterName(queue);
    printer.setPageSize(chosenPaper());
    printer.setPageOrientation(chosenOrientation());
}

}  // namespace tovanel
