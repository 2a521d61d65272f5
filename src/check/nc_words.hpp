#pragma once

#include <functional>
#include <string>
#include <vector>

#include "check/compiled.hpp"
#include "check/reader.hpp"

namespace tesmara::check {

using PointWarning = std::function<void(int column, std::string message)>;

// Reads the G, M and address words of an NC block up to the end of the line;
// a nonzero axis literal without a decimal point is told to `warn`.
NcBlock readNcWords(LineReader& reader, std::vector<Op>& pool, const PointWarning& warn);

// An M98 with a literal P that names no program in the text is reported and
// its block made invalid.
void resolveCall(CompiledText& text, Block& block);

}  // namespace tesmara::check
