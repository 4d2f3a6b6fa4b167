#include "form_compiler.h"

#include "form_writer.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>

namespace form_compiler {
namespace {

// Errors found within one line; CompileForm adds the line number.
using LineError = std::invalid_argument;

struct Token {
    enum Kind { Name, Integer, Text, Symbol } kind;
    std::string text; // a string token's content, quotes removed and '' undone
};

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNamePart(char c) {
    return IsNameStart(c) || IsDigit(c) || c == '.';
}

std::vector<Token> Tokenize(std::string_view line) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        const std::size_t start = i;
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (IsNameStart(c)) {
            while (i < line.size() && IsNamePart(line[i]))
                ++i;
            tokens.push_back({Token::Name, std::string(line.substr(start, i - start))});
        } else if (IsDigit(c) || (c == '-' && i + 1 < line.size() && IsDigit(line[i + 1]))) {
            ++i;
            while (i < line.size() && IsDigit(line[i]))
                ++i;
            tokens.push_back({Token::Integer, std::string(line.substr(start, i - start))});
        } else if (c == '\'') {
            std::string text;
            for (++i;; ++i) {
                if (i == line.size())
                    throw LineError("unterminated string");
                if (line[i] == '\'' && !(i + 1 < line.size() && line[i + 1] == '\''))
                    break;
                if (line[i] == '\'')
                    ++i; // '' stands for one quote
                text += line[i];
            }
            ++i;
            tokens.push_back({Token::Text, std::move(text)});
        } else if (c == '=' || c == ':' || c == '[' || c == ']' || c == ',') {
            ++i;
            tokens.push_back({Token::Symbol, std::string(1, c)});
        } else {
            throw LineError(std::string("unexpected character '") + c + "'");
        }
    }
    return tokens;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string result;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i++]);
        const int extra = lead < 0x80         ? 0
                          : lead >> 5 == 0x6  ? 1
                          : lead >> 4 == 0xE  ? 2
                          : lead >> 3 == 0x1E ? 3
                                              : -1;
        if (extra < 0 || i + extra > text.size())
            throw LineError("invalid UTF-8 in string");
        char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 0; k < extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i++]);
            if (next >> 6 != 0x2)
                throw LineError("invalid UTF-8 in string");
            code = code << 6 | (next & 0x3F);
        }
        constexpr char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            throw LineError("invalid UTF-8 in string");
        if (code >= 0x10000) {
            code -= 0x10000;
            result += static_cast<char16_t>(0xD800 + (code >> 10));
            result += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            result += static_cast<char16_t>(code);
        }
    }
    return result;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// A name without dots: an object, class, identifier or set member.
const std::string& CheckSimpleName(const std::string& name, std::string_view what) {
    if (name.find('.') != std::string::npos)
        throw LineError(std::string(what) + " '" + name + "' must not contain '.'");
    return name;
}

std::int32_t ParseInteger(const std::string& text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw LineError("integer " + text + " out of range");
    return value;
}

// Reads one line's tokens from left to right.
class TokenReader {
public:
    explicit TokenReader(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    bool AtEnd() const { return next_ == tokens_.size(); }
    bool NextIs(std::string_view symbol) const {
        return !AtEnd() && tokens_[next_].kind == Token::Symbol && tokens_[next_].text == symbol;
    }

    const Token& Take(Token::Kind kind, std::string_view what) {
        if (AtEnd() || tokens_[next_].kind != kind)
            throw LineError(std::string(what) + " expected");
        return tokens_[next_++];
    }
    void Expect(std::string_view symbol) {
        if (!NextIs(symbol))
            throw LineError("'" + std::string(symbol) + "' expected");
        ++next_;
    }
    const Token& TakeAny(std::string_view what) {
        if (AtEnd())
            throw LineError(std::string(what) + " expected");
        return tokens_[next_++];
    }
    std::string SimpleName(std::string_view what) {
        return CheckSimpleName(Take(Token::Name, what).text, what);
    }
    void ExpectEnd() {
        if (!AtEnd())
            throw LineError("unexpected '" + tokens_[next_].text + "' at the end of the line");
    }

private:
    std::vector<Token> tokens_;
    std::size_t next_ = 0;
};

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw LineError("cannot open picture file '" + path.string() + "'");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (file.bad())
        throw LineError("cannot read picture file '" + path.string() + "'");
    return bytes;
}

std::vector<std::uint8_t> PictureRecord(std::string_view className,
                                        const std::vector<std::uint8_t>& picture) {
    if (className.size() > 255)
        throw LineError("picture class name longer than 255 characters");
    if (picture.size() > 0xFFFFFFFFu)
        throw LineError("picture file larger than 4 GB");
    std::vector<std::uint8_t> record{static_cast<std::uint8_t>(className.size())};
    record.insert(record.end(), className.begin(), className.end());
    for (int i = 0; i < 4; ++i)
        record.push_back(static_cast<std::uint8_t>(picture.size() >> (8 * i)));
    record.insert(record.end(), picture.begin(), picture.end());
    return record;
}

class Compiler {
public:
    explicit Compiler(const std::filesystem::path& folder) : folder_(folder) {}

    void Line(int number, TokenReader line) {
        lineNumber_ = number;
        if (line.AtEnd())
            return;
        const std::string keyword = line.Take(Token::Name, "statement").text;
        if (keyword == "object") {
            const std::string name = line.SimpleName("object name");
            line.Expect(":");
            const std::string className = line.SimpleName("class name");
            line.ExpectEnd();
            BeginObject(name, className);
        } else if (keyword == "end") {
            line.ExpectEnd();
            EndObject();
        } else {
            Property(keyword, line);
        }
    }

    CompiledForm Finish() {
        if (!open_.empty())
            throw FormSourceError(open_.back().line,
                                  "object '" + open_.back().name + "' has no 'end'");
        if (!rootDone_)
            throw FormSourceError(1, "no object in the form");
        return {writer_.Bytes(), std::move(pictures_)};
    }

private:
    struct OpenObject {
        std::string name;
        int line;
        bool hasChildren;
    };

    void BeginObject(const std::string& name, const std::string& className) {
        if (open_.empty() && rootDone_)
            throw LineError("a form has only one root object");
        if (!open_.empty() && !open_.back().hasChildren) {
            writer_.EndList();
            open_.back().hasChildren = true;
        }
        writer_.BeginObject(className, name);
        open_.push_back({name, lineNumber_, false});
    }

    void EndObject() {
        if (open_.empty())
            throw LineError("'end' without an object");
        if (!open_.back().hasChildren)
            writer_.EndList();
        writer_.EndList();
        open_.pop_back();
        rootDone_ = open_.empty();
    }

    void Property(const std::string& name, TokenReader& line) {
        if (open_.empty())
            throw LineError("property '" + name + "' outside an object");
        if (open_.back().hasChildren)
            throw LineError("property '" + name + "' after a child object");
        if (name.front() == '.' || name.back() == '.' || name.find("..") != std::string::npos)
            throw LineError("malformed property name '" + name + "'");
        line.Expect("=");
        writer_.PropertyName(name);
        Value(line);
        line.ExpectEnd();
    }

    void Value(TokenReader& line) {
        if (line.NextIs("[")) {
            Set(line);
            return;
        }
        const Token& token = line.TakeAny("value");
        if (token.kind == Token::Integer) {
            writer_.Integer(ParseInteger(token.text));
        } else if (token.kind == Token::Text) {
            writer_.Text(Utf8ToUtf16(token.text));
        } else if (token.kind == Token::Name && EqualsIgnoringCase(token.text, "True")) {
            writer_.Boolean(true);
        } else if (token.kind == Token::Name && EqualsIgnoringCase(token.text, "False")) {
            writer_.Boolean(false);
        } else if (token.kind == Token::Name && token.text == "picture" && !line.AtEnd()) {
            Picture(line);
        } else if (token.kind == Token::Name) {
            writer_.Identifier(CheckSimpleName(token.text, "identifier"));
        } else {
            throw LineError("value expected");
        }
    }

    void Set(TokenReader& line) {
        line.Expect("[");
        std::vector<std::string> names;
        if (!line.NextIs("]")) {
            names.push_back(line.SimpleName("set member"));
            while (!line.NextIs("]")) {
                line.Expect(",");
                names.push_back(line.SimpleName("set member"));
            }
        }
        line.Expect("]");
        writer_.Set(names);
    }

    void Picture(TokenReader& line) {
        const std::string className = line.SimpleName("picture class name");
        const auto path = folder_ / line.Take(Token::Text, "picture file name").text;
        writer_.Binary(PictureRecord(className, ReadFileBytes(path)));
        if (std::find(pictures_.begin(), pictures_.end(), path) == pictures_.end())
            pictures_.push_back(path);
    }

    const std::filesystem::path folder_;
    FormWriter writer_;
    std::vector<OpenObject> open_;
    bool rootDone_ = false;
    std::vector<std::filesystem::path> pictures_;
    int lineNumber_ = 0;
};

} // namespace

CompiledForm CompileForm(std::string_view source, const std::filesystem::path& folder) {
    Compiler compiler(folder);
    int number = 0;
    for (std::size_t start = 0; start <= source.size();) {
        const std::size_t end = std::min(source.find('\n', start), source.size());
        ++number;
        try {
            compiler.Line(number, TokenReader(Tokenize(source.substr(start, end - start))));
        } catch (const LineError& error) {
            throw FormSourceError(number, error.what());
        }
        start = end + 1;
    }
    return compiler.Finish();
}

} // namespace form_compiler
