// SPDX-License-Identifier: GPL-3.0-or-later
// Writing files: the previous file survives every failure; links, permissions and real reasons.

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
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tovanel {
namespace {

using test::ReadAll;
using test::WriteAll;

// Each write meets "real" (0640), a link to it, and a planted link from "real.new" to a victim; umask 027.
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

// A full disk (RLIMIT_FSIZE 16 bytes) and a cancelled run keep the previous file, settings included.
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
    EXPECT_TRUE(settingsReason.contains(QDir::toNativeSeparators(settings))) << settingsReason.toStdString();
    EXPECT_TRUE(settingsReason.endsWith(reason)) << settingsReason.toStdString();
    EXPECT_EQ(ReadAll(out) + ReadAll(settings), "previousprevious");

    {
        AtomicFile f(out);
        ASSERT_TRUE(f.open());
        f.write("half of a document");
    }  // destroyed without commit: a cancelled run
    EXPECT_EQ(ReadAll(out), "previous");
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 2);
}

/// The commit calls through the test seam, recorded by kind and failing with `err` when `fails` says.
struct Calls {
    QStringList made;
    std::function<bool(const QString& call, int nth)> fails;  // nth: 1 for the first call of its kind
    int err = EIO;

    CommitCalls hooks()
    {
        return {[this](int fd) {
                    struct stat st {};
                    ::fstat(fd, &st);
                    return record(S_ISDIR(st.st_mode) ? QStringLiteral("sync folder") : QStringLiteral("sync file"))
                               ? -1
                               : ::fsync(fd);
                },
                [this](const char* from, const char* to) { return record(QStringLiteral("rename")) ? -1 : std::rename(from, to); }};
    }
    bool record(const QString& call)
    {
        made << call;
        if (!fails || !fails(call, static_cast<int>(made.count(call)))) return false;
        errno = err;
        return true;
    }
};

// The file is synced before the rename and the folder after it; a failure before the rename keeps
// the previous file, a failing folder sync says the file was replaced.
TEST(AtomicFile, SyncsBeforeItRenamesAndTellsWhatAFailureLeft)
{
    const struct { const char* name; const char* failing; const char* reason; const char* after; bool replaced; } cases[] = {
        {"every call succeeds", "", "", "new", true},
        {"the file's sync fails", "sync file", "入出力エラー", "old", false},
        {"the rename fails", "rename", "入出力エラー", "old", false},
        {"the folder's sync fails", "sync folder", "新しいファイルに置き換えましたが、フォルダの同期に失敗しました（入出力エラー", "new", true},
    };
    for (const auto& c : cases) {
        QTemporaryDir tmp;
        const QString path = QDir(tmp.path()).filePath("out");
        WriteAll(path, "old");
        Calls calls;
        calls.fails = [&](const QString& call, int) { return call == QLatin1String(c.failing); };
        SetCommitCallsForTest(calls.hooks());
        AtomicFile f(path);
        ASSERT_TRUE(f.open());
        f.write("new");
        const QString reason = f.commit();
        SetCommitCallsForTest({});
        EXPECT_EQ(calls.made.join(", ").toStdString(),
                  QStringList({"sync file", "rename", "sync folder"}).mid(0, calls.made.size()).join(", ").toStdString())
            << c.name << ": in this order";
        EXPECT_EQ(ReadAll(path), c.after) << c.name;
        EXPECT_EQ(f.replaced(), c.replaced) << c.name;
        EXPECT_TRUE(*c.reason ? reason.startsWith(QString::fromUtf8(c.reason)) : reason.isEmpty()) << c.name << ": " << reason.toStdString();
        EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out"}) << c.name << ": no temporary file left";
    }
}

// Files committed together are all synced before any rename; a later failure names replaced and kept.
TEST(AtomicFile, CommitAllNamesTheFilesReplacedAndThoseKept)
{
    const struct { const char* name; const char* failing; int nth; const char* after; const char* says; } cases[] = {
        {"all committed", "", 0, "new new new", ""},
        {"the third file's sync fails", "sync file", 3, "old old old", "c に書けません: 入出力エラーが起きました。ファイルは書いていません（前のファイルはそのままです）。"},
        {"the second rename fails", "rename", 2, "new old old", "b に書けません: 入出力エラーが起きました。新しくなったファイル: a。前のままのファイル: b、c。"},
        {"the first folder sync fails", "sync folder", 1, "new old old",
         "a に書けません: 新しいファイルに置き換えましたが、フォルダの同期に失敗しました（入出力エラーが起きました）。新しくなったファイル: a。前のままのファイル: b、c。"},
    };
    for (const auto& c : cases) {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        std::vector<std::unique_ptr<AtomicFile>> files;
        std::vector<AtomicFile*> all;
        for (const char* name : {"a", "b", "c"}) {
            WriteAll(dir.filePath(name), "old");
            files.push_back(std::make_unique<AtomicFile>(dir.filePath(name)));
            ASSERT_TRUE(files.back()->open());
            files.back()->write("new");
            all.push_back(files.back().get());
        }
        Calls calls;
        calls.fails = [&](const QString& call, int nth) { return call == QLatin1String(c.failing) && nth == c.nth; };
        SetCommitCallsForTest(calls.hooks());
        const CommitReport report = CommitAll(all);
        SetCommitCallsForTest({});
        QStringList after;
        for (const char* name : {"a", "b", "c"}) after << QString::fromLatin1(ReadAll(dir.filePath(name)));
        EXPECT_EQ(after.join(' ').toStdString(), c.after) << c.name;
        EXPECT_EQ(report.message().replace(dir.path() + '/', QString()).toStdString(), c.says) << c.name;
        EXPECT_EQ(report.replaced.size() + report.kept.size(), 3) << c.name;
        EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 3) << c.name << ": no temporary file left";
    }
}

// The key of a path is the file it reaches, so an output under another name is caught.
TEST(AtomicFile, FileIdentityFollowsLinksAndHardLinks)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    WriteAll(dir.filePath("table.csv"), "t");
    QFile::link(dir.filePath("table.csv"), dir.filePath("soft.csv"));
    ASSERT_EQ(::link(QFile::encodeName(dir.filePath("table.csv")).constData(), QFile::encodeName(dir.filePath("hard.csv")).constData()), 0);
    dir.mkdir("sub");
    QFile::link(dir.filePath("sub"), dir.filePath("subLink"));
    QFile::link(dir.filePath("new.sim"), dir.filePath("dangling"));
    const struct { const char* name; const char* a; const char* b; bool same; } cases[] = {
        {"a link to the file", "table.csv", "soft.csv", true},
        {"a hard link", "table.csv", "hard.csv", true},
        {"through ..", "table.csv", "sub/../table.csv", true},
        {"a new file through a linked folder", "sub/x.sim", "subLink/x.sim", true},
        {"a link to a file not there yet", "new.sim", "dangling", true},
        {"two new files", "new.sim", "new.csv", false},
        {"an existing and a new file", "table.csv", "sub/table.csv", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileIdentity(dir.filePath(c.a)) == FileIdentity(dir.filePath(c.b)), c.same) << c.name;
}

}  // namespace
}  // namespace tovanel
