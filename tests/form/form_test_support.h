#pragma once
// Helpers shared by the layout tests: files, and objects of a read layout in text form.
#include "form_reader.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace form_test {

using Bytes = std::vector<std::uint8_t>;

extern std::filesystem::path compiledLayout; // from the command line
extern const std::filesystem::path sourceDir;

Bytes ReadFile(const std::filesystem::path& path);

// A property as the text form would write it, with the stored kind made visible: 8-bit text
// in '', wide text in W'', binary data as its size ("binary(21)").
std::string Render(const std::string& name, const classlib::form::Value& value);
std::vector<std::string> Rendered(const classlib::form::Object& object);

std::vector<std::string> ChildNames(const classlib::form::Object& object);
const classlib::form::Object& Child(const classlib::form::Object& parent, const std::string& name);
const classlib::form::Value& Property(const classlib::form::Object& object,
                                      const std::string& name);

} // namespace form_test
