// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tovanel {

namespace {

constexpr int kMaxLinkDepth = 40;  // as the kernel's own limit on nested links

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

// The file a path finally names: links followed one by one, so that a link to a file that does not
// exist yet still gives the name the new file should take. Empty (errno set) for a loop.
QString ResolveLinks(const QString& path)
{
    QString p = QFileInfo(path).absoluteFilePath();
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat st {};
        if (::lstat(Native(p).constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        char buf[4096];
        const ssize_t n = ::readlink(Native(p).constData(), buf, sizeof buf);
        if (n < 0) return p;
        const QString link = QFile::decodeName(QByteArray(buf, static_cast<qsizetype>(n)));
        p = QDir::cleanPath(QFileInfo(link).isAbsolute() ? link
                                                         : QFileInfo(p).absolutePath() + '/' + link);
    }
    errno = ELOOP;
    return {};
}

// The permission bits a new file gets: 0666 less the process's umask, read without changing it.
mode_t NewFileMode()
{
    mode_t mask = 022;
    if (FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, "Umask:", 6) == 0) mask = static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8));
        std::fclose(f);
    }
    return 0666 & ~mask;
}

volatile std::sig_atomic_t g_interrupt = 0;  // the first signal caught, 0 for none

CommitCalls g_calls;  // empty members: the system's own

int Fsync(int fd) { return g_calls.fsync ? g_calls.fsync(fd) : ::fsync(fd); }
int Rename(const QString& from, const QString& to)
{
    return g_calls.rename ? g_calls.rename(Native(from).constData(), Native(to).constData())
                          : std::rename(Native(from).constData(), Native(to).constData());
}

// The rename reaches the disk with its folder. A folder that may be written but not read cannot
// be opened to sync; the rename stands, and this process can do no more for it. File systems
// that have nothing to sync for a folder say EINVAL.
QString SyncFolder(const QString& folder)
{
    const int dir = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return errno == EACCES ? QString() : FileErrorText(errno);
    const int rc = Fsync(dir);
    const int err = errno;
    ::close(dir);
    return rc == 0 || err == EINVAL ? QString() : FileErrorText(err);
}

}  // namespace

void ReportFileSizeLimitAsError() { std::signal(SIGXFSZ, SIG_IGN); }

void CatchInterrupts()
{
    struct sigaction action {};
    action.sa_handler = [](int caught) {
        if (g_interrupt == 0) g_interrupt = caught;
    };
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a write blocked on a full pipe returns (EINTR) instead of going on waiting,
    // so that Ctrl-C ends a run whose reader has stopped reading.
    action.sa_flags = 0;
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) ::sigaction(sig, &action, nullptr);
}

bool Interrupted() { return g_interrupt != 0; }

int InterruptSignal() { return g_interrupt; }

void SetCommitCallsForTest(CommitCalls calls) { g_calls = std::move(calls); }

QString FileErrorText(int err)
{
    switch (err) {
    case ENOSPC: return QStringLiteral("ディスクの空き容量が足りません");
    case EDQUOT: return QStringLiteral("ディスクの使用量の上限に達しました");
    case EFBIG: return QStringLiteral("ファイルが大きすぎます（ファイルサイズの上限を超えます）");
    case EACCES:
    case EPERM: return QStringLiteral("書き込む権限がありません");
    case EROFS: return QStringLiteral("読み取り専用の場所です");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("フォルダがありません");
    case EISDIR: return QStringLiteral("フォルダです");
    case ENAMETOOLONG: return QStringLiteral("名前が長すぎます");
    case ELOOP: return QStringLiteral("シンボリックリンクが循環しています");
    case EIO: return QStringLiteral("入出力エラーが起きました");
    default: break;
    }
    const char* desc = strerrordesc_np(err);  // English whatever the locale
    return QStringLiteral("エラー %1（%2）").arg(err).arg(QString::fromLatin1(desc ? desc : "unknown"));
}

QString ReadErrorText(int err)
{
    switch (err) {
    case ENOENT: return QStringLiteral("ファイルがありません");
    case EACCES:
    case EPERM: return QStringLiteral("読む権限がありません");
    default: return FileErrorText(err);
    }
}

AtomicFile::AtomicFile(const QString& path) : m_path(path) {}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::Fail(int err)
{
    if (m_reason.isEmpty()) m_reason = FileErrorText(err);
}

void AtomicFile::Fail(const QString& reason)
{
    if (m_reason.isEmpty()) m_reason = reason;
}

bool AtomicFile::open(OpenMode)
{
    discard();
    m_reason.clear();
    m_replaced = false;
    m_target = ResolveLinks(m_path);
    if (m_target.isEmpty()) {
        Fail(errno);
        return false;
    }
    const QByteArray target = Native(m_target);
    struct stat st {};
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        Fail(EISDIR);
        return false;
    }
    if (exists && !S_ISREG(st.st_mode)) {
        m_fd = ::open(target.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    } else {
        // Beside the target, so the rename stays on one file system.
        const QFileInfo info(m_target);
        QByteArray name = Native(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
        m_fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (m_fd >= 0) {
            m_temp = QFile::decodeName(name);
            if (exists) {
                ::fchmod(m_fd, st.st_mode & 07777);
                if (::fchown(m_fd, st.st_uid, st.st_gid) != 0) { /* another owner's file: ours then */ }
            } else {
                ::fchmod(m_fd, NewFileMode());
            }
        }
    }
    if (m_fd < 0) {
        Fail(errno);
        m_temp.clear();
        return false;
    }
    return QIODevice::open(WriteOnly | Unbuffered);
}

qint64 AtomicFile::writeData(const char* data, qint64 len)
{
    if (m_fd < 0 || !m_reason.isEmpty()) return -1;
    qint64 done = 0;
    while (done < len) {
        const ssize_t n = ::write(m_fd, data + done, static_cast<size_t>(len - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            Fail(n < 0 ? errno : ENOSPC);
            setErrorString(m_reason);
            return -1;
        }
        done += n;
    }
    return done;
}

QString AtomicFile::commit()
{
    if (QString why = syncToDisk(); !why.isEmpty()) return why;
    return replace();
}

QString AtomicFile::syncToDisk()
{
    if (m_synced) return {};
    if (m_fd < 0) {
        if (m_reason.isEmpty()) Fail(QStringLiteral("ファイルが開かれていません"));
        return m_reason;
    }
    // A device written directly may have nothing to sync (EINVAL) or be read-only to that call.
    if (m_reason.isEmpty() && Fsync(m_fd) != 0 && (!m_temp.isEmpty() || (errno != EINVAL && errno != EROFS)))
        Fail(errno);
    if (::close(m_fd) != 0 && m_reason.isEmpty()) Fail(errno);
    m_fd = -1;
    if (!m_reason.isEmpty()) {
        discard();
        return m_reason;
    }
    m_synced = true;
    return {};
}

QString AtomicFile::replace()
{
    if (QString why = syncToDisk(); !why.isEmpty()) return why;
    if (m_temp.isEmpty()) {
        m_replaced = true;  // written directly
    } else if (Rename(m_temp, m_target) != 0) {
        Fail(errno);
    } else {
        m_temp.clear();
        m_replaced = true;
        if (QString why = SyncFolder(QFileInfo(m_target).absolutePath()); !why.isEmpty())
            Fail(QStringLiteral("新しいファイルに置き換えましたが、フォルダの同期に失敗しました（%1）").arg(why));
    }
    discard();
    return m_reason;
}

void AtomicFile::discard()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_synced = false;
    if (!m_temp.isEmpty()) ::unlink(Native(m_temp).constData());
    m_temp.clear();
    if (isOpen()) QIODevice::close();
}

QString CommitReport::message() const
{
    if (ok()) return {};
    const auto list = [](const QStringList& paths) {
        QStringList shown;
        for (const QString& p : paths) shown << QDir::toNativeSeparators(p);
        return shown.isEmpty() ? QStringLiteral("なし") : shown.join(QStringLiteral("、"));
    };
    const QString text = QStringLiteral("%1 に書けません: %2。").arg(QDir::toNativeSeparators(failed), reason);
    if (replaced.isEmpty()) return text + QStringLiteral("ファイルは書いていません（前のファイルはそのままです）。");
    return text + QStringLiteral("新しくなったファイル: %1。前のままのファイル: %2。").arg(list(replaced), list(kept));
}

CommitReport CommitAll(const std::vector<AtomicFile*>& files)
{
    CommitReport r;
    const auto step = [&](AtomicFile* f, QString why) {
        if (why.isEmpty()) return;
        r.failed = f->path();
        r.reason = why;
    };
    // Every file on the disk before the first rename: what fails here replaces nothing.
    for (AtomicFile* f : files)
        if (f && r.ok()) step(f, f->syncToDisk());
    for (AtomicFile* f : files) {
        if (!f) continue;
        if (r.ok())
            step(f, f->replace());
        else
            f->discard();
        (f->replaced() ? r.replaced : r.kept) << f->path();
    }
    return r;
}

QString FileIdentity(const QString& path)
{
    QString p = ResolveLinks(path);
    if (p.isEmpty()) p = QFileInfo(path).absoluteFilePath();  // a loop of links: its own name
    p = QDir::cleanPath(p);
    struct stat st {};
    if (::stat(Native(p).constData(), &st) == 0)
        return QStringLiteral("file %1:%2").arg(st.st_dev).arg(st.st_ino);
    const QFileInfo info(p);
    const QString folder = info.absoluteDir().canonicalPath();
    return QStringLiteral("path ") + (folder.isEmpty() ? p : folder + QLatin1Char('/') + info.fileName());
}

QString WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    AtomicFile f(path);
    if (!f.open()) return f.reason();
    f.write(bytes);
    return f.commit();
}

}  // namespace tovanel
