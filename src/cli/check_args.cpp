#include "cli/check_args.hpp"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/output.hpp"

namespace tesmara::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRunOptions =
    "--rapid-rate MM_PER_MIN, --block-limit N, --reference-z Z";

bool parseNumber(std::string_view text, double& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool parsePositive(std::string_view text, double& value) {
    return parseNumber(text, value) && value > 0.0;
}

std::string choices(std::span<const std::string_view> allowed) {
    std::string out;
    for (std::string_view a : allowed) {
        out += std::string(a) + (a == "-o" ? " PATH" : "") + ", ";
    }
    return out + std::string(kRunOptions);
}

bool runOption(std::string_view arg, std::string_view value, check::CheckOptions& options) {
    double number = 0.0;
    if (arg == "--rapid-rate") {
        return parsePositive(value, options.rapidRate);
    }
    if (arg == "--block-limit") {
        const bool ok = parsePositive(value, number) && number == std::floor(number);
        options.blockLimit = static_cast<std::int64_t>(number);
        return ok;
    }
    return parseNumber(value, options.reference.z);
}

// To the end of the file; a read error is told apart from the end.
int readAll(std::FILE* file, std::string& text) {
    char buffer[65536];
    errno = 0;
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    if (std::ferror(file) == 0) {
        return 0;
    }
    return errno != 0 ? errno : EIO;
}

int readFile(const std::string& input, std::string& text) {
    const fs::path path = utf8Path(input);
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        return EISDIR;  // some systems would open it and read nothing
    }
#ifdef _WIN32
    std::FILE* file = ::_wfopen(path.c_str(), L"rb");
#else
    std::FILE* file = std::fopen(path.c_str(), "rb");
#endif
    if (file == nullptr) {
        return errno;
    }
    const int error = readAll(file, text);
    std::fclose(file);
    return error;
}

}  // namespace

bool parseCheckArgs(std::string_view command, std::span<const std::string_view> args,
                    std::span<const std::string_view> allowed, CheckArgs& parsed,
                    std::ostream& err) {
    const std::string prefix = "tesmara-cli " + std::string(command) + ": ";
    bool haveInput = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool isAllowed = std::find(allowed.begin(), allowed.end(), arg) != allowed.end();
        const bool isRun =
            arg == "--rapid-rate" || arg == "--block-limit" || arg == "--reference-z";
        if ((isRun || (isAllowed && arg == "-o")) && i + 1 == args.size()) {
            err << prefix << arg << " needs a value\n";
            return false;
        }
        if (isRun) {
            if (!runOption(arg, args[i + 1], parsed.options)) {
                err << prefix << arg << " takes a number, not '" << args[i + 1] << "'\n";
                return false;
            }
            ++i;
        } else if (isAllowed && arg == "-o") {
            parsed.output = std::string(args[++i]);
        } else if (isAllowed && arg == "--json") {
            parsed.json = true;
        } else if (arg != "-" && arg.starts_with("-")) {
            err << prefix << "unknown option '" << arg << "'; the options are: " << choices(allowed)
                << "\n";
            return false;
        } else if (haveInput) {
            err << prefix << "takes one FILE (or - for standard input), not also '" << arg << "'\n";
            return false;
        } else {
            parsed.input = std::string(arg);
            haveInput = true;
        }
    }
    if (!haveInput) {
        err << prefix << "name a FILE, or - to read standard input\n";
        return false;
    }
    return true;
}

bool readInput(std::string_view command, const std::string& input, std::string& text,
               std::ostream& err) {
    text.clear();
    const bool standardInput = input == "-";
    const int error = standardInput ? readAll(stdin, text) : readFile(input, text);
    if (error != 0) {
        err << "tesmara-cli " << command << ": cannot read "
            << (standardInput ? std::string("standard input") : input) << ": "
            << std::strerror(error) << "\n";
        return false;
    }
    return true;
}

}  // namespace tesmara::cli
