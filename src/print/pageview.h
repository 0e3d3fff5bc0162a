// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page view of the preview: the page the component shows, at the component's zoom, on a grey
// desk with scroll bars when it does not fit. It reads page, zoom, paper and orientation from the
// component every time it paints; call refresh() after changing any of them.

#include <QScrollArea>

namespace tovanel {

class PageLayout;

class PageView : public QScrollArea {
    Q_OBJECT
public:
    explicit PageView(const PageLayout& pl, QWidget* parent = nullptr);

    /// Takes the component's page, zoom and paper again and repaints.
    void refresh();
    /// Size of the paper on the screen, in device-independent pixels.
    QSize paperPixels() const;

private:
    const PageLayout& m_pl;
    QWidget* m_paper = nullptr;
};

}  // namespace tovanel
