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
    "--rapid-rate MM_PER_MIN, --block-limit N, --reference-z Z, --start X,Y,Z, "
    "--compare exact|tolerant, --tool-table FILE";

constexpr std::string_view kRunNames[] = {"--rapid-rate", "--block-limit", "--reference-z",
                                          "--start", "--compare"};

// Lengths a machine can have, with room to spare; beyond them a value is a typing slip.
constexpr double kMaxCoordinate = 1e6;
constexpr double kMaxRapidRate = 1e6;  // mm/min
constexpr double kMaxBlockLimit = 1e10;

bool parseNumber(std::string_view text, double& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool parseCoordinate(std::string_view text, double& value) {
    return parseNumber(text, value) && std::fabs(value) <= kMaxCoordinate;
}

bool parsePoint(std::string_view text, check::Point3& point) {
    double* const axes[] = {&point.x, &point.y, &point.z};
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = i < 2 ? text.find(',') : text.size();
        if (comma == std::string_view::npos || !parseCoordinate(text.substr(0, comma), *axes[i])) {
            return false;
        }
        text.remove_prefix(i < 2 ? comma + 1 : comma);
    }
    return true;
}

std::string choices(std::span<const std::string_view> allowed) {
    std::string out;
    for (std::string_view a : allowed) {
        out += std::string(a) + (a == "-o" ? " PATH" : "") + ", ";
    }
    return out + std::string(kRunOptions);
}

// The reason a value is refused, empty when it is taken.
std::string runOption(std::string_view arg, std::string_view value, check::CheckOptions& options) {
    double number = 0.0;
    if (arg == "--rapid-rate") {
        const bool ok = parseNumber(value, number) && number > 0.0 && number <= kMaxRapidRate;
        options.rapidRate = number;
        return ok ? "" : "takes a rate above 0 and at most 1000000 mm/min";
    }
    if (arg == "--block-limit") {
        const bool ok = parseNumber(value, number) && number >= 1.0 && number <= kMaxBlockLimit &&
                        number == std::floor(number);
        options.blockLimit = ok ? static_cast<std::int64_t>(number) : 0;
        return ok ? "" : "takes a whole number from 1 to 10000000000";
    }
    if (arg == "--reference-z") {
        return parseCoordinate(value, options.reference.z) ? ""
                                                           : "takes a Z from -1000000 to 1000000";
    }
    if (arg == "--start") {
        check::Point3 start;
        options.start = start;
        return parsePoint(value, *options.start) ? ""
                                                 : "takes X,Y,Z, three numbers from -1000000 to "
                                                   "1000000, e.g. 0,0,100";
    }
    options.comparison = value == "exact" ? check::Comparison::Exact : check::Comparison::Tolerant;
    return value == "exact" || value == "tolerant" ? "" : "takes exact or tolerant";
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
            std::find(std::begin(kRunNames), std::end(kRunNames), arg) != std::end(kRunNames);
        const bool takesPath = arg == "--tool-table" || (isAllowed && arg == "-o");
        if ((isRun || takesPath) && i + 1 == args.size()) {
            err << prefix << arg << " needs a value\n";
            return false;
        }
        if (arg == "--tool-table") {
            parsed.toolTable = std::string(args[++i]);
        } else if (isRun) {
            const std::string refused = runOption(arg, args[i + 1], parsed.options);
            if (!refused.empty()) {
                err << prefix << arg << " " << refused << ", not '" << args[i + 1] << "'\n";
                return false;
            }
            ++i;
        } else if (isAllowed && arg == "-o") {
            parsed.output = std::string(args[++i]);
        } else if (isAllowed && arg == "--json") {
            parsed.json = true;
        } else if (isAllowed && arg == "--centre-line") {
            parsed.options.centreLine = true;
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
    if (parsed.options.centreLine && parsed.toolTable.empty()) {
        err << prefix << "--centre-line needs --tool-table FILE for the radii\n";
        return false;
    }
    return true;
}

bool loadToolTable(std::string_view command, CheckArgs& parsed, std::ostream& err) {
    if (parsed.toolTable.empty()) {
        return true;
    }
    if (parsed.toolTable == "-") {
        err << "tesmara-cli " << command << ": --tool-table needs a file, not -\n";
        return false;
    }
    std::string text;
    if (!readInput(command, parsed.toolTable, text, err)) {
        return false;
    }
    check::ToolTableRead read = check::parseToolTable(text);
    if (!read.ok()) {
        err << "tesmara-cli " << command << ": tool table " << parsed.toolTable << " "
            << read.error() << "\n";
        return false;
    }
    parsed.options.tools = std::move(read.table);
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
