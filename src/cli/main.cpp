#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

#ifdef _WIN32
#include <io.h>
bool StandardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
#else
#include <unistd.h>
bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }
#endif

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunCommandLine(args, std::cout, std::cerr, StandardErrorIsTerminal());
    std::cout.flush();
    return status;
}
