// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;
};

#ifdef _WIN32
// For cmd.exe: double quotes around each argument.
inline std::string ShellQuote(const std::string& arg) { return "\"" + arg + "\""; }

inline std::wstring Utf16Of(const std::string& text) {
    const std::u8string u8(text.begin(), text.end());
    return std::filesystem::path(u8).native();
}
#else
inline std::string ShellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}
#endif

// The NAME=VALUE settings a program a test starts is given: these, and a HOME and
// XDG_CONFIG_HOME of its own in scratch unless they name them, so that no test reads or
// writes the settings of the user who runs it.
inline std::vector<std::string> WithOwnSettings(std::vector<std::string> environment,
                                                const std::filesystem::path& scratch) {
    for (const char* name : {"HOME", "XDG_CONFIG_HOME"}) {
        const std::string prefix = std::string(name) + "=";
        bool given = false;
        for (const std::string& setting : environment) given = given || setting.rfind(prefix, 0) == 0;
        if (given) continue;
        const std::filesystem::path own = scratch / (std::string("own-") + name);
        std::filesystem::create_directories(own);
        environment.push_back(prefix + own.string());
    }
    return environment;
}

// Runs a program through the shell with the given arguments (and NAME=VALUE
// environment settings, WithOwnSettings) and collects its output and exit status.
// Arguments are UTF-8.
inline ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::filesystem::path& scratch, std::vector<std::string> environment = {}) {
    const std::filesystem::path errFile = scratch / "stderr.txt";
    environment = WithOwnSettings(std::move(environment), scratch);
    ProgramResult result;
#ifdef _WIN32
    // cmd.exe takes no settings before the program: the child inherits them from here.
    for (const std::string& setting : environment) _wputenv(Utf16Of(setting).c_str());
    std::string command = "\"" + ShellQuote(program);
    for (const std::string& arg : args) command += " " + ShellQuote(arg);
    command += " 2>" + ShellQuote(errFile.string()) + " <NUL\"";
    // Wine now and then fails to start cmd.exe at all while its services come up: a
    // start that never happened is tried again (never a program that ran).
    FILE* pipe = nullptr;
    for (int attempt = 0; attempt < 3 && pipe == nullptr; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(std::chrono::seconds(1));
        pipe = _wpopen(Utf16Of(command).c_str(), L"rb");
    }
#else
    std::string command = "env";
    for (const std::string& setting : environment) command += " " + ShellQuote(setting);
    command += " ";
    command += ShellQuote(program);
    for (const std::string& arg : args) command += " " + ShellQuote(arg);
    command += " 2>" + ShellQuote(errFile.string()) + " </dev/null";
    FILE* pipe = popen(command.c_str(), "r");
#endif
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.out.append(buffer, n);
#ifdef _WIN32
    result.status = _pclose(pipe);
#else
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    {
        std::ifstream errStream(errFile, std::ios::binary);
        std::stringstream err;
        err << errStream.rdbuf();
        result.err = err.str();
    }  // closed: Windows removes no open file
    std::filesystem::remove(errFile);
    return result;
}
