// SPDX-License-Identifier: GPL-3.0-or-later
// An LD_PRELOAD library that makes the Nth call of one kind fail, counting only the calls on
// files below one directory, so that the tests see what a full disk, a failing device or a
// network file system does to the program's writes.
//
// TINGLAN_FAIL_UNDER  the directory whose files count (its own path included);
// TINGLAN_FAIL_CALL   "KIND:N": the Nth counted call of KIND fails with EIO (ENOSPC for write);
//                     KIND is one of open, write, fdatasync, fsync, close, fchmod, fchown, rename
//                     (the calls a write makes on its way; the cleanup after a failure is not
//                     counted); unset, no call fails;
// TINGLAN_FAIL_LOG    where it writes, at exit, "KIND COUNT" for each kind counted, then
//                     "failed KIND PATH" for the call it failed.
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

#include <array>
#include <string_view>

namespace {

enum Kind { Open, Write, Fdatasync, Fsync, Close, Fchmod, Fchown, Rename, Ftruncate, Unlink };
constexpr std::array<const char*, 10> kKindNames = {"open",      "write",  "fdatasync", "fsync",
                                                    "close",     "fchmod", "fchown",    "rename",
                                                    "ftruncate", "unlink"};

struct State {
    std::string_view under;
    int failKind = -1;
    int failAt = 0;
    std::array<int, kKindNames.size()> counts{};
    char failedPath[4096] = "";
};

State& state() {
    static State s = [] {
        State made;
        if (const char* under = getenv("TINGLAN_FAIL_UNDER")) made.under = under;
        if (const char* call = getenv("TINGLAN_FAIL_CALL")) {
            const std::string_view spec = call;
            const size_t colon = spec.find(':');
            for (size_t kind = 0; kind < kKindNames.size(); ++kind) {
                if (spec.substr(0, colon) == kKindNames[kind]) made.failKind = int(kind);
            }
            made.failAt = atoi(call + colon + 1);
        }
        return made;
    }();
    return s;
}

bool isWatched(std::string_view path) {
    const std::string_view under = state().under;
    return !under.empty() && path.starts_with(under) &&
           (path.size() == under.size() || path[under.size()] == '/');
}

// Counts a call of `kind` on `path` when it lies below the watched directory; returns whether
// this call is the one to fail.
bool failsNow(Kind kind, const char* path) {
    State& s = state();
    if (path == nullptr || !isWatched(path)) return false;
    if (++s.counts[kind] != s.failAt || kind != s.failKind) return false;
    snprintf(s.failedPath, sizeof s.failedPath, "%s", path);
    return true;
}

bool failsNow(Kind kind, int fd) {
    char link[64];
    char path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length <= 0) return false;
    path[length] = '\0';
    return failsNow(kind, path);
}

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

int failWith(int error) {
    errno = error;
    return -1;
}

__attribute__((destructor)) void writeLog() {
    const char* const log = getenv("TINGLAN_FAIL_LOG");
    if (log == nullptr) return;
    const State& s = state();
    char text[8192];
    int used = 0;
    for (size_t kind = 0; kind < kKindNames.size(); ++kind) {
        if (s.counts[kind] > 0) {
            used += snprintf(text + used, sizeof text - used, "%s %d\n", kKindNames[kind],
                             s.counts[kind]);
        }
    }
    if (s.failedPath[0] != '\0') {
        used += snprintf(text + used, sizeof text - used, "failed %s %s\n", kKindNames[s.failKind],
                         s.failedPath);
    }
    const int fd =
        next<int (*)(const char*, int, ...)>("open")(log, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    next<ssize_t (*)(int, const void*, size_t)>("write")(fd, text, size_t(used));
    next<int (*)(int)>("close")(fd);
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    if (failsNow(Open, path)) return failWith(EIO);
    return next<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}

ssize_t write(int fd, const void* bytes, size_t count) {
    if (failsNow(Write, fd)) return failWith(ENOSPC);
    return next<ssize_t (*)(int, const void*, size_t)>("write")(fd, bytes, count);
}

int fdatasync(int fd) {
    if (failsNow(Fdatasync, fd)) return failWith(EIO);
    return next<int (*)(int)>("fdatasync")(fd);
}

int fsync(int fd) {
    if (failsNow(Fsync, fd)) return failWith(EIO);
    return next<int (*)(int)>("fsync")(fd);
}

int close(int fd) {
    // Linux releases the descriptor even when close() fails, and so does this.
    const bool fails = failsNow(Close, fd);
    const int closed = next<int (*)(int)>("close")(fd);
    return fails ? failWith(EIO) : closed;
}

int fchmod(int fd, mode_t mode) {
    if (failsNow(Fchmod, fd)) return failWith(EIO);
    return next<int (*)(int, mode_t)>("fchmod")(fd, mode);
}

int fchown(int fd, uid_t owner, gid_t group) {
    if (failsNow(Fchown, fd)) return failWith(EIO);
    return next<int (*)(int, uid_t, gid_t)>("fchown")(fd, owner, group);
}

int rename(const char* from, const char* to) {
    if (failsNow(Rename, to)) return failWith(EIO);
    return next<int (*)(const char*, const char*)>("rename")(from, to);
}

}  // extern "C"
