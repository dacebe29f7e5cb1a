// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A program a test starts and talks to while it runs (POSIX only): its output read as it
// comes, signals sent to it, its end awaited for a bounded time. A child still running
// when the object goes is killed and reaped, so no test leaves a process behind; and one
// whose test crashed is ended by the system (setpriv's parent death signal, which comes
// when the thread that started the child ends: start children from the test's own).

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "RunProgram.h"

extern char** environ;

class ChildProcess {
public:
    using Duration = std::chrono::milliseconds;

    // Starts program (looked up on PATH) with args and this process's environment, plus
    // the settings given and a HOME and XDG_CONFIG_HOME of its own in scratch.
    ChildProcess(const std::string& program, const std::vector<std::string>& args, const std::filesystem::path& scratch,
                 const std::vector<std::string>& environment = {}) {
        std::vector<std::string> settings = WithOwnSettings(environment, scratch);
        for (char** entry = environ; *entry; ++entry) {
            const std::string_view name = std::string_view(*entry).substr(0, std::string_view(*entry).find('=') + 1);
            bool replaced = false;
            for (const std::string& setting : settings) replaced = replaced || setting.rfind(name, 0) == 0;
            if (!replaced) settings.emplace_back(*entry);
        }
        const std::optional<std::string> path = OnPath(program);
        if (!path) {
            m_why = program + ": not found";
            return;
        }
        std::vector<std::string> argStrings{"setpriv", "--pdeathsig", "TERM", "--", *path};
        argStrings.insert(argStrings.end(), args.begin(), args.end());
        std::vector<char*> argv, envp;
        for (std::string& arg : argStrings) argv.push_back(arg.data());
        for (std::string& setting : settings) envp.push_back(setting.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);

        int out[2], err[2];
        if (pipe2(out, O_CLOEXEC) != 0) return;
        if (pipe2(err, O_CLOEXEC) != 0) {
            close(out[0]);
            close(out[1]);
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        const int failed = posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(err[1]);
        if (failed != 0) {
            m_pid = -1;
            m_why = std::string(argv[0]) + ": " + std::strerror(failed);
            close(out[0]);
            close(err[0]);
            return;
        }
        m_reader = std::thread([this, outFd = out[0], errFd = err[0]] { Read(outFd, errFd); });
    }

    ~ChildProcess() {
        if (Running()) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_reader.joinable()) m_reader.join();
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Empty once started; why not otherwise ("jackd: not found").
    const std::string& WhyNotStarted() const { return m_why; }

    std::string Out() const {
        std::lock_guard lock(m_lock);
        return m_out;
    }
    std::string Err() const {
        std::lock_guard lock(m_lock);
        return m_err;
    }
    // Whether standard output holds text within timeout.
    bool WaitForOutput(std::string_view text, Duration timeout) {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, timeout, [&] { return m_out.find(text) != std::string::npos; });
    }

    void Signal(int signal) {
        if (Running()) kill(m_pid, signal);
    }
    bool Running() {
        if (m_pid <= 0 || m_status) return false;
        int raw = 0;
        if (waitpid(m_pid, &raw, WNOHANG) != m_pid) return true;
        m_status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -WTERMSIG(raw);
        return false;
    }
    // The exit status once the child has ended within timeout, minus the signal that
    // ended it where one did, its output read to the end; nothing while it still runs.
    std::optional<int> Wait(Duration timeout) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (Running() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(Duration(5));
        if (m_status && m_reader.joinable()) m_reader.join();
        return m_status;
    }

private:
    // The program's file: as given when it names a folder, else the first on PATH.
    static std::optional<std::string> OnPath(const std::string& program) {
        if (program.find('/') != std::string::npos) return program;
        const char* path = std::getenv("PATH");
        std::string_view folders = path ? path : "/usr/bin:/bin";
        while (!folders.empty()) {
            const std::size_t end = std::min(folders.find(':'), folders.size());
            const std::string file = std::string(folders.substr(0, end)) + "/" + program;
            if (access(file.c_str(), X_OK) == 0) return file;
            folders.remove_prefix(std::min(end + 1, folders.size()));
        }
        return std::nullopt;
    }

    // Both outputs, until the child and anything it handed them to have closed them.
    void Read(int outFd, int errFd) {
        pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
        char buffer[4096];
        for (int open = 2; open > 0;) {
            int ready;
            do ready = poll(fds, 2, -1);
            while (ready < 0 && errno == EINTR);
            if (ready < 0) break;
            for (int i = 0; i < 2; ++i) {
                if (fds[i].fd < 0 || fds[i].revents == 0) continue;
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n <= 0) {
                    close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                    continue;
                }
                {
                    std::lock_guard lock(m_lock);
                    (i == 0 ? m_out : m_err).append(buffer, static_cast<std::size_t>(n));
                }
                m_changed.notify_all();
            }
        }
        for (const pollfd& fd : fds) {
            if (fd.fd >= 0) close(fd.fd);
        }
    }

    pid_t m_pid = -1;
    std::string m_why;
    std::optional<int> m_status;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::string m_out, m_err;  // under m_lock
    std::thread m_reader;
};
