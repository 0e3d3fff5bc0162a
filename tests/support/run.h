// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Another program run to its end (a minute at most), for tests that look at what it said.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

namespace tovanel::test {

struct Ran {
    int status = -1;  ///< exit code; -1 when it did not start, crashed or had to be stopped
    QByteArray bytes;  ///< standard output as it came
    QString out, err;  ///< standard output and error as UTF-8 text
};

inline Ran Launch(const QString& program, const QStringList& args, const std::function<void(QProcess&)>& setUp = {})
{
    QProcess p;
    if (setUp) setUp(p);
    p.start(program, args);
    const bool ended = p.waitForFinished(60000);
    if (!ended) p.kill();
    Ran r{ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(), {},
          QString::fromUtf8(p.readAllStandardError())};
    r.out = QString::fromUtf8(r.bytes);
    return r;
}

}  // namespace tovanel::test
