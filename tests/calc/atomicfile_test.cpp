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
    // path: relative to the folder, or absolute; reason: part of it, "" for success
    const struct { const char* name; const char* path; const char* reason; const char* realAfter; } cases[] = {
        {"new file: 0666 less the umask, not mkstemp's 0600", "fresh", "", "old"},
        {"replaces a file, keeping its permissions", "real", "", "new"},
        {"writes through a link to its target", "link", "", "new"},
        {"missing folder", "no/such/out", "フォルダがありません", "old"},
        {"a folder at the path", "folder", "フォルダです", "old"},
        {"/dev/null is written directly", "/dev/null", "", "old"},
        {"/dev/full reports the full disk", "/dev/full", "ディスクの空き容量が足りません", "old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
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
        EXPECT_TRUE(*c.reason ? reason.contains(QString::fromUtf8(c.reason)) : reason.isEmpty()) << reason.toStdString();
        EXPECT_EQ(ReadAll(dir.filePath("real")) + ReadAll(dir.filePath("victim")), c.realAfter + QByteArray("victim"));
        EXPECT_TRUE(QFileInfo(dir.filePath("link")).isSymLink());
        if (!*c.reason && path.startsWith(dir.path())) {
            EXPECT_EQ(ReadAll(path), "new");
            const QFile::Permissions user = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;  // the owner's, again
            EXPECT_EQ(QFileInfo(path).permissions() & ~user, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        }
        const QStringList left = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
        EXPECT_EQ(left.size(), 4 + (QString(c.path) == "fresh")) << left.join(' ').toStdString();
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
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = old;
    tight.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &tight);
    const QString reason = WriteFileAtomically(out, QByteArray(64, 'x'));
    const QString settingsReason = WriteSettings(settings, DefaultSettings());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(reason.contains("ファイルが大きすぎます")) << "not \"Unknown error\": " << reason.toStdString();
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

/// The commit calls through the test seam, recorded by kind; EIO where `fails` says.
struct Calls {
    QStringList made;
    std::function<bool(const QString& call, int nth)> fails;  // nth: 1 for the first call of its kind

    bool record(const QString& call)
    {
        made << call;
        if (!fails || !fails(call, static_cast<int>(made.count(call)))) return false;
        errno = EIO;
        return true;
    }
    CommitCalls hooks()
    {
        const auto sync = [this](int fd) {
            struct stat st {};
            ::fstat(fd, &st);
            const bool fails = record(S_ISDIR(st.st_mode) ? QStringLiteral("sync folder") : QStringLiteral("sync file"));
            return fails ? -1 : ::fsync(fd);
        };
        const auto rename = [this](const char* from, const char* to) { return record("rename") ? -1 : std::rename(from, to); };
        return {sync, rename};
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
        SCOPED_TRACE(c.name);
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
        const QStringList order = {"sync file", "rename", "sync folder"};
        EXPECT_EQ(calls.made, order.mid(0, calls.made.size())) << "in this order";
        EXPECT_EQ(ReadAll(path), c.after);
        EXPECT_EQ(f.replaced(), c.replaced);
        EXPECT_TRUE(*c.reason ? reason.startsWith(QString::fromUtf8(c.reason)) : reason.isEmpty()) << reason.toStdString();
        EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out"}) << "no temporary file left";
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
        SCOPED_TRACE(c.name);
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        std::vector<std::unique_ptr<AtomicFile>> files;
        std::vector<AtomicFile*> all;
        for (const char* name : {"a", "b", "c"}) {
            WriteAll(dir.filePath(name), "old");
            all.push_back(files.emplace_back(std::make_unique<AtomicFile>(dir.filePath(name))).get());
            ASSERT_TRUE(all.back()->open());
            all.back()->write("new");
        }
        Calls calls;
        calls.fails = [&](const QString& call, int nth) { return call == QLatin1String(c.failing) && nth == c.nth; };
        SetCommitCallsForTest(calls.hooks());
        const CommitReport report = CommitAll(all);
        SetCommitCallsForTest({});
        QStringList after;
        for (const char* name : {"a", "b", "c"}) after << QString::fromLatin1(ReadAll(dir.filePath(name)));
        EXPECT_EQ(after.join(' ').toStdString(), c.after);
        EXPECT_EQ(report.message().replace(dir.path() + '/', QString()).toStdString(), c.says);
        EXPECT_EQ(report.replaced.size() + report.kept.size(), 3);
        EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 3) << "no temporary file left";
    }
}

// The key of a path is the file it reaches, so an output under another name is caught.
TEST(AtomicFile, FileIdentityFollowsLinksAndHardLinks)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    WriteAll(dir.filePath("table.csv"), "t");
    QFile::link(dir.filePath("table.csv"), dir.filePath("soft.csv"));
    const auto native = [&](const char* name) { return QFile::encodeName(dir.filePath(name)); };
    ASSERT_EQ(::link(native("table.csv").constData(), native("hard.csv").constData()), 0);
    dir.mkdir("sub");
    QFile::link(dir.filePath("sub"), dir.filePath("subLink"));
    QFile::link(dir.filePath("new.sim"), dir.filePath("dangling"));
    const struct { const char* a; const char* b; bool same; } cases[] = {
        {"table.csv", "soft.csv", true},          {"table.csv", "hard.csv", true},
        {"table.csv", "sub/../table.csv", true},  {"sub/x.sim", "subLink/x.sim", true},
        {"new.sim", "dangling", true},            {"new.sim", "new.csv", false},
        {"table.csv", "sub/table.csv", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileIdentity(dir.filePath(c.a)) == FileIdentity(dir.filePath(c.b)), c.same) << c.a << " " << c.b;
}

}  // namespace
}  // namespace tovanel
