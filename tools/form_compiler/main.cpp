// form_compiler FORM OUTPUT [DEPFILE]: compiles the text form FORM into the binary layout
// OUTPUT and, when asked, writes a make-style dependency file naming the pictures it read.
#include "form_compiler.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

std::string DepfilePath(const std::filesystem::path& path) {
    std::string escaped;
    for (char c : path.string()) {
        if (c == ' ' || c == '#' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary);
    file << content;
    file.close();
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
}

int Run(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: form_compiler FORM OUTPUT [DEPFILE]\n";
        return 2;
    }
    const std::filesystem::path formPath = argv[1], outputPath = argv[2];
    std::ifstream formFile(formPath, std::ios::binary);
    if (!formFile)
        throw std::runtime_error("cannot open " + formPath.string());
    std::stringstream source;
    source << formFile.rdbuf();

    form_compiler::CompiledForm form;
    try {
        form = form_compiler::CompileForm(source.str(), formPath.parent_path());
    } catch (const form_compiler::FormSourceError& error) {
        std::cerr << formPath.string() << ':' << error.Line() << ": error: " << error.what()
                  << '\n';
        return 1;
    }
    WriteFile(outputPath, std::string(form.bytes.begin(), form.bytes.end()));
    if (argc == 4) {
        std::string rule = DepfilePath(outputPath) + ':';
        for (const auto& picture : form.pictures)
            rule += ' ' + DepfilePath(picture);
        WriteFile(argv[3], rule + '\n');
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "form_compiler: " << error.what() << '\n';
        return 1;
    }
}
