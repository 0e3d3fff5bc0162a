// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The plan drawing as a window: the wheel zooms about the cursor, a drag pans, Home or the
// context menu's "全体表示" shows every corner; a click on a corner selects its row, hovering a
// point shows its name and coordinates.

#include "plan/plan.h"

#include <QPoint>
#include <QWidget>
#include <functional>
#include <vector>

namespace tovanel {

class PlanView : public QWidget {
    Q_OBJECT
public:
    explicit PlanView(QWidget* parent = nullptr);

    /// All rows, in table order. Until the user zooms, pans or a selection moves the drawing,
    /// it is shown whole (after every new set and every resize); after that, the viewport stays
    /// until fitAll.
    void setCorners(std::vector<PlanCorner> corners);
    /// One row changed (a row past the end is appended): redrawn at once.
    void setCorner(int row, PlanCorner corner);
    /// Highlights these rows and, when they are not all in view, brings them into view: centred
    /// at the present zoom when they fit, else shown whole.
    void setSelection(const std::vector<int>& rows);
    /// Every corner in view, and kept so through new sets and resizes until the user moves it.
    void fitAll();

    const std::vector<PlanCorner>& corners() const { return m_corners; }
    const std::vector<int>& selection() const { return m_selected; }
    /// What is shown now (its size is the widget's).
    PlanViewport viewport() const;
    void setViewport(const PlanViewport& view);
    /// Zooms by `factor` keeping the plane point under `device` where it is.
    void zoomAt(QPointF device, double factor);

signals:
    /// A click (no drag) on a corner: its row.
    void cornerClicked(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::vector<PlanCorner> m_corners;
    std::vector<int> m_selected;
    QPointF m_centre;  // plane position at the middle (east, north)
    double m_ppm = 1;  // pixels per metre
    bool m_whole = true;    // the drawing is kept whole: nobody has moved it since fitAll
    QPoint m_pressAt;       // where the left button went down
    QPointF m_pressCentre;  // the centre then
    bool m_dragging = false;
    bool m_pressed = false;
};

/// The modal parts of the plan window, replaceable so that a test answers them; empty ones are
/// QFileDialog and QMessageBox.
struct PlanWindowHooks {
    /// Asks where to save; returns the chosen path, empty when the user cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter)>
        saveFileName;
    /// Tells why a file could not be saved.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> warning;
};

/// The single corner of the main window in its own window ("平面図"), deleted on close, with
/// "SVG保存(S)..." and "PDF保存(P)..." in its File menu; `folder` is where the save dialog starts.
/// Returns the window.
QWidget* ShowPlanWindow(QWidget* parent, const PlanCorner& corner, PlanWindowHooks hooks = {},
                        const QString& folder = {});

}  // namespace tovanel
