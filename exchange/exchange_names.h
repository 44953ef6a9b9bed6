#pragma once
// The names an import and an export give and read: a file's name in its path, the
// format an export's name asks for, and the name an imported session takes here.
#include <string>
#include <string_view>
#include <vector>

namespace tw::exchange {

// The part of a path after its last separator.
std::string_view FileNameOf(std::string_view path);

enum class ExportFormat { CsTimer, Csv };
// A name ending in ".csv" (any case) is a spreadsheet's; any other gets csTimer's format.
ExportFormat ExportFormatOf(std::string_view path);

// A session of a file without a name of its own.
inline constexpr std::string_view kUnnamedImport = "Imported";

// The name an imported session takes beside the sessions named `taken`: its own
// ("Imported" when it has none), or with " (2)", " (3)", ... after it when a session
// is named so already, so that no two sessions read the same.
std::string UniqueSessionName(std::string_view name, const std::vector<std::string>& taken);

}  // namespace tw::exchange
