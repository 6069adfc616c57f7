#pragma once
// Runs test code with the rights of an ordinary user, which root (whom file
// modes do not bind) cannot otherwise show.

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

// Gives back what `body` returns. As root, `body` runs in a child process that
// gives root up first (user and group 65534); `beforeFork` runs in the parent
// just before, for programs whose threads must be still at that moment. A hang
// ends the child, and so fails the test, after a minute.
inline std::string AsOrdinaryUser(const std::function<std::string()>& body,
                                  const std::function<void()>& beforeFork = {}) {
    if (geteuid() != 0) return body();
    int channel[2];
    if (pipe(channel) != 0) return "no pipe";
    if (beforeFork) beforeFork();
    const pid_t child = fork();
    if (child == 0) {
        alarm(60);
        close(channel[0]);
        std::string result = "could not give up root";
        if (setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0) result = body();
        const ssize_t written = write(channel[1], result.data(), result.size());
        _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    close(channel[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, static_cast<std::size_t>(got));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return result;
}
