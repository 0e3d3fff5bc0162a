// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/corner.h"

#include <QRegularExpression>

namespace tovanel {

QString CornerFileName(const QString& stem, const QString& ipNo, const QString& suffix)
{
    QString ip = ipNo.trimmed();
    ip.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
    return stem + (ip.isEmpty() ? QString() : QStringLiteral("_") + ip) + QLatin1Char('.') + suffix;
}

QString CalcTypeNameOf(int type)
{
    static const char16_t* const names[] = {u"平行", u"千鳥", u"外接", u"等曲率半径"};
    return type >= 0 && type < 4 ? QString::fromUtf16(names[type]) : QString();
}

}  // namespace tovanel
