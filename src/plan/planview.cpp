// SPDX-License-Identifier: GPL-3.0-or-later
#include "plan/planview.h"

#include "calc/corner.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace tovanel {

namespace {

constexpr double kPickPixels = 6;   // how near a point the cursor must be to name it
constexpr double kWheelStep = 1.25;  // zoom factor of one wheel notch (120 eighths of a degree)

QString CoordText(double v) { return QString::number(v, 'f', 3); }

}  // namespace

PlanView::PlanView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PlanView"));
    setMouseTracking(true);
    // The drawing stands beside the table: its points are named while the table has the focus.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
}

PlanViewport PlanView::viewport() const
{
    PlanViewport v;
    v.centre = m_centre;
    v.pixelsPerMetre = m_ppm;
    v.size = QSizeF(size());
    return v;
}

void PlanView::setViewport(const PlanViewport& view)
{
    if (std::isfinite(view.centre.x()) && std::isfinite(view.centre.y())) m_centre = view.centre;
    if (std::isfinite(view.pixelsPerMetre))
        m_ppm = std::clamp(view.pixelsPerMetre, kMinPixelsPerMetre, kMaxPixelsPerMetre);
    m_whole = false;
    update();
}

void PlanView::setCorners(std::vector<PlanCorner> corners)
{
    m_corners = std::move(corners);
    std::erase_if(m_selected, [&](int r) { return r < 0 || static_cast<size_t>(r) >= m_corners.size(); });
    if (m_whole) fitAll();
    update();
}

void PlanView::setCorner(int row, PlanCorner corner)
{
    if (row < 0) return;
    if (static_cast<size_t>(row) >= m_corners.size()) m_corners.resize(static_cast<size_t>(row) + 1);
    m_corners[static_cast<size_t>(row)] = std::move(corner);
    // An edit does not move the drawing, even one kept whole: the corner edited stays in place.
    update();
}

void PlanView::setSelection(const std::vector<int>& rows)
{
    m_selected.clear();
    for (int r : rows)
        if (r >= 0 && static_cast<size_t>(r) < m_corners.size()) m_selected.push_back(r);
    const PlanViewport now = viewport();
    const PlanViewport whole = FitRows(m_corners, m_selected, now.size);
    // What the selection covers, from its fitted view: the middle 80 per cent of it.
    const QRectF need = whole.visiblePlane().adjusted(
        0.1 * now.size.width() / whole.pixelsPerMetre, 0.1 * now.size.height() / whole.pixelsPerMetre,
        -0.1 * now.size.width() / whole.pixelsPerMetre, -0.1 * now.size.height() / whole.pixelsPerMetre);
    bool any = false;
    for (int r : m_selected) any = any || m_corners[static_cast<size_t>(r)].drawable;
    if (any && !now.visiblePlane().contains(need)) {
        if (whole.pixelsPerMetre >= m_ppm) {
            m_centre = whole.centre;  // fits at the present zoom: moved, not zoomed
            m_whole = false;
        } else {
            setViewport(whole);
        }
    }
    update();
}

void PlanView::fitAll()
{
    const PlanViewport v = FitAll(m_corners, QSizeF(size()));
    m_centre = v.centre;
    m_ppm = v.pixelsPerMetre;
    m_whole = true;
    update();
}

void PlanView::zoomAt(QPointF device, double factor)
{
    const PlanViewport before = viewport();
    const QPointF fixed = before.toPlane(device);
    const double ppm = std::clamp(m_ppm * factor, kMinPixelsPerMetre, kMaxPixelsPerMetre);
    if (!std::isfinite(ppm) || ppm == m_ppm) return;
    m_ppm = ppm;
    m_whole = false;
    // The plane point under the cursor stays there.
    m_centre = QPointF(fixed.x() - (device.x() - width() / 2.0) / m_ppm, fixed.y() + (device.y() - height() / 2.0) / m_ppm);
    update();
}

void PlanView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    PaintPlan(p, m_corners, viewport(), m_selected);
}

void PlanView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_whole) fitAll();
}

void PlanView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0) zoomAt(event->position(), std::pow(kWheelStep, notches));
    event->accept();
}

void PlanView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    m_pressed = true;
    m_dragging = false;
    m_pressAt = event->position().toPoint();
    m_pressCentre = m_centre;
}

void PlanView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed) return;
    const QPointF d = event->position() - QPointF(m_pressAt);
    if (!m_dragging && d.manhattanLength() < QApplication::startDragDistance()) return;
    m_dragging = true;
    m_whole = false;
    setCursor(Qt::ClosedHandCursor);
    m_centre = QPointF(m_pressCentre.x() - d.x() / m_ppm, m_pressCentre.y() + d.y() / m_ppm);
    update();
}

void PlanView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) return QWidget::mouseReleaseEvent(event);
    m_pressed = false;
    if (m_dragging) {
        m_dragging = false;
        unsetCursor();
        return;
    }
    const int row = CornerAt(m_corners, viewport(), event->position(), kPickPixels);
    if (row >= 0) emit cornerClicked(row);
}

void PlanView::keyPressEvent(QKeyEvent* event)
{
    const QPointF middle(width() / 2.0, height() / 2.0);
    switch (event->key()) {
    case Qt::Key_Home: fitAll(); break;
    case Qt::Key_Plus: zoomAt(middle, kWheelStep); break;
    case Qt::Key_Minus: zoomAt(middle, 1 / kWheelStep); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void PlanView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("全体表示"), QKeySequence(Qt::Key_Home), this, &PlanView::fitAll);
    menu.exec(event->globalPos());
}

bool PlanView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const PlanHit hit = PointAt(m_corners, viewport(), help->pos(), kPickPixels);
        if (hit.row < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        QString text = QStringLiteral("%1\nX %2\nY %3").arg(hit.point.name, CoordText(hit.point.x), CoordText(hit.point.y));
        const QString& why = m_corners[static_cast<size_t>(hit.row)].refusal;
        if (!why.isEmpty()) text += QLatin1Char('\n') + why;
        QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

QWidget* ShowPlanWindow(QWidget* parent, const PlanCorner& corner, PlanWindowHooks hooks, const QString& folder)
{
    if (!hooks.saveFileName) hooks.saveFileName = [](QWidget* w, const QString& caption, const QString& suggested, const QString& filter) {
        return QFileDialog::getSaveFileName(w, caption, suggested, filter);
    };
    if (!hooks.warning) hooks.warning = [](QWidget* w, const QString& title, const QString& text) {
        QMessageBox::warning(w, title, text);
    };
    auto* window = new QMainWindow(parent, Qt::Window);
    window->setObjectName(QStringLiteral("PlanWindow"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("平面図"));
    auto* view = new PlanView(window);
    window->setCentralWidget(view);
    window->resize(900, 700);
    view->setCorners({corner});

    QMenu* file = window->menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    const auto save = [window, view, hooks, folder](const QString& filter, const QString& suffix, auto write) {
        const QString ip = view->corners().empty() ? QString() : view->corners().front().in.IPNo;
        const QString suggested = QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(CornerFileName(QStringLiteral("平面図"), ip, suffix));
        const QString path = hooks.saveFileName(window, QStringLiteral("平面図の保存"), suggested, filter);
        if (path.isEmpty()) return;
        if (const QString why = write(path, view->corners()); !why.isEmpty()) hooks.warning(window, QStringLiteral("平面図"), why);
    };
    QAction* svg = file->addAction(QStringLiteral("SVG保存(&S)..."), window, [save] {
        save(QStringLiteral("SVG (*.svg)"), QStringLiteral("svg"), WritePlanSvg);
    });
    svg->setObjectName(QStringLiteral("PlanSaveSvg"));
    QAction* pdf = file->addAction(QStringLiteral("PDF保存(&P)..."), window, [save] {
        save(QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"), WritePlanPdf);
    });
    pdf->setObjectName(QStringLiteral("PlanSavePdf"));
    file->addSeparator();
    file->addAction(QStringLiteral("閉じる(&C)"), window, &QWidget::close);
    QMenu* show = window->menuBar()->addMenu(QStringLiteral("表示(&V)"));
    show->addAction(QStringLiteral("全体表示"), QKeySequence(Qt::Key_Home), view, &PlanView::fitAll);
    window->show();
    view->setFocus();
    return window;
}

}  // namespace tovanel
