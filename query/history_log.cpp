// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/history_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <tuple>

#include "query/history_format.h"
#include "query/query_window.h"

namespace {

constexpr char16_t kHistoryFileName[] = u"历史记录.txt";
constexpr char16_t kEmptyInputMessage[] = u"请输入所要查询的汉字！";

// O_NONBLOCK: a FIFO of that name must not hang the window until some reader opens it.
constexpr int kOpenFlags = O_WRONLY | O_CLOEXEC | O_NONBLOCK;
constexpr mode_t kFileMode = 0666;

enum class HeaderOutcome { Written, NotCreated, Withdrawn };

// A regular file, or a symbolic link to one; a directory or a device counts as no file. A new
// QFileInfo each time, so that nothing is cached from an earlier query.
bool historyFileFound(const QString& path) { return QFileInfo(path).isFile(); }

// Creates the file at `path` and writes `header` into it. Exclusive creation: a file that
// another instance made since the existence test gets no second header (that instance may,
// in the same instant, append its line ahead of this header). A header that cannot be written
// whole is withdrawn together with the file, so that the next query starts the file afresh.
HeaderOutcome createWithHeader(const QByteArray& path, const QByteArray& header) {
    const int fd = ::open(path.constData(), kOpenFlags | O_CREAT | O_EXCL, kFileMode);
    if (fd < 0) {
        return HeaderOutcome::NotCreated;
    }
    const bool whole = ::write(fd, header.constData(), header.size()) == header.size();
    ::close(fd);
    if (whole) {
        return HeaderOutcome::Written;
    }
    ::unlink(path.constData());
    return HeaderOutcome::Withdrawn;
}

// Appends `line` to the file at `path` in a single write, so that lines of several instances
// never interleave, and leaves the file as it was when the line does not fit whole.
void appendWhole(const QByteArray& path, const QByteArray& line) {
    const int fd = ::open(path.constData(), kOpenFlags | O_APPEND | O_CREAT, kFileMode);
    if (fd < 0) {
        return;
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
}

}  // namespace

QString historyFilePath(const QString& programDirectory) {
    return QDir(programDirectory).filePath(QString::fromUtf16(kHistoryFileName));
}

void wbscdaochu(QueryWindow& window) {
    HeaderOutcome header = HeaderOutcome::NotCreated;
    const QString path = historyFilePath(window.programDirectory());
    if (!historyFileFound(path)) {
        if (const std::optional<QByteArray> bytes = historyHeaderBytes()) {
            header = createWithHeader(QFile::encodeName(path), *bytes);
        }
    }

    const QString text = window.inputText();
    if (text.isEmpty()) {
        window.focusInput();
        window.showMessage(QString::fromUtf16(kEmptyInputMessage));
        return;
    }
    // A record in a new file without its header would keep the file headerless for good.
    if (header == HeaderOutcome::Withdrawn) {
        return;
    }
    const std::optional<QByteArray> record =
        historyRecordBytes(text, window.wubiResult(), window.pinyinResult());
    if (record) {
        appendWhole(QFile::encodeName(historyFilePath(window.programDirectory())), *record);
    }
}
