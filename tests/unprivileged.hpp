#pragma once

// Runs a piece of a test as an ordinary user in a child process, so that
// permission cases mean the same under root as anywhere else.
#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace tesmara {

// The user the child becomes when the test runs as root.
constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

struct ChildRun {
    int status = -1;  // what `body` returned, or -1 when the child did not end normally
    std::string message;
};

// `body` runs in a child that has dropped every privilege (when there are
// any to drop); it returns a small status and may leave a message.
inline ChildRun runUnprivileged(const std::function<int(std::string& message)>& body) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(kNogroup, kNogroup, kNogroup) != 0 ||
             ::setresuid(kNobody, kNobody, kNobody) != 0)) {
            ::_exit(127);
        }
        std::string message;
        const int status = body(message);
        static_cast<void>(::write(pipeEnds[1], message.data(), message.size()));
        ::_exit(status);
    }
    ::close(pipeEnds[1]);
    ChildRun run;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        run.message.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    int waited = 0;
    if (::waitpid(child, &waited, 0) == child && WIFEXITED(waited)) {
        run.status = WEXITSTATUS(waited);
    }
    return run;
}

}  // namespace tesmara
