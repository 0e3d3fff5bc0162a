// SPDX-License-Identifier: GPL-3.0-or-later
// Writing files: the previous file survives every failure, links and permissions are respected,
// and the reason named is the real one.

#include "calc/atomicfile.h"
#include "calc/calcstate.h"
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

mode_t Mode(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

TEST(AtomicFile, OutcomesAndWhatIsLeft)
{
    const struct {
        const char* name;
        std::function<void(const QDir&)> setUp;  // before the write of "new" to dir/out
        const char* path;                         // relative to dir, or absolute
        const char* reason;                       // part of the reason, "" for success
        const char* outAfter;                     // what dir/out holds afterwards
    } cases[] = {
        {"new file", [](const QDir&) {}, "out", "", "new"},
        {"replaces a file", [](const QDir& d) { WriteAll(d.filePath("out"), "old"); }, "out", "", "new"},
        {"missing folder", [](const QDir&) {}, "no/such/out", "フォルダがありません", "(missing)"},
        {"a folder at the path", [](const QDir& d) { d.mkdir("out"); }, "out", "フォルダです", "(missing)"},
        {"writes through a link to its target",
         [](const QDir& d) {
             WriteAll(d.filePath("real"), "old");
             QFile::link(d.filePath("real"), d.filePath("link"));
         },
         "link", "", "(missing)"},
        {"a planted temporary name is not followed",
         [](const QDir& d) {
             WriteAll(d.filePath("out"), "old");
             WriteAll(d.filePath("victim"), "victim");
             QFile::link(d.filePath("victim"), d.filePath("out.new"));
         },
         "out", "", "new"},
        {"/dev/null is written directly", [](const QDir&) {}, "/dev/null", "", "(missing)"},
        {"/dev/full reports the full disk", [](const QDir&) {}, "/dev/full", "ディスクの空き容量が足りません",
         "(missing)"},
    };
    for (const auto& c : cases) {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        c.setUp(dir);
        const QString path = QFileInfo(c.path).isAbsolute() ? QString(c.path) : dir.filePath(c.path);
        const QString reason = WriteFileAtomically(path, "new");
        EXPECT_TRUE(*c.reason ? reason.contains(QString::fromUtf8(c.reason)) : reason.isEmpty())
            << c.name << ": " << reason.toStdString();
        EXPECT_EQ(ReadAll(dir.filePath("out")), c.outAfter) << c.name;
        if (QFileInfo::exists(dir.filePath("victim"))) {
            EXPECT_EQ(ReadAll(dir.filePath("victim")), "victim") << c.name;
        }
        if (QFileInfo::exists(dir.filePath("link"))) {
            EXPECT_TRUE(QFileInfo(dir.filePath("link")).isSymLink()) << c.name;
            EXPECT_EQ(ReadAll(dir.filePath("real")), "new") << c.name;
        }
        const QStringList left = dir.entryList(QStringList{".out.*", ".real.*"}, QDir::Files | QDir::Hidden | QDir::System);
        EXPECT_TRUE(left.isEmpty()) << c.name << ": temporary files left: " << left.join(' ').toStdString();
    }
}

TEST(AtomicFile, KeepsPermissionsAndGivesNewFilesTheUmask)
{
    QTemporaryDir tmp;
    const QString out = QDir(tmp.path()).filePath("out"), fresh = QDir(tmp.path()).filePath("fresh");
    WriteAll(out, "old");
    QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ASSERT_EQ(WriteFileAtomically(out, "new"), "");
    EXPECT_EQ(Mode(out), 0640u);

    const mode_t old = ::umask(027);
    const QString reason = WriteFileAtomically(fresh, "new");
    ::umask(old);
    ASSERT_EQ(reason, "");
    EXPECT_EQ(Mode(fresh), 0640u) << "0666 less the umask, not mkstemp's 0600";
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
    CalcState s;
    DefaultSettings(s);

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
