// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file from any bytes: one-line notices, usable entries, saved as twenty CR LF lines
// that read back the same without a notice.

#include "fuzzcheck.h"

#include "calc/settings.h"
#include "calc/settingsfile.h"

#include <QFile>
#include <cmath>
#include <cstring>

namespace {

using namespace tovanel;

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString in = fuzz::ScratchFolder() + QStringLiteral("/in.INI"), out = fuzz::ScratchFolder() + QStringLiteral("/out.INI");
    if (QFile f(in); !f.open(QIODevice::WriteOnly) || f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        return 0;
    Settings s;
    for (const QString& n : ReadSettings(in, s))
        FUZZ_CHECK(n.contains(in) && !n.contains(QLatin1Char('\n'))) << n;
    for (int i = 1; i <= kIniCount; ++i) {
        FUZZ_CHECK(std::isfinite(s.numberLine(i))) << "entry " << i << ": " << s.numberLine(i);
        FUZZ_CHECK(!s.textLine(i).contains(QLatin1Char('\t')) && !s.textLine(i).contains(QLatin1Char('\r')) &&
                   !s.textLine(i).contains(QLatin1Char('\n')))
            << "text entry " << i;
    }
    bool ok = false;
    const double type = s.textLine(4).trimmed().toDouble(&ok);
    FUZZ_CHECK(ok && std::nearbyint(type) >= -1 && std::nearbyint(type) <= 3) << s.textLine(4);

    const QString why = WriteSettings(out, s);
    FUZZ_CHECK(why.isEmpty()) << "what was read can be saved: " << why;
    const QByteArray saved = ReadAll(out);
    FUZZ_CHECK(saved.count("\r\n") == 2 * kIniCount && saved.count('\n') == 2 * kIniCount &&
               saved.count('\r') == 2 * kIniCount && saved.endsWith("\r\n"))
        << "twenty CR LF lines";
    Settings back;
    const QStringList notices = ReadSettings(out, back);
    FUZZ_CHECK(notices.isEmpty()) << notices.join(QLatin1Char('|'));
    for (int i = 1; i <= kIniCount; ++i) {
        FUZZ_CHECK(fuzz::SameBits(back.numberLine(i), s.numberLine(i))) << "entry " << i << ": " << s.numberLine(i) << " became " << back.numberLine(i);
        FUZZ_CHECK(back.textLine(i) == s.textLine(i)) << "text entry " << i << ": " << s.textLine(i) << " became " << back.textLine(i);
    }
    FUZZ_CHECK(WriteSettings(out, back).isEmpty() && ReadAll(out) == saved) << "a second save writes the same bytes";
    return 0;
}
