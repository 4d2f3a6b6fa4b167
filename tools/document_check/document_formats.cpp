#include "document_formats.h"

#include "compound_file.h"
#include "zip_directory.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr std::array<std::uint8_t, 4> ZipSignature = {0x50, 0x4B, 0x03, 0x04};
constexpr std::array<std::uint8_t, 8> CompoundFileSignature = {0xD0, 0xCF, 0x11, 0xE0,
                                                               0xA1, 0xB1, 0x1A, 0xE1};

// Package part names compare without regard to ASCII case.
bool SamePartName(const std::string& left, const std::string& right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(a) == lower(b);
    });
}

std::string OpenXmlProblem(Bytes document) {
    const std::vector<std::string> entries = ZipEntryNames(document);
    for (const std::string required : {"[Content_Types].xml", "word/document.xml"}) {
        const bool present =
            std::any_of(entries.begin(), entries.end(),
                        [&](const std::string& name) { return SamePartName(name, required); });
        if (!present)
            return "the package has no \"" + required + "\" entry";
    }
    return {};
}

std::string Word97Problem(Bytes document) {
    const std::vector<std::u16string> streams = RootStreamNames(document);
    if (std::find(streams.begin(), streams.end(), u"WordDocument") == streams.end())
        return "the compound file has no \"WordDocument\" stream";
    return {};
}

template <std::size_t N>
bool StartsWith(Bytes document, const std::array<std::uint8_t, N>& signature) {
    return document.size() >= N && std::equal(signature.begin(), signature.end(), document.begin());
}

} // namespace

const char* StoredExtension(TDocumentFormat format) {
    return format == TDocumentFormat::dfOpenXml ? ".docx" : ".doc";
}

std::string FormatProblem(TDocumentFormat format, Bytes document) {
    const bool openXml = format == TDocumentFormat::dfOpenXml;
    if (openXml ? !StartsWith(document, ZipSignature)
                : !StartsWith(document, CompoundFileSignature))
        return openXml ? "does not start with the zip signature 50 4B 03 04"
                       : "does not start with the compound file signature D0 CF 11 E0 A1 B1 1A E1";
    try {
        return openXml ? OpenXmlProblem(document) : Word97Problem(document);
    } catch (const FormatError& damaged) {
        return damaged.what();
    }
}
