#pragma once
// The resource script that embeds the checked documents as resources of type "FILE".
#include <filesystem>
#include <ostream>

// "LANGUAGE 0, 0" and one "DOCn FILE "<absolute path>"" line per catalogue row, in resource
// number order.
void WriteResourceScript(const std::filesystem::path& folder, std::ostream& out);
