// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Point files going out: the exported points of one or more corners as a SIMA coordinate file or
// a CSV point file, code page 932 with CR LF line ends, X and Y with three decimals as the
// block-point sheet prints them. Plain functions from points to bytes.

#include "calc/exportlist.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace tovanel {

enum class PointFileKind { Sima, Csv, Dxf };

/// Why the point name `name` cannot be written into a file of this kind, or empty: a control
/// character (a line end would break the record), a character that code page 932 has no code
/// for, and in a SIMA file a comma, which that format has no way to quote.
QString PointNameProblem(const QString& name, PointFileKind kind);

/// A text as one CSV field: quoted (quotes doubled) when it holds a comma or a quote or has
/// blanks at either end, as it is otherwise.
QString CsvField(const QString& name);

/// A SIMA or CSV point file written a piece at a time, for files holding many corners: the head,
/// the points of each corner in turn (numbered on from the previous corner's), the tail. A piece
/// that cannot be written returns why and appends nothing, so a refused corner leaves no trace.
class PointFileStream {
public:
    /// kind is Sima or Csv.
    explicit PointFileStream(PointFileKind kind) : m_kind(kind) {}
    /// SIMA: G00 with the site name, Z00, A00; CSV: the header line.
    [[nodiscard]] QString head(const QString& site, QByteArray& out);
    /// One record per point, numbered on.
    [[nodiscard]] QString points(const std::vector<ExportPoint>& points, QByteArray& out);
    /// SIMA: A99; CSV: nothing.
    QByteArray tail() const;

private:
    PointFileKind m_kind;
    int m_number = 0;
};

/// The SIMA coordinate file: G00 (format 01, the site name `site`), Z00 座標ﾃﾞｰﾀ, A00, one A01
/// per point (number from 1 in list order, name, X, Y, an empty elevation), A99. Returns empty
/// and fills `out`, or returns why not (a name that cannot be written, a coordinate that is no
/// number); nothing is substituted.
QString SimaFile(const std::vector<ExportPoint>& points, const QString& site, QByteArray& out);

/// The CSV point file: the header 点番号,点名,X,Y, then number, name, X, Y per point; a name
/// holding a comma, a quote or blanks at either end is quoted.
QString CsvFile(const std::vector<ExportPoint>& points, QByteArray& out);

}  // namespace tovanel
