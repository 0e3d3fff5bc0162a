// SPDX-License-Identifier: GPL-3.0-or-later
// Writing files: the previous file survives every failure, links and permissions are respected,
// and the reason named is the real one.

#include "calc/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace tovanel {
namespace {

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

mode_t Mode(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// Runs `f` while files may not grow beyond `bytes` (a full disk, for root too).
template <class F>
auto WithFileSizeLimit(rlim_t bytes, F f)
{
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = old;
    tight.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &tight);
    auto r = f();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return r;
}

struct Case {
    const char* name;
    std::function<void(const QDir&)> setUp;  // before the write of "new" to dir/out
    const char* path;                         // relative to dir, or absolute
    const char* reason;                       // part of the reason, "" for success
    const char* outAfter;                     // what dir/out holds afterwards
};

TEST(AtomicFile, OutcomesAndWhatIsLeft)
{
    const Case cases[] = {
        {"new file", [](const QDir&) {}, "out", "", "new"},
        {"replaces a file", [](const QDir& d) { Write(d.filePath("out"), "old"); }, "out", "", "new"},
        {"missing folder", [](const QDir&) {}, "no/such/out", "フォルダがありません", "<missing>"},
        {"a folder at the path", [](const QDir& d) { d.mkdir("out"); }, "out", "フォルダです", "<missing>"},
        {"writes through a link to its target",
         [](const QDir& d) {
             Write(d.filePath("real"), "old");
             QFile::link(d.filePath("real"), d.filePath("link"));
         },
         "link", "", "<missing>"},
        {"a planted temporary name is not followed",
         [](const QDir& d) {
             Write(d.filePath("out"), "old");
             Write(d.filePath("victim"), "victim");
             QFile::link(d.filePath("victim"), d.filePath("out.new"));
         },
         "out", "", "new"},
        {"/dev/null is written directly", [](const QDir&) {}, "/dev/null", "", "<missing>"},
        {"/dev/full reports the full disk", [](const QDir&) {}, "/dev/full", "ディスクの空き容量が足りません",
         "<missing>"},
    };
    for (const Case& c : cases) {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        c.setUp(dir);
        const QString path = QFileInfo(c.path).isAbsolute() ? QString(c.path) : dir.filePath(c.path);
        const QString reason = WriteFileAtomically(path, "new");
        EXPECT_TRUE(reason.contains(QString::fromUtf8(c.reason))) << c.name << ": " << reason.toStdString();
        if (!*c.reason) {
            EXPECT_EQ(reason, "") << c.name;
        }
        EXPECT_EQ(Read(dir.filePath("out")), c.outAfter) << c.name;
        if (QFileInfo(dir.filePath("victim")).exists()) {
            EXPECT_EQ(Read(dir.filePath("victim")), "victim") << c.name;
        }
        if (QFileInfo(dir.filePath("link")).exists()) {
            EXPECT_TRUE(QFileInfo(dir.filePath("link")).isSymLink()) << c.name;
            EXPECT_EQ(Read(dir.filePath("real")), "new") << c.name;
        }
        const QStringList left = dir.entryList(QStringList{".out.*", ".real.*"}, QDir::Files | QDir::Hidden | QDir::System);
        EXPECT_TRUE(left.isEmpty()) << c.name << ": temporary files left: " << left.join(' ').toStdString();
    }
}

TEST(AtomicFile, KeepsPermissionsAndGivesNewFilesTheUmask)
{
    QTemporaryDir tmp;
    const QString out = QDir(tmp.path()).filePath("out");
    Write(out, "old");
    QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ASSERT_EQ(WriteFileAtomically(out, "new"), "");
    EXPECT_EQ(Mode(out), 0640u);

    const mode_t old = ::umask(027);
    const QString fresh = QDir(tmp.path()).filePath("fresh");
    const QString reason = WriteFileAtomically(fresh, "new");
    ::umask(old);
    ASSERT_EQ(reason, "");
    EXPECT_EQ(Mode(fresh), 0640u) << "0666 less the umask, not mkstemp's 0600";
}

TEST(AtomicFile, FullDiskAndCancelKeepThePreviousFile)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString out = dir.filePath("out");
    Write(out, "previous");

    const QString reason = WithFileSizeLimit(16, [&] { return WriteFileAtomically(out, QByteArray(64, 'x')); });
    EXPECT_TRUE(reason.contains("ファイルが大きすぎます")) << "the real reason, not \"Unknown error\": "
                                                         << reason.toStdString();
    EXPECT_EQ(Read(out), "previous");

    {
        AtomicFile f(out);
        ASSERT_TRUE(f.open());
        f.write("half of a document");
    }  // destroyed without commit: a cancelled run
    EXPECT_EQ(Read(out), "previous");
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 1);
}

}  // namespace
}  // namespace tovanel
