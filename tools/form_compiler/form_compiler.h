#pragma once
// Compiles the text form of a layout into the binary layout. The text form, one statement a
// line:
//
//   object Form1: TForm1            an object, its class after the colon
//     Left = 504                    integer (32-bit signed)
//     BorderStyle = bsSingle        identifier
//     OldCreateOrder = False        True or False
//     Caption = 'Приказы'           text in UTF-8, '' for a quote; ASCII text stays 8-bit
//     BorderIcons = [biSystemMenu]  set of identifiers, [] when empty
//     Picture.Data = picture TJPEGImage 'cover.jpg'
//     object Button1: TButton       children follow the properties
//     end
//   end
//
// A picture value is the picture record: class-name length byte, class name, 4-byte
// little-endian length of the file, the file's bytes; its path is relative to the form's
// folder.
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace form_compiler {

class FormSourceError : public std::runtime_error {
public:
    FormSourceError(int line, const std::string& message)
        : std::runtime_error(message), line_(line) {}
    int Line() const { return line_; }

private:
    int line_;
};

struct CompiledForm {
    std::vector<std::uint8_t> bytes;
    std::vector<std::filesystem::path> pictures; // every file read, for build dependencies
};

// Raises FormSourceError naming the line at fault.
CompiledForm CompileForm(std::string_view source, const std::filesystem::path& folder);

} // namespace form_compiler
