// SPDX-License-Identifier: GPL-3.0-or-later
// Writing files: the previous file survives every failure, links and permissions are respected,
// and the reason named is the real one.

#include "calc/atomicfile.h"
#include "calc/settings.h"
#include "calc/settingsfile.h"
#include "support/files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace tovanel {
namespace {

using test::ReadAll;
using test::WriteAll;

// Every write finds the same folder: "real" (old, mode 0640), a link to it, and a planted link
// from the temporary name a naive writer would use to a victim file; the umask is 027.
TEST(AtomicFile, OutcomesLinksAndPermissions)
{
    const struct { const char* name; const char* path; const char* reason; const char* realAfter; } cases[] = {
        // path: relative to the folder, or absolute; reason: part of it, "" for success
        {"new file: 0666 less the umask, not mkstemp's 0600", "fresh", "", "old"},
        {"replaces a file, keeping its permissions", "real", "", "new"},
        {"writes through a link to its target", "link", "", "new"},
        {"missing folder", "no/such/out", "フォルダがありません", "old"},
        {"a folder at the path", "folder", "フォルダです", "old"},
        {"/dev/null is written directly", "/dev/null", "", "old"},
        {"/dev/full reports the full disk", "/dev/full", "ディスクの空き容量が足りません", "old"},
    };
    for (const auto& c : cases) {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        WriteAll(dir.filePath("real"), "old");
        QFile::setPermissions(dir.filePath("real"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QFile::link(dir.filePath("real"), dir.filePath("link"));
        WriteAll(dir.filePath("victim"), "victim");
        QFile::link(dir.filePath("victim"), dir.filePath("real.new"));
        dir.mkdir("folder");
        const QString path = QFileInfo(c.path).isAbsolute() ? QString(c.path) : dir.filePath(c.path);
        const mode_t umask = ::umask(027);
        const QString reason = WriteFileAtomically(path, "new");
        ::umask(umask);
        EXPECT_TRUE(*c.reason ? reason.contains(QString::fromUtf8(c.reason)) : reason.isEmpty())
            << c.name << ": " << reason.toStdString();
        EXPECT_EQ(ReadAll(dir.filePath("real")) + ReadAll(dir.filePath("victim")), c.realAfter + QByteArray("victim"))
            << c.name;
        EXPECT_TRUE(QFileInfo(dir.filePath("link")).isSymLink()) << c.name;
        if (!*c.reason && path.startsWith(dir.path())) {
            EXPECT_EQ(ReadAll(path), "new") << c.name;
            const QFile::Permissions user = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;  // the owner's, again
            EXPECT_EQ(QFileInfo(path).permissions() & ~user, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup) << c.name;
        }
        const QStringList left = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
        EXPECT_EQ(left.size(), 4 + (QString(c.path) == "fresh")) << c.name << ": " << left.join(' ').toStdString();
    }
}

// A full disk (files may not grow beyond 16 bytes; works for root too) and a cancelled run: the
// previous file stays, the settings file included, and the real reason is named.
TEST(AtomicFile, FullDiskAndCancelKeepThePreviousFile)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString out = dir.filePath("out"), settings = dir.filePath("Tovanel.INI");
    WriteAll(out, "previous");
    WriteAll(settings, "previous");
    const Settings s = DefaultSettings();

    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = old;
    tight.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &tight);
    const QString reason = WriteFileAtomically(out, QByteArray(64, 'x')), settingsReason = WriteSettings(settings, s);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(reason.contains("ファイルが大きすぎます")) << "the real reason, not \"Unknown error\": "
                                                         << reason.toStdString();
    EXPECT_TRUE(settingsReason.contains(QDir::toNativeSeparators(settings)) && settingsReason.endsWith(reason))
        << settingsReason.toStdString();
    EXPECT_EQ(ReadAll(out) + ReadAll(settings), "previousprevious");

    {
        AtomicFile f(out);
        ASSERT_TRUE(f.open());
        f.write("half of a document");
    }  // destroyed without commit: a cancelled run
    EXPECT_EQ(ReadAll(out), "previous");
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 2);
}

}  // namespace
}  // namespace tovanel
