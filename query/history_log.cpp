// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/history_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <optional>
#include <tuple>

#include "query/history_format.h"
#include "query/query_window.h"

namespace {

constexpr char16_t kEmptyInputMessage[] = u"请输入所要查询的汉字！";

// O_NONBLOCK: a FIFO of that name must not hang the window until some reader opens it.
constexpr int kOpenFlags = O_WRONLY | O_CLOEXEC | O_NONBLOCK;
constexpr mode_t kFileMode = 0666;
// Enough links for any sensible chain; a longer one counts as a loop.
constexpr int kMaxLinksFollowed = 40;

// A regular file, or a symbolic link to one; a directory or a device counts as no file. A new
// QFileInfo each time, so that nothing is cached from an earlier query.
bool historyFileFound(const QString& path) { return QFileInfo(path).isFile(); }

// Where a file created "at `path`" really comes into being: the end of a chain of dangling
// symbolic links, or `path` itself. Exclusive creation refuses a dangling link, while appending
// through it would create its target without a header.
QByteArray creationTarget(const QString& path) {
    QString target = path;
    for (int links = 0; links < kMaxLinksFollowed; ++links) {
        const QFileInfo info(target);
        if (!info.isSymLink()) return QFile::encodeName(target);
        target = info.symLinkTarget();
        if (target.isEmpty()) break;
    }
    return {};
}

// Creates the file at `path` and writes `header` into it. Exclusive creation: a file that
// another instance made since the existence test gets no second header (that instance may,
// in the same instant, append its line ahead of this header). A header that cannot be written
// whole is withdrawn together with the file, so that the next query starts the file afresh.
HistoryOutcome createWithHeader(const QByteArray& path, const QByteArray& header) {
    if (path.isEmpty()) return HistoryOutcome::NotWritten;
    const int fd = ::open(path.constData(), kOpenFlags | O_CREAT | O_EXCL, kFileMode);
    if (fd < 0) {
        return errno == EEXIST ? HistoryOutcome::AlreadyThere : HistoryOutcome::NotWritten;
    }
    const bool whole = ::write(fd, header.constData(), header.size()) == header.size();
    ::close(fd);
    if (whole) {
        return HistoryOutcome::HeaderOnly;
    }
    ::unlink(path.constData());
    return HistoryOutcome::NotWritten;
}

// Appends `line` to the existing file at `path` in a single write, so that lines of several
// instances never interleave, and leaves the file as it was when the line does not fit whole.
// It never creates the file: only the header step may, so no file ever starts without it.
bool appendWhole(const QByteArray& path, const QByteArray& line) {
    const int fd = ::open(path.constData(), kOpenFlags | O_APPEND);
    if (fd < 0) {
        return false;
    }
    const ssize_t written = ::write(fd, line.constData(), line.size());
    if (written > 0 && written < line.size()) {
        // A full disk or a file size limit cut the line short. Append mode put the piece at
        // the end of the file, so it starts `written` bytes before the offset; cut it off.
        // (A line that another instance appended in that very instant goes with it.)
        const off_t end = ::lseek(fd, 0, SEEK_CUR);
        if (end >= written) {
            // Should the cut fail as well, nothing is left to try.
            std::ignore = ::ftruncate(fd, end - written);
        }
    }
    ::close(fd);
    return written == line.size();
}

}  // namespace

HistoryOutcome createHistoryFileIfMissing(const QString& path) {
    if (path.isEmpty()) return HistoryOutcome::NotWritten;
    if (historyFileFound(path)) return HistoryOutcome::AlreadyThere;
    const std::optional<QByteArray> header = historyHeaderBytes();
    if (!header) return HistoryOutcome::NotWritten;
    return createWithHeader(creationTarget(path), *header);
}

HistoryOutcome appendHistoryRecord(const QString& path, const QString& character,
                                   const QString& wubiResult, const QString& pinyinResult) {
    // A record in a file without its header would keep the file headerless for good.
    if (createHistoryFileIfMissing(path) == HistoryOutcome::NotWritten) {
        return HistoryOutcome::NotWritten;
    }
    const std::optional<QByteArray> record =
        historyRecordBytes(character, wubiResult, pinyinResult);
    if (!record || !appendWhole(QFile::encodeName(path), *record)) {
        return HistoryOutcome::NotWritten;
    }
    return HistoryOutcome::Written;
}

void wbscdaochu(QueryWindow& window, const QString& path) {
    const QString text = window.inputText();
    if (text.isEmpty()) {
        // The header comes before the empty-input guard, as for every call.
        std::ignore = createHistoryFileIfMissing(path);
        window.focusInput();
        window.showMessage(QString::fromUtf16(kEmptyInputMessage));
        return;
    }
    std::ignore = appendHistoryRecord(path, text, window.wubiResult(), window.pinyinResult());
}
