#include <string>
#include <variant>
#include <vector>

#include "app/output.hpp"
#include "app/system_text.hpp"
#include "cli/cli.hpp"
#include "cli/hole_words.hpp"
#include "operations/catalog.hpp"
#include "program/text.hpp"

namespace tesmara::cli {

namespace {

constexpr std::string_view kNextHole = "next-hole";

struct GenerateArgs {
    const Operation* op = nullptr;
    bool header = false;
    bool trailer = false;
    bool file = false;
    std::string outputPath;
    GlobalSettings settings;
    // FIELD=TEXT, next-hole and the options that add holes, in order.
    std::vector<std::variant<std::string_view, HoleWord>> words;
};

std::string operationIds() {
    std::string ids;
    for (const Operation* op : catalog()) {
        ids += ids.empty() ? "" : ", ";
        ids += op->id;
    }
    return ids;
}

std::string fieldNames(const Operation& op) {
    std::string names;
    for (const Field& f : op.fields) {
        names += names.empty() ? "" : ", ";
        names += f.name;
    }
    return names;
}

// Reads the options; anything not starting with "-" is a word.
bool parseArgs(std::span<const std::string_view> args, GenerateArgs& parsed, std::ostream& err) {
    if (args.empty()) {
        err << "tesmara-cli generate: name an operation: " << operationIds() << "\n";
        return false;
    }
    parsed.op = findOperation(args[0]);
    if (parsed.op == nullptr) {
        err << "tesmara-cli generate: unknown operation '" << args[0]
            << "'; the operations are: " << operationIds() << "\n";
        return false;
    }
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const auto holeWord = holeWordKind(arg);
        const bool takesValue = arg == "--safe-height" || arg == "--work-offset" || arg == "-o" ||
                                arg == "--diameter" || holeWord;
        if (takesValue && i + 1 == args.size()) {
            err << "tesmara-cli generate: " << arg << " needs a value\n";
            return false;
        }
        if (holeWord) {
            parsed.words.emplace_back(HoleWord{*holeWord, std::string(args[++i]), {}});
        } else if (arg == "--diameter") {
            auto* dxf =
                parsed.words.empty() ? nullptr : std::get_if<HoleWord>(&parsed.words.back());
            if (dxf == nullptr || dxf->kind != HoleWord::Kind::Dxf || dxf->diameter) {
                err << "tesmara-cli generate: --diameter belongs right after --dxf FILE\n";
                return false;
            }
            dxf->diameter = std::string(args[++i]);
        } else if (arg == "--header") {
            parsed.header = true;
        } else if (arg == "--trailer") {
            parsed.trailer = true;
        } else if (arg == "--file") {
            parsed.file = true;
        } else if (arg == "--safe-height") {
            // As confirmed in the settings window.
            parsed.settings.safeHeight = ensureDecimalPoint(args[++i]);
        } else if (arg == "--work-offset") {
            parsed.settings.workOffset = std::string(args[++i]);
        } else if (arg == "-o") {
            parsed.outputPath = std::string(args[++i]);
        } else if (arg.starts_with("-")) {
            err << "tesmara-cli generate: unknown option '" << arg
                << "'; the options are: --header, --trailer, --safe-height TEXT, "
                   "--work-offset TEXT, --file, -o PATH, --holes FILE.csv, --dxf FILE "
                   "[--diameter D], --bolt-circle X,Y,DIAMETER,COUNT[,START], "
                   "--grid X,Y,DX,DY,NX,NY, --thread M10x1.25\n";
            return false;
        } else {
            parsed.words.emplace_back(std::in_place_index<0>, arg);
        }
    }
    return true;
}

// Applies the words in order, as the operator would type and press "下一孔".
bool applyWords(const GenerateArgs& parsed, FieldValues& fields, MultiHoleState& holes,
                std::ostream& err) {
    const Operation& op = *parsed.op;
    for (const auto& step : parsed.words) {
        if (const auto* holeWord = std::get_if<HoleWord>(&step)) {
            if (!applyHoleWord(*holeWord, op, fields, holes, err)) {
                return false;
            }
            continue;
        }
        const std::string_view word = std::get<std::string_view>(step);
        if (word == kNextHole) {
            if (op.multiHole == nullptr) {
                err << "tesmara-cli generate: next-hole is only for the multi-hole operations; "
                    << op.id << " is a single operation\n";
                return false;
            }
            addHole(holes, *op.multiHole, fields);
            continue;
        }
        const auto equals = word.find('=');
        if (equals == std::string_view::npos) {
            err << "tesmara-cli generate: '" << word << "' is not FIELD=TEXT"
                << (op.multiHole ? " or next-hole" : "") << "; the fields of " << op.id
                << " are: " << fieldNames(op) << "\n";
            return false;
        }
        const std::string_view name = word.substr(0, equals);
        if (findField(op, name) == nullptr) {
            err << "tesmara-cli generate: " << op.id << " has no field '" << name
                << "'; its fields are: " << fieldNames(op) << "\n";
            return false;
        }
        fields[std::string(name)] = std::string(word.substr(equals + 1));
    }
    return true;
}

}  // namespace

int listCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) {
        err << "tesmara-cli list: takes no arguments\n";
        return kUsage;
    }
    for (const Operation* op : catalog()) {
        out << op->id << "\t" << op->title << "\t";
        for (std::size_t i = 0; i < op->fields.size(); ++i) {
            out << (i ? " " : "") << op->fields[i].name;
        }
        out << "\n";
    }
    return kOk;
}

int generateCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    GenerateArgs parsed;
    FieldValues fields;
    MultiHoleState holes;
    if (!parseArgs(args, parsed, err) || !applyWords(parsed, fields, holes, err)) {
        return kUsage;
    }
    const Operation& op = *parsed.op;
    const std::string program = generateOperation(op, fields, parsed.settings, parsed.header,
                                                  parsed.trailer, holes.values());
    const std::string bytes =
        parsed.file ? savedFileBytes(op, program, fields, parsed.settings) : program;
    // The bytes a saved program has, also on standard output (redirected into a file).
    return emit(fileBytes(bytes), parsed.outputPath, out, err);
}

}  // namespace tesmara::cli
