// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A JACK server of the test's own on its dummy driver, which keeps time with no sound
// card: a real MIDI system on any machine. JACK_DEFAULT_SERVER points at it while it
// runs, so that this process's JACK clients and every program it starts reach it and no
// other. Needs jackd (Debian: jackd2).
//
// libjack names a client's own socket after the client and the user, not the server:
// two servers of one user, each with a client of the same name ("Korvane"), take each
// other's sockets, and those clients fail. So one such server runs at a time for each
// user of the machine: a lock file is held from the start until it has ended, and tests
// run side by side take turns. They share one name, too: JACK keeps at most eight
// servers a user in its registry, and a server that could not end as it should (its
// test crashed) stays there until one of the same name takes its place.
//
// It runs without realtime priority, so a busy machine often runs a client too late for
// its cycle. Run asynchronously, as by default, the server would go on without what that
// client wrote, and a test would see a message lost that no user's server would lose;
// synchronously, it waits for every client, and a late cycle comes late but whole.

#include <fcntl.h>
#include <jack/jack.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "ChildProcess.h"

class JackServer {
public:
    static constexpr int kRate = 48000;
    static constexpr int kPeriod = 64;  // frames: 1.33 ms a process cycle

    ~JackServer() { Stop(); }

    // Starts it and waits until it answers; why not otherwise, with what jackd said.
    std::optional<std::string> Start(const std::filesystem::path& scratch) {
        if (std::optional<std::string> why = TakeTurn()) return why;
        m_name = "korvane-tests";
        m_jackd = std::make_unique<ChildProcess>(
            "jackd",
            std::vector<std::string>{"--sync", "--no-realtime", "-n", m_name, "-d", "dummy", "-r",
                                     std::to_string(kRate), "-p", std::to_string(kPeriod)},
            scratch);
        if (const std::string why = m_jackd->WhyNotStarted(); !why.empty()) {
            m_jackd.reset();
            return why + " (the JACK server: Debian's jackd2, which scripts/test installs)";
        }
        setenv("JACK_DEFAULT_SERVER", m_name.c_str(), 1);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (std::chrono::steady_clock::now() < until) {
            if (!m_jackd->Running()) return "jackd ended at once:\n" + m_jackd->Out() + m_jackd->Err();
            if (Answers()) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return "jackd did not answer within 15 s:\n" + m_jackd->Out() + m_jackd->Err();
    }

    // Ends it, as a user quits JACK; the next server may start.
    void Stop() {
        if (m_jackd) {
            unsetenv("JACK_DEFAULT_SERVER");
            m_jackd->Signal(SIGTERM);
            m_jackd->Wait(std::chrono::seconds(5));
            m_jackd.reset();  // one that would not end is killed here
            // What clients the server ended under could not take away with them.
            std::error_code ignored;
            for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", ignored)) {
                if (entry.path().filename().string().find("_" + m_name + "_") == std::string::npos) continue;
                std::filesystem::remove(entry.path(), ignored);
            }
        }
        if (m_turn >= 0) close(m_turn);
        m_turn = -1;
    }

    // What jackd has said so far, for a test that failed: its reports of late cycles
    // (hundreds on a busy machine) counted rather than listed.
    std::string Log() const {
        if (!m_jackd) return {};
        std::istringstream said(m_jackd->Out() + m_jackd->Err());
        std::string log;
        int late = 0;
        for (std::string line; std::getline(said, line);) {
            if (line.find("XRun") != std::string::npos) {
                ++late;
            } else {
                log += line + "\n";
            }
        }
        return log + std::to_string(late) + " late cycles (XRun)\n";
    }

private:
    std::optional<std::string> TakeTurn() {
        const std::filesystem::path lock =
            std::filesystem::temp_directory_path() / ("korvane-jack-test-" + std::to_string(getuid()) + ".lock");
        m_turn = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_turn < 0) return lock.string() + ": " + std::strerror(errno);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(90);
        while (flock(m_turn, LOCK_EX | LOCK_NB) != 0) {
            if (std::chrono::steady_clock::now() >= until) {
                return "another test's JACK server held " + lock.string() + " for 90 s";
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return std::nullopt;
    }

    bool Answers() const {
        // A server not yet listening is no error here: libjack would say so on every try.
        jack_set_error_function([](const char*) {});
        jack_status_t status{};
        jack_client_t* client =
            jack_client_open("korvane-probe", JackOptions(JackNoStartServer | JackServerName), &status, m_name.c_str());
        jack_set_error_function(nullptr);
        if (!client) return false;
        jack_client_close(client);
        return true;
    }

    int m_turn = -1;  // the lock file, held while the server runs
    std::string m_name;
    std::unique_ptr<ChildProcess> m_jackd;
};
