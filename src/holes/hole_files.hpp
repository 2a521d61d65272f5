#pragma once

#include <filesystem>
#include <optional>

#include "holes/import_problem.hpp"
#include "operations/operation.hpp"

namespace tesmara {

// A hole list file (readHoleCsv) read from disk; a file that cannot be read,
// or is not a plain file, is one problem at line 0.
HoleImport readHoleCsvFile(const std::filesystem::path& path, const Operation& op);

// The centres of a drawing's CIRCLE entities, in drawing order; with a
// diameter only the circles of that diameter (to 0.001).
HoleImport readDxfHoles(const std::filesystem::path& path, std::optional<double> diameter);

}  // namespace tesmara
