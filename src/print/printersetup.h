// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printer set-up of the File menu: which print queue the program prints on, on which paper and
// in which orientation. The choice goes into the program's printer settings, which the preview
// reads when it opens and whose queue it prints on for as long as the program runs.

#include <QDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QStringList>

class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace tovanel {

class PrinterSetup : public QDialog {
    Q_OBJECT
public:
    /// Shows the printer settings as they stand: their queue chosen among `queues` (the platform's
    /// print queues; the first when theirs is not among them), their paper and orientation.
    PrinterSetup(const QPrinter& printer, const QStringList& queues, QWidget* parent = nullptr);

    QComboBox* Printers() const { return m_printers; }
    QComboBox* Papers() const { return m_papers; }
    QRadioButton* Portrait() const { return m_portrait; }
    QRadioButton* Landscape() const { return m_landscape; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    /// The queue chosen (empty when the platform offers none), the paper and the orientation.
    QString chosenPrinter() const;
    QPageSize chosenPaper() const;
    QPageLayout::Orientation chosenOrientation() const;

    /// Puts the choice into the printer settings.
    void applyTo(QPrinter& printer) const;

private:
    /// The sheets' papers (A4, A3, JIS B4, JIS B5) the queue offers (all four when it offers none
    /// of them), `keep` chosen if there, else A4.
    void fillPapers(const QString& queue, QPageSize::PageSizeId keep);

    QComboBox* m_printers = nullptr;
    QLabel* m_description = nullptr;
    QComboBox* m_papers = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

}  // namespace tovanel
