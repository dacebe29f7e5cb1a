// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#ifdef _WIN32
// Windows keeps no root whose rights a test must drop: the body runs here.
inline bool AsUnprivilegedUser(const std::function<bool()>& body) { return body(); }
#else
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs body as a user without privileges and tells whether it returned true. As root
// it runs in a child process as "nobody", so that permissions apply as they do to
// any user; otherwise it runs here, as the user already is one.
inline bool AsUnprivilegedUser(const std::function<bool()>& body) {
    if (geteuid() != 0) return body();
    const pid_t child = fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        const bool dropped = setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0;
        _exit(dropped && body() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif
