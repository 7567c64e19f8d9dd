// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/write_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

// glibc names the field from 2.37 on; Debian 12 has 2.36.
#ifndef sigev_notify_thread_id
#define sigev_notify_thread_id _sigev_un._tid
#endif

namespace {

// A click on the window waits no longer for another copy of the program to finish its write;
// with the rest of the click's work it stays within 0.2 s.
constexpr long kWaitNanoseconds = 180'000'000;

// The signal that ends the wait. Nothing else in the program uses it; its old action comes
// back afterwards.
constexpr int kWaitSignal = SIGALRM;

extern "C" void endWait(int) {}

// Whether flock() failed because the file system keeps no locks for the directory, rather
// than because time ran out.
bool hasNoLocks(int error) {
    return error == ENOLCK || error == EOPNOTSUPP || error == EINVAL || error == EBADF;
}

// Takes the lock of `fd`, waiting at most kWaitNanoseconds; returns 0 or the error of flock().
// A lock taken with LOCK_NB in a loop would rarely win against a writer that takes it again and
// again, so the wait blocks; a timer that signals this thread alone (no handler restarts the
// call) ends it in time.
int lockInTime(int fd) {
    struct sigaction interrupt {};
    interrupt.sa_handler = endWait;
    sigemptyset(&interrupt.sa_mask);
    struct sigaction previousAction {};
    if (::sigaction(kWaitSignal, &interrupt, &previousAction) != 0) return errno;
    sigset_t waitSignal;
    sigemptyset(&waitSignal);
    sigaddset(&waitSignal, kWaitSignal);
    sigset_t previousMask;
    ::pthread_sigmask(SIG_UNBLOCK, &waitSignal, &previousMask);

    int error = 0;
    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = kWaitSignal;
    event.sigev_notify_thread_id = ::gettid();
    timer_t timer{};
    if (::timer_create(CLOCK_MONOTONIC, &event, &timer) != 0) {
        error = errno;
    } else {
        const itimerspec due{{0, 0}, {0, kWaitNanoseconds}};
        if (::timer_settime(timer, 0, &due, nullptr) != 0) {
            error = errno;
        } else {
            timespec start{};
            ::clock_gettime(CLOCK_MONOTONIC, &start);
            // Another signal may interrupt the wait as well; only the timer's end counts.
            while (::flock(fd, LOCK_EX) != 0) {
                error = errno;
                timespec now{};
                ::clock_gettime(CLOCK_MONOTONIC, &now);
                const long waited =
                    (now.tv_sec - start.tv_sec) * 1'000'000'000L + now.tv_nsec - start.tv_nsec;
                if (error != EINTR || waited >= kWaitNanoseconds) break;
                error = 0;
            }
        }
        // A signal of the timer still pending is delivered, to endWait, as this call returns.
        ::timer_delete(timer);
    }
    ::pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    ::sigaction(kWaitSignal, &previousAction, nullptr);
    return error;
}

}  // namespace

ProfileWriteLock::ProfileWriteLock(const QByteArray& directory)
    : m_fd(::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (m_fd < 0) return;
    const int error = lockInTime(m_fd);
    m_allowsWriting = error == 0 || hasNoLocks(error);
    if (error != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

ProfileWriteLock::~ProfileWriteLock() {
    // Closing the last descriptor of the directory lets the lock go.
    if (m_fd >= 0) ::close(m_fd);
}
