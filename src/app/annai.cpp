// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/annai.h"

#include "calc/corner.h"
#include "calc/curve.h"
#include "calc/settings.h"
#include "calc/listing.h"
#include "help/guide.h"
#include "calc/twips.h"
#include "surface/drawsurface.h"

#include <QVBoxLayout>
#include <cmath>

namespace tovanel {

void DrawListing(const Listing& listing, DrawSurface& surface)
{
    surface.clear();
    surface.setTextSize(listing.textSize);
    surface.setFontName(listing.font);
    surface.setTextAttribute(0);
    surface.setTextColour(kBlack);
    for (const auto& t : listing.texts) {
        surface.setTextColour(t.colour);
        surface.setCurrentX(t.x);
        surface.setCurrentY(t.y);
        surface.drawText(t.text);
    }
    surface.finish();
}

ANNAI::ANNAI(ShowMode mode, Corner& corner, const Settings& settings, MessageFn message, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_mode(mode),
      m_corner(corner),
      m_settings(settings),
      m_message(message ? std::move(message) : MessageFn(ShowMessageBox))
{
    setObjectName(QStringLiteral("ANNAI"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(TwipsSize(9630, 8295));
    m_surface = new DrawSurface(this);
    m_surface->setObjectName(QStringLiteral("Surface1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_surface);
}

QString ANNAI::Form_Load()
{
    if (m_mode == ShowMode::Guide) {
        setWindowTitle(kGuideCaption);
        GuideDraw(*m_surface);
        return {};
    }
    Listing listing;
    if (QString why = S_CRT(m_corner.in, m_settings, m_corner.el, listing); !why.isEmpty())
        return why;
    setWindowTitle(listing.caption);
    DrawListing(listing, *m_surface);
    // Coincident points, no turn or a reversal never reach here: the calculation refuses them.
    // A curve that runs past BP or EP is computed, and said once.
    if (const QStringList why = CornerWarnings(m_corner.in, m_corner.el); !why.isEmpty())
        m_message(parentWidget() ? parentWidget() : this, QMessageBox::Warning, QStringLiteral("確認"),
                  kOverrunMessage + QStringLiteral("\n\n") + why.join(QLatin1Char('\n')));
    return {};
}

}  // namespace tovanel
