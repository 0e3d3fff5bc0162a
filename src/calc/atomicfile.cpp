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

volatile std::sig_atomic_t g_interrupted = 0;

}  // namespace

void ReportFileSizeLimitAsError() { std::signal(SIGXFSZ, SIG_IGN); }

void CatchInterrupts()
{
    std::signal(SIGINT, [](int) { g_interrupted = 1; });
    std::signal(SIGTERM, [](int) { g_interrupted = 1; });
}

bool Interrupted() { return g_interrupted != 0; }

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
    if (m_fd < 0) {
        if (m_reason.isEmpty()) Fail(QStringLiteral("ファイルが開かれていません"));
        return m_reason;
    }
    if (m_reason.isEmpty() && ::fsync(m_fd) != 0 && (!m_temp.isEmpty() || (errno != EINVAL && errno != EROFS)))
        Fail(errno);
    if (::close(m_fd) != 0 && m_reason.isEmpty()) Fail(errno);
    m_fd = -1;
    if (m_reason.isEmpty() && !m_temp.isEmpty()) {
        if (std::rename(Native(m_temp).constData(), Native(m_target).constData()) != 0) {
            Fail(errno);
        } else {
            m_temp.clear();
            // The rename itself reaches the disk with the folder.
            const int dir = ::open(Native(QFileInfo(m_target).absolutePath()).constData(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (dir >= 0) {
                ::fsync(dir);
                ::close(dir);
            }
        }
    }
    const QString reason = m_reason;
    discard();
    m_reason = reason;
    return reason;
}

void AtomicFile::discard()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_temp.isEmpty()) ::unlink(Native(m_temp).constData());
    m_temp.clear();
    if (isOpen()) QIODevice::close();
}

QString WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    AtomicFile f(path);
    if (!f.open()) return f.reason();
    f.write(bytes);
    return f.commit();
}

}  // namespace tovanel
