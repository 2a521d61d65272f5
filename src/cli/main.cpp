#include <iostream>
#include <string_view>
#include <vector>

#include "cli/cli.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // program bytes keep their CR LF as they are
#endif
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const int status = tesmara::cli::run(args, std::cout, std::cerr);
    return tesmara::cli::finishOutput(status, std::cout, std::cerr);
}
