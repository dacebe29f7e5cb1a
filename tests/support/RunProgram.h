#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs a program through the shell with the given arguments (and NAME=VALUE
// environment settings) and collects its output and exit status. The program gets a
// HOME and XDG_CONFIG_HOME of its own in scratch unless the caller gives them, so no
// test reads or writes the settings of the user who runs it.
inline ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::filesystem::path& scratch, std::vector<std::string> environment = {}) {
    const std::filesystem::path errFile = scratch / "stderr.txt";
    for (const char* name : {"HOME", "XDG_CONFIG_HOME"}) {
        const std::string prefix = std::string(name) + "=";
        bool given = false;
        for (const std::string& setting : environment) given = given || setting.rfind(prefix, 0) == 0;
        if (given) continue;
        const std::filesystem::path own = scratch / (std::string("own-") + name);
        std::filesystem::create_directories(own);
        environment.push_back(prefix + own.string());
    }
    std::string command = "env";
    for (const std::string& setting : environment) command += " " + ShellQuote(setting);
    command += " ";
    command += ShellQuote(program);
    for (const std::string& arg : args) command += " " + ShellQuote(arg);
    command += " 2>" + ShellQuote(errFile.string()) + " </dev/null";
    ProgramResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.out.append(buffer, n);
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream errStream(errFile, std::ios::binary);
    std::stringstream err;
    err << errStream.rdbuf();
    result.err = err.str();
    std::filesystem::remove(errFile);
    return result;
}
