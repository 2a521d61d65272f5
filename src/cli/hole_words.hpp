#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "operations/catalog.hpp"

namespace tesmara::cli {

// The generate options that add holes or fill the thread fields, applied in
// order among the FIELD=TEXT words.
struct HoleWord {
    enum class Kind { Csv, Dxf, BoltCircle, Grid, Thread };
    Kind kind;
    std::string value;
    std::optional<std::string> diameter;  // --dxf FILE --diameter D
};

// The option's kind, or nothing for any other argument.
std::optional<HoleWord::Kind> holeWordKind(std::string_view option);

// Adds the holes, or fills the thread fields, with the texts typed so far.
// Anything that cannot be read is told on `err`, naming the file, the line and
// the reason; then nothing is added and it gives false.
bool applyHoleWord(const HoleWord& word, const Operation& op, FieldValues& fields,
                   MultiHoleState& holes, std::ostream& err);

}  // namespace tesmara::cli
