#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "app/system_text.hpp"

// Windows hands the arguments over as UTF-16; the program works in UTF-8.
int wmain(int argc, wchar_t** argv) {
    // Program bytes pass as they are: no CR added before LF, no end at a 0x1A byte.
    for (FILE* stream : {stdin, stdout, stderr}) {
        _setmode(_fileno(stream), _O_BINARY);
    }
    std::vector<std::string> utf8;
    for (int i = 1; i < argc; ++i) {
        utf8.push_back(tesmara::utf8FromWide(argv[i]));
    }
    const std::vector<std::string_view> args(utf8.begin(), utf8.end());
    const int status = tesmara::cli::run(args, std::cout, std::cerr);
    return tesmara::cli::finishOutput(status, std::cout, std::cerr);
}

#else

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const int status = tesmara::cli::run(args, std::cout, std::cerr);
    return tesmara::cli::finishOutput(status, std::cout, std::cerr);
}

#endif
