// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/message.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

namespace tovanel {

namespace {

/// Room a window manager's title bar takes beside the title: the window's icon and three buttons.
constexpr int kTitleBarButtons = 160;

}  // namespace

int TitleWidth(const QString& title)
{
    // Title bars draw in a bold font, often larger than the windows' 9 points.
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(std::max(font.pointSizeF(), 11.0));
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarButtons;
}

void FitTitle(QMessageBox& box)
{
    // A message box is as wide as its text: a short text left a title such as バージョン情報
    // cut to "バー… 情報". A spacer as wide as the title keeps the box at least that wide.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(TitleWidth(box.windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    FitTitle(box);
    box.exec();
}

}  // namespace tovanel
