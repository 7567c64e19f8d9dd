// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/history_log.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <optional>

#include "query/history_format.h"
#include "query/query_window.h"
#include "textfiles/file_descriptor.h"
#include "textfiles/file_kind.h"
#include "textfiles/own_links.h"

namespace {

constexpr char16_t kEmptyInputMessage[] = u"请输入所要查询的汉字！";

// O_NONBLOCK: a FIFO of that name must not hang the window until some reader opens it.
// O_NOFOLLOW: the path is where the user's own links lead; a link put there since is not taken.
constexpr int kOpenFlags = O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW;
constexpr mode_t kFileMode = 0666;

// Creates the history file at `path` with `header`, unless a link leads there (no file is made
// through a link). Exclusive creation: a file that another instance made since the existence
// test gets no second header (that instance may, in the same instant, append its line ahead of
// this header). A header that does not reach the disk whole, its new name synced in the
// directory, is withdrawn together with the file, so that the next query starts the file
// afresh. Returns whether a file stands at the path afterwards.
bool createWithHeader(const QString& path, const QByteArray& header) {
    const std::optional<LinkEnd> end = followOwnLinks(QFile::encodeName(path));
    if (!end || end->throughLink) return false;
    FileDescriptor fd(::open(end->path.constData(), kOpenFlags | O_CREAT | O_EXCL, kFileMode));
    if (fd.get() < 0) return errno == EEXIST;
    // The bytes are on disk once fdatasync() succeeds, so a failed close() loses nothing.
    if (::write(fd.get(), header.constData(), header.size()) == header.size() &&
        ::fdatasync(fd.get()) == 0 && syncDirectory(directoryOf(end->path))) {
        return true;
    }
    ::unlink(end->path.constData());
    return false;
}

// Appends `line` to the existing regular file at `path` in a single write, so that lines of
// several instances never interleave, and syncs it; a line that does not reach the disk whole is
// cut off again. It never creates the file: only the header step may, so no file ever starts
// without it.
void appendWhole(const QString& path, const QByteArray& line) {
    const std::optional<LinkEnd> end = followOwnLinks(QFile::encodeName(path));
    struct stat info {};
    if (!end || ::lstat(end->path.constData(), &info) != 0 || !S_ISREG(info.st_mode)) return;
    const FileDescriptor fd(::open(end->path.constData(), kOpenFlags | O_APPEND));
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return;
    const ssize_t written = ::write(fd.get(), line.constData(), line.size());
    if (written == line.size() && ::fdatasync(fd.get()) == 0) return;
    if (written > 0) {
        // A full disk, a file size limit or a failed sync: append mode put the line (or a piece
        // of it) at the end of the file, `written` bytes before the offset; cut it off. (A line
        // that another instance appended in that very instant goes with it.) Should the cut
        // fail as well, nothing is left to try.
        const off_t size = ::lseek(fd.get(), 0, SEEK_CUR);
        if (size >= written && ::ftruncate(fd.get(), size - written) == 0) ::fdatasync(fd.get());
    }
}

}  // namespace

void wbscdaochu(QueryWindow& window, const QString& path, const QString& character,
                const QString& wubiResult, const QString& pinyinResult) {
    // The header comes first, whether or not there is anything to record.
    bool fileThere = !path.isEmpty() && isRegularFile(path);
    if (!fileThere && !path.isEmpty()) {
        const std::optional<QByteArray> header = historyHeaderBytes();
        fileThere = header && createWithHeader(path, *header);
    }
    if (character.isEmpty()) {
        window.focusInput();
        window.showMessage(QString::fromUtf16(kEmptyInputMessage));
        return;
    }
    // A record in a file without its header would keep the file headerless for good.
    if (!fileThere) return;
    if (const std::optional<QByteArray> record =
            historyRecordBytes(character, wubiResult, pinyinResult)) {
        appendWhole(path, *record);
    }
}
