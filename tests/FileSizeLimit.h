#pragma once
// A full disk, made safely: the call runs in a forked child whose files may not grow beyond a
// size, so a write past it fails (EFBIG, its signal ignored) while the test process and the
// disk are untouched. The child's files stay for the parent to check.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <exception>
#include <functional>
#include <string>

// What the call returned in the child, or the message of the error it raised; a text in angle
// brackets when the child could not run it.
inline std::string WithFileSizeLimit(rlim_t bytes, const std::function<std::string()>& call) {
    int fds[2];
    if (::pipe(fds) != 0) return "<no pipe>";
    const pid_t pid = ::fork();
    if (pid < 0) return "<no child>";
    if (pid == 0) {
        ::close(fds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        std::string text;
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            text = "<no file size limit>";
        } else {
            try {
                text = call();
            } catch (const std::exception& e) {
                text = e.what();
            } catch (...) {
                text = "<unknown error>";
            }
        }
        for (std::size_t at = 0; at < text.size();) {
            const ssize_t n = ::write(fds[1], text.data() + at, text.size() - at);
            if (n <= 0) ::_exit(2);
            at += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        text.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "<child failed>";
    return text;
}
