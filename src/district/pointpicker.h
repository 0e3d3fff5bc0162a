// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The point list of a point file, from which the user picks BP, IP and EP: a search box that
// filters the list as it is typed (name or number, any case, full-width or half-width alike), the
// list itself, and one button and one line per point showing what was picked. Picking goes in any
// order and can be redone; OK needs all three.

#include "exchange/pointfile.h"
#include "print/previewhooks.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace tovanel {

/// The file's points, shown through a filter: row r of the view is point rows()[r].
class PointListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PointListModel(const std::vector<FilePoint>& points, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// Shows the points whose name or number holds `text` (PointSearchKey: any case, full-width or
    /// half-width alike); all of them when empty.
    void setFilter(const QString& text);
    /// The point shown on `row`, or null.
    const FilePoint* point(int row) const;

private:
    const std::vector<FilePoint>& m_points;
    std::vector<int> m_rows;
    std::vector<std::pair<QString, QString>> m_keys;  ///< PointSearchKey of each point's name and number
};

class PointPicker : public QDialog {
    Q_OBJECT
public:
    enum Which { BP, IP, EP };

    PointPicker(std::vector<FilePoint> points, const QString& fileName, QWidget* parent = nullptr);

    QLineEdit* searchBox() const { return m_search; }
    QTableView* list() const { return m_list; }
    QPushButton* pickButton(Which w) const { return m_pickButtons[w]; }
    QPushButton* okButton() const { return m_ok; }
    /// The point picked for BP, IP or EP, or null.
    const FilePoint* picked(Which w) const;
    /// Takes the list's current point for BP, IP or EP.
    void pick(Which w);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPicks();
    void filterChanged(const QString& text);

    std::vector<FilePoint> m_points;
    PointListModel* m_model = nullptr;
    QLineEdit* m_search = nullptr;
    QTableView* m_list = nullptr;
    QLabel* m_count = nullptr;
    std::array<QPushButton*, 3> m_pickButtons{};
    std::array<QLabel*, 3> m_pickLabels{};
    std::array<int, 3> m_picked{-1, -1, -1};  ///< index into m_points
    QPushButton* m_ok = nullptr;
};

/// Asks which file to open; returns its path, empty when the user cancelled.
using OpenFileFn = std::function<QString(QWidget* parent, const QString& caption, const QString& folder,
                                         const QString& filter)>;

/// "座標読込": asks for a SIMA or CSV point file (starting in `folder`, which then holds the
/// file's folder), reads it (a file that cannot be read is reported through `dialogs.message`)
/// and runs the point list; the BP, IP and EP picked, or nothing when the user cancelled.
std::optional<std::array<FilePoint, 3>> PickCornerPoints(QWidget* parent, QString& folder, const OpenFileFn& open,
                                                         const PreviewHooks& dialogs);

}  // namespace tovanel
