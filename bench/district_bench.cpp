// SPDX-License-Identifier: GPL-3.0-or-later
// The corner table window on a district of 1,000 corners: the table opened (read, every row
// computed, the plan given every corner), the window opened and drawn, and one edit recomputed
// and redrawn.

#include "calc/settingsfile.h"
#include "district/cornertablemodel.h"
#include "district/cornertablewindow.h"
#include "plan/planview.h"
#include "print/fonts.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace tovanel;

/// A district of street blocks 60 m by 40 m between streets 8 m wide, every block's four corners
/// rounded, going round the block clockwise (right turns): tangents of 15 m, radii of 3..6 m.
QString District(const QTemporaryDir& dir, int corners)
{
    const QString path = dir.filePath(QStringLiteral("district%1.csv").arg(corners));
    std::vector<RowCells> rows;
    const int across = 25;
    for (int k = 0; static_cast<int>(rows.size()) < corners; ++k) {
        const double x0 = -12000.0 + (k / across) * 48.0, y0 = 3000.0 + (k % across) * 68.0;
        // The block's vertices clockwise from south-west (X north, Y east).
        const double vx[4] = {x0, x0 + 40, x0 + 40, x0}, vy[4] = {y0, y0, y0 + 60, y0 + 60};
        for (int c = 0; c < 4 && static_cast<int>(rows.size()) < corners; ++c) {
            const int p = (c + 3) % 4, n = (c + 1) % 4;
            auto towards = [&](int to, double& x, double& y) {
                const double dx = vx[to] - vx[c], dy = vy[to] - vy[c], len = std::hypot(dx, dy);
                x = vx[c] + 15 * dx / len;
                y = vy[c] + 15 * dy / len;
            };
            double bx, by, ex, ey;
            towards(p, bx, by);
            towards(n, ex, ey);
            RowCells cells;
            const double xy[] = {bx, by, vx[c], vy[c], ex, ey, 3.0 + (k + c) % 4, 1.5, 2.0};
            cells[0] = QStringLiteral("K%1-%2").arg(k + 1).arg(c + 1);
            for (size_t i = 0; i < std::size(xy); ++i) cells[i + 1] = QString::number(xy[i], 'f', 3);
            cells[10] = QString::number((k + c) % 4);
            cells[12] = QStringLiteral("B%1-%2").arg(k + 1).arg(c + 1);
            cells[13] = QStringLiteral("I%1-%2").arg(k + 1).arg(c + 1);
            cells[14] = QStringLiteral("E%1-%2").arg(k + 1).arg(c + 1);
            rows.push_back(cells);
        }
    }
    std::vector<const RowCells*> all;
    for (const RowCells& r : rows) all.push_back(&r);
    QString why;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(TableFileBytes(all, why)) <= 0 || !why.isEmpty()) std::abort();
    return path;
}

void OpenTable(benchmark::State& st)
{
    QTemporaryDir dir;
    const QString path = District(dir, static_cast<int>(st.range(0)));
    for (auto _ : st) {
        CornerTableModel model(DefaultSettings());
        TableFileRead read = ReadTableFile(path);
        model.resetRows(std::move(read.rows));
        if (model.countOf(RowStatus::Refused) != 0) st.SkipWithError("a corner of the district was refused");
        benchmark::DoNotOptimize(model.rowCount());
    }
    st.SetItemsProcessed(st.iterations() * st.range(0));
}
BENCHMARK(OpenTable)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

CornerTableWindow::Setup Quiet()
{
    CornerTableWindow::Setup s;
    s.settings = [] { return DefaultSettings(); };
    s.hooks.dialogs.message = [](QWidget*, QMessageBox::Icon, const QString&, const QString&) {};
    s.hooks.askSave = [](QWidget*, const QString&, const QString&) { return QMessageBox::Discard; };
    return s;
}

/// The window opening the table, then table and plan painted once.
void OpenWindow(benchmark::State& st)
{
    QTemporaryDir dir;
    const QString path = District(dir, static_cast<int>(st.range(0)));
    CornerTableWindow::Setup s = Quiet();
    s.recentList = dir.filePath(QStringLiteral("recent.txt"));
    CornerTableWindow w(s);
    w.resize(1600, 1000);
    w.show();
    for (auto _ : st) {
        w.newTable();
        if (!w.openFile(path, false)) st.SkipWithError("not opened");
        w.repaint();
        w.planView()->repaint();
    }
    st.SetItemsProcessed(st.iterations() * st.range(0));
}
BENCHMARK(OpenWindow)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

/// One radius typed into the middle row: the row recomputed, the plan's corner replaced and the
/// plan redrawn whole.
void EditRow(benchmark::State& st)
{
    QTemporaryDir dir;
    const QString path = District(dir, 1000);
    CornerTableWindow::Setup s = Quiet();
    s.recentList = dir.filePath(QStringLiteral("recent.txt"));
    CornerTableWindow w(s);
    w.resize(1600, 1000);
    w.show();
    if (!w.openFile(path, false)) st.SkipWithError("not opened");
    int k = 0;
    for (auto _ : st) {
        if (!w.model()->setCell(500, CornerTableModel::ColRadius, k++ % 2 ? QStringLiteral("4") : QStringLiteral("5")).isEmpty())
            st.SkipWithError("refused");
        w.planView()->repaint();
    }
}
BENCHMARK(EditRow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
