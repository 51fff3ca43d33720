// Running a piece of a test in a forked child under conditions the test process itself must
// not take on: a small file size limit (writes beyond it fail as on a full disk), or the
// identity of an unprivileged user (so file permissions count even when the tests run as
// root). The child's verdict comes back as its exit status.
#pragma once

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

namespace lumtest {

// The exit status of a child that ran `body` (its return value), or -1 when it died.
inline int inChild(const std::function<void()>& setup, const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        setup();
        ::_exit(body());
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// `body` with files limited to `bytes`: a write beyond fails with EFBIG instead of raising
// SIGXFSZ.
inline int withFileSizeLimit(rlim_t bytes, const std::function<int()>& body) {
    return inChild(
        [bytes] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{bytes, bytes};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        },
        body);
}

// Exit status of `body` run without privileges: as user and group 65534 (nobody) when the
// tests run as root, as the user itself otherwise; kCannotDropPrivileges when root cannot
// take on that identity.
inline constexpr int kCannotDropPrivileges = 77;
inline int asUnprivilegedUser(const std::function<int()>& body) {
    return inChild(
        [] {
            if (::geteuid() != 0) return;
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0 ||
                ::geteuid() == 0)
                ::_exit(kCannotDropPrivileges);
        },
        body);
}

}  // namespace lumtest
