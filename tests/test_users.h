// SPDX-License-Identifier: GPL-3.0-or-later
// Running a part of a test in a child process, as another user where the test needs one: the
// tests of other users' files and links, which only root can set up.
#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>

struct TestUser {
    uid_t uid;
    gid_t gid;
};

// The unprivileged users that the test command makes: the one that runs the suite, and another.
inline constexpr char kTestUserName[] = "tinglan-test";
inline constexpr char kOtherUserName[] = "tinglan-other";

// Returns the user `name`, or nothing when there is none.
inline std::optional<TestUser> testUser(const char* name) {
    const passwd* const user = getpwnam(name);
    if (user == nullptr) return std::nullopt;
    return TestUser{user->pw_uid, user->pw_gid};
}

// Runs `body` in a forked child, as `user` when one is given, and returns whether it returned
// true there.
inline bool inChild(const std::function<bool()>& body,
                    std::optional<TestUser> user = std::nullopt) {
    const pid_t child = fork();
    if (child == 0) {
        if (user &&
            (setgroups(0, nullptr) != 0 || setgid(user->gid) != 0 || setuid(user->uid) != 0)) {
            _exit(2);
        }
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}
