// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The export list: every point the sheets name, in the order they name them, and the plain text
// that hands the list back to the CAD system through the clipboard.

#include <QString>
#include <vector>

namespace tovanel {

class Settings;

/// One point as it leaves the program: its name and survey coordinates (X north, Y east).
struct ExportPoint {
    QString name;
    double x = 0;
    double y = 0;
};

/// The points named while a document is composed, every one of them in naming order. A document
/// of the largest division count names about 3 × 1003 + 4 points.
class ExportList {
public:
    void PointAdd(const QString& name, double x, double y) { m_points.push_back({name, x, y}); }
    void clear() { m_points.clear(); }
    int count() const { return static_cast<int>(m_points.size()); }
    const std::vector<ExportPoint>& all() const { return m_points; }

private:
    std::vector<ExportPoint> m_points;
};

/// The points of the list as they are handed on, in list order: an entry whose name equals the
/// previous entry's is left out (EC listed twice in a row is handed on once); the first is
/// compared with "". The clipboard text and every point file hold exactly these.
std::vector<ExportPoint> ExportPoints(const ExportList& list);

/// The indices in `list.all()` of the entries ExportPoints hands on, in order.
std::vector<size_t> ExportedEntries(const ExportList& list);

struct ExportText {
    QString text;   ///< one line per written point, each ending in CR LF
    int count = 0;  ///< lines written
};

/// The clipboard text of ExportPoints. Each line is the lead-in (nothing for the CAD edition that
/// puts names in the first field, a TAB otherwise), the name, TAB, X, TAB, Y, CR LF, with the
/// coordinates in up to 15 significant digits. TABs, CRs and LFs are dropped from the names, so
/// no line ever carries an extra field.
ExportText BuildExportText(const ExportList& list, const Settings& settings);

/// The message that reports the written count: the count with a blank in place of a plus sign,
/// then "点の座標値をクリップボードに貼り付けました。".
QString ExportMessage(int count);

}  // namespace tovanel
