// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lets GoogleTest show QString values as text in failure messages.

#include <QString>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE
