// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's "一括計算(B)...": every corner of a corner table computed in one run into one
// calculation document (PDF) and one point file, with a progress dialog that can cancel the run.

#include "app/exchangecommands.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tovanel {

class MonitFM;

/// Asks for the table and for where the document and the point file go.
class BatchDialog : public QDialog {
    Q_OBJECT
public:
    /// The hooks answer its browse buttons: openFileName for the table, saveFileName for outputs.
    BatchDialog(const QString& folder, ExchangeHooks hooks, QWidget* parent = nullptr);

    QString table() const;
    /// Empty when no document is to be written.
    QString pdf() const;
    /// Empty when no point file is to be written; its kind in `format`.
    QString pointFile(PointFileKind& format) const;

private:
    void tableChosen();
    void formatChanged();
    void updateRun();

    ExchangeHooks m_hooks;
    QString m_folder;
    QLineEdit* m_table = nullptr;
    QCheckBox* m_pdfOn = nullptr;
    QLineEdit* m_pdf = nullptr;
    QCheckBox* m_pointsOn = nullptr;
    QComboBox* m_format = nullptr;
    QLineEdit* m_points = nullptr;
    QPushButton* m_run = nullptr;
};

/// Adds the command to the main window's File menu, after the point-file commands.
void InstallBatch(MonitFM& window, ExchangeHooks hooks = {});

}  // namespace tovanel
