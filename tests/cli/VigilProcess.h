#pragma once
// The vigil program run as the field runs it: a child process with its own standard output and
// error, started from the built binary (VIGIL_CLI_BINARY), with the test's environment (its COM
// port map and registry). Header-only.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace testsupport {

struct VigilResult {
    int exitCode = -1;  // -1: still running when the bound passed (it was killed)
    std::string out, err;
};

class VigilProcess {
  public:
    explicit VigilProcess(const std::vector<std::string>& args) {
        int outPipe[2], errPipe[2];
        if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
        std::vector<std::string> all = {VIGIL_CLI_BINARY};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int failed =
            posix_spawn(&pid_, VIGIL_CLI_BINARY, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(outPipe[1]);
        ::close(errPipe[1]);
        out_ = outPipe[0];
        err_ = errPipe[0];
        if (failed != 0) throw std::runtime_error("posix_spawn " VIGIL_CLI_BINARY);
    }
    ~VigilProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        ::close(err_);
    }
    VigilProcess(const VigilProcess&) = delete;
    VigilProcess& operator=(const VigilProcess&) = delete;

    // Reads output until standard output holds `text` after what earlier waits consumed, or the
    // liveness bound passes; returns whether it came.
    bool waitForOutput(std::string_view text,
                       std::chrono::milliseconds bound = std::chrono::seconds(120)) {
        return waitFor(result_.out, seen_, text, bound);
    }
    // The same for standard error.
    bool waitForErrorOutput(std::string_view text,
                            std::chrono::milliseconds bound = std::chrono::seconds(120)) {
        return waitFor(result_.err, seenErr_, text, bound);
    }

    void interrupt() const { ::kill(pid_, SIGINT); }

    // Waits for the exit (killing the program after the bound) and returns all it printed.
    VigilResult finish(std::chrono::milliseconds bound = std::chrono::seconds(120)) {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (readSome(100))
            if (std::chrono::steady_clock::now() > deadline) break;
        int status = 0;
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
                pid_ = -1;
                return result_;
            }
            ::poll(nullptr, 0, 10);
        }
        result_.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = -1;
        return result_;
    }

  private:
    bool waitFor(const std::string& stream, std::size_t& seen, std::string_view text,
                 std::chrono::milliseconds bound) {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        for (;;) {
            if (const auto at = stream.find(text, seen); at != std::string::npos) {
                seen = at + text.size();
                return true;
            }
            if (std::chrono::steady_clock::now() > deadline || !readSome(100)) return false;
        }
    }

    // Reads what is there within `ms`; false once both pipes have ended.
    bool readSome(int ms) {
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        const int nfds = open_[0] || open_[1] ? 2 : 0;
        if (nfds == 0) return false;
        if (!open_[0]) fds[0].fd = -1;
        if (!open_[1]) fds[1].fd = -1;
        ::poll(fds, 2, ms);
        std::string* sinks[2] = {&result_.out, &result_.err};
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0)
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            else
                open_[i] = false;
        }
        return open_[0] || open_[1];
    }

    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
    bool open_[2] = {true, true};
    std::size_t seen_ = 0, seenErr_ = 0;
    VigilResult result_;
};

inline VigilResult runVigil(const std::vector<std::string>& args) {
    return VigilProcess(args).finish();
}

}  // namespace testsupport
