// The layout format end to end: the form compiler's text form, the binary stream it writes
// and the form reader that reads it back, damaged streams included.
#include "exceptions.h"
#include "form_compiler.h"
#include "form_test_support.h"
#include "form_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include <stdlib.h>

namespace {

namespace fs = std::filesystem;
using classlib::EReadError;
using classlib::form::Object;
using classlib::form::ReadForm;
using classlib::form::Value;
using classlib::form::ValueTag;
using form_compiler::CompileForm;
using form_compiler::FormSourceError;
using namespace form_test;

// Messages of EReadError, or "" when reading succeeds.
std::string ReadError(const Bytes& bytes) {
    try {
        ReadForm(bytes);
        return "";
    } catch (const EReadError& error) {
        return error.Message();
    }
}

// A scratch folder with a small picture file, removed afterwards.
class FormFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "form_tests.XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        std::ofstream(folder_ / "tiny.jpg", std::ios::binary)
            .write(reinterpret_cast<const char*>(picture_.data()), picture_.size());
    }
    void TearDown() override {
        if (!folder_.empty())
            fs::remove_all(folder_);
    }

    const Object& Compile(const std::string& source) {
        bytes_ = CompileForm(source, folder_).bytes;
        root_ = ReadForm(bytes_);
        return root_;
    }

    const Bytes picture_{0xFF, 0xD8, 0x00, 0x27, 0xFF, 0xD9};
    fs::path folder_;
    Bytes bytes_; // the binary values of root_ point into it
    Object root_;
};

constexpr std::string_view EveryKindSource = R"(object Form1: TForm1
  Left = 504
  Font.Height = -11
  Caption = 'Valkesta'
  Quoted = 'It''s'
  Empty = ''
  Cyrillic = 'Приказ № 4'
  Astral = 'G𝄞'
  BorderStyle = bsSingle
  OldCreateOrder = False
  Stretch = true
  BorderIcons = [biSystemMenu, biMinimize]
  Font.Style = []
  Picture.Data = picture TJPEGImage 'tiny.jpg'
  object Panel1: TPanel
    object Button1: TButton
      OnClick = Button1Click
    end
  end
  object Button2: TButton
  end
end
)";

TEST_F(FormFolder, EveryValueKindSurvivesCompilingAndReading) {
    const Object& form = Compile(std::string(EveryKindSource));
    EXPECT_EQ(form.className, "TForm1");
    EXPECT_EQ(form.name, "Form1");
    EXPECT_EQ(Rendered(form), (std::vector<std::string>{
                                  "Left = 504",
                                  "Font.Height = -11",
                                  "Caption = 'Valkesta'",
                                  "Quoted = 'It's'",
                                  "Empty = ''",
                                  "Cyrillic = W'Приказ № 4'",
                                  "Astral = W'G𝄞'",
                                  "BorderStyle = bsSingle",
                                  "OldCreateOrder = False",
                                  "Stretch = True",
                                  "BorderIcons = [biSystemMenu, biMinimize]",
                                  "Font.Style = []",
                                  "Picture.Data = binary(21)",
                              }));
    EXPECT_EQ(Property(form, "Astral").AsText(), u"G\U0001D11E");

    // The picture record: class-name length, class name, 4-byte length, the file's bytes.
    Bytes record{10, 'T', 'J', 'P', 'E', 'G', 'I', 'm', 'a', 'g', 'e', 6, 0, 0, 0};
    record.insert(record.end(), picture_.begin(), picture_.end());
    const auto data = Property(form, "Picture.Data").AsBinary();
    EXPECT_EQ(Bytes(data.begin(), data.end()), record);
    EXPECT_GE(data.data(), bytes_.data()); // not copied: points into the stream
    EXPECT_LE(data.data() + data.size(), bytes_.data() + bytes_.size());

    ASSERT_EQ(ChildNames(form), (std::vector<std::string>{"Panel1", "Button2"}));
    const Object& panel = Child(form, "Panel1");
    EXPECT_EQ(panel.className, "TPanel");
    EXPECT_TRUE(panel.properties.empty());
    ASSERT_EQ(ChildNames(panel), std::vector<std::string>{"Button1"});
    EXPECT_EQ(Rendered(Child(panel, "Button1")),
              std::vector<std::string>{"OnClick = Button1Click"});
    EXPECT_TRUE(Child(form, "Button2").properties.empty());
}

// The bytes the format header describes, for a form with one of each structure.
TEST_F(FormFolder, StreamLayoutIsTheDocumentedOne) {
    Compile("object F: TF\n  A = 1\n  W = 'Ж'\n  S = [x]\n  P = picture T 'tiny.jpg'\n"
            "  object B: TB\n  end\nend\n");
    const auto tag = [](ValueTag t) { return static_cast<std::uint8_t>(t); };
    Bytes expected{'T', 'P', 'F', '0', 2, 'T', 'F', 1, 'F'};
    expected.insert(expected.end(), {1, 'A', tag(ValueTag::Int8), 1});
    expected.insert(expected.end(), {1, 'W', tag(ValueTag::WideString), 1, 0, 0, 0, 0x16, 0x04});
    expected.insert(expected.end(), {1, 'S', tag(ValueTag::Set), 1, 'x', 0});
    expected.insert(expected.end(),
                    {1, 'P', tag(ValueTag::Binary), 12, 0, 0, 0, 1, 'T', 6, 0, 0, 0});
    expected.insert(expected.end(), picture_.begin(), picture_.end());
    expected.insert(expected.end(), {0, 2, 'T', 'B', 1, 'B', 0, 0, 0});
    EXPECT_EQ(bytes_, expected);
}

TEST_F(FormFolder, IntegersTakeTheSmallestSizeThatHoldsThem) {
    struct Case {
        std::string text;
        std::int32_t value;
        ValueTag tag;
    };
    const Case cases[] = {
        {"0", 0, ValueTag::Int8},
        {"127", 127, ValueTag::Int8},
        {"-128", -128, ValueTag::Int8},
        {"128", 128, ValueTag::Int16},
        {"-129", -129, ValueTag::Int16},
        {"32767", 32767, ValueTag::Int16},
        {"-32768", -32768, ValueTag::Int16},
        {"32768", 32768, ValueTag::Int32},
        {"-32769", -32769, ValueTag::Int32},
        {"2147483647", 2147483647, ValueTag::Int32},
        {"-2147483648", -2147483647 - 1, ValueTag::Int32},
    };
    constexpr std::size_t tagOffset = 4 + 2 + 2 + 2; // signature, "F", "A", "V"
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Object& form = Compile("object A: F\n  V = " + c.text + "\nend\n");
        EXPECT_EQ(Property(form, "V").AsInt(), c.value);
        EXPECT_EQ(bytes_.at(tagOffset), static_cast<std::uint8_t>(c.tag));
        const std::size_t payload = c.tag == ValueTag::Int8 ? 1 : c.tag == ValueTag::Int16 ? 2 : 4;
        EXPECT_EQ(bytes_.size(), tagOffset + 1 + payload + 2);
    }
}

TEST_F(FormFolder, CompilerErrorsNameTheLine) {
    struct Case {
        std::string source;
        int line;
        std::string message;
    };
    const Case cases[] = {
        {"", 1, "no object in the form"},
        {"object F: T\n  Left 5\nend\n", 2, "'=' expected"},
        {"object F: T\n  Left =\nend\n", 2, "value expected"},
        {"object F: T\n  Left = 5 6\nend\n", 2, "unexpected '6' at the end of the line"},
        {"object F: T\n\n  Left = 2147483648\nend\n", 3, "integer 2147483648 out of range"},
        {"object F: T\n  Caption = 'open\nend\n", 2, "unterminated string"},
        {"object F: T\n  Caption = '\xC3('\nend\n", 2, "invalid UTF-8 in string"},
        {"object F: T\n  Caption = '\xED\xA0\x80'\nend\n", 2, "invalid UTF-8 in string"},
        {"object F: T\n  Left = @\nend\n", 2, "unexpected character '@'"},
        {"object F: T\n  Set = [a b]\nend\n", 2, "',' expected"},
        {"object F: T\n  Set = [a,]\nend\n", 2, "set member expected"},
        {"object F: T\n  Color = cl.Red\nend\n", 2, "identifier 'cl.Red' must not contain '.'"},
        {"object F: T\n  Font..Height = 1\nend\n", 2, "malformed property name 'Font..Height'"},
        {"object F: T\n  P = picture T 'missing.jpg'\nend\n", 2, "cannot open picture file"},
        {"object F: T\n  " + std::string(256, 'x') + " = 1\nend\n", 2,
         "is empty or longer than 255 characters"},
        {"object F.G: T\nend\n", 1, "object name 'F.G' must not contain '.'"},
        {"object F T\nend\n", 1, "':' expected"},
        {"object F: T\n  object G: T\n  end\n  Left = 1\nend\n", 4,
         "property 'Left' after a child object"},
        {"Left = 1\n", 1, "property 'Left' outside an object"},
        {"end\n", 1, "'end' without an object"},
        {"object F: T\nend\nobject G: T\nend\n", 3, "a form has only one root object"},
        {"object F: T\n  object G: T\nend\n", 1, "object 'F' has no 'end'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        try {
            CompileForm(c.source, folder_);
            ADD_FAILURE() << "compiled";
        } catch (const FormSourceError& error) {
            EXPECT_EQ(error.Line(), c.line);
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

TEST_F(FormFolder, EveryTruncationIsAReadError) {
    Compile(std::string(EveryKindSource));
    for (std::size_t size = 0; size < bytes_.size(); ++size) {
        SCOPED_TRACE(size);
        // An exact-size copy, so reading past the end is an address-sanitizer error.
        const Bytes prefix(bytes_.begin(), bytes_.begin() + size);
        EXPECT_NE(ReadError(prefix), "");
    }
    Bytes longer = bytes_;
    longer.push_back(0);
    EXPECT_EQ(ReadError(longer), "Invalid stream format");
}

// Hand-made streams: the signature, then pieces of the root object.
Bytes Stream(std::initializer_list<Bytes> pieces) {
    Bytes stream{'T', 'P', 'F', '0'};
    for (const Bytes& piece : pieces)
        stream.insert(stream.end(), piece.begin(), piece.end());
    return stream;
}
Bytes Short(std::string_view text) {
    Bytes bytes{static_cast<std::uint8_t>(text.size())};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}
Bytes Tag(ValueTag tag) {
    return {static_cast<std::uint8_t>(tag)};
}
const Bytes End{0};

Bytes Nested(int depth) {
    Bytes stream{'T', 'P', 'F', '0'};
    for (int i = 0; i < depth; ++i)
        stream.insert(stream.end(), {1, 'T', 1, 'N', 0});
    stream.insert(stream.end(), static_cast<std::size_t>(depth), 0);
    return stream;
}

TEST(FormReader, DamagedStreamsRaiseReadErrorsNamingTheProperty) {
    const Bytes form = Short("TForm1"), name = Short("Form1");
    struct Case {
        std::string what;
        Bytes stream;
        std::string message;
    };
    const Case cases[] = {
        {"valid", Stream({form, name, Short("Caption"), Tag(ValueTag::True), End, End}), ""},
        {"signature", {'T', 'P', 'F', '1', 1, 'T', 0, 0, 0}, "Invalid stream format"},
        {"too short for a signature", {'T', 'P'}, "Stream read error"},
        {"no root class", Stream({Short(""), name, End, End}), "Invalid stream format"},
        {"trailing byte", Stream({form, name, End, End, End}), "Invalid stream format"},
        {"cut in a name", Stream({form, {5, 'F', 'o'}}), "Stream read error"},
        {"unknown tag", Stream({form, name, Short("Caption"), {0}, End, End}),
         "Error reading Form1.Caption: Invalid property value"},
        {"tag past the last", Stream({form, name, Short("Left"), {11}, End, End}),
         "Error reading Form1.Left: Invalid property value"},
        {"cut integer", Stream({form, name, Short("Left"), Tag(ValueTag::Int32), {1, 2}}),
         "Error reading Form1.Left: Stream read error"},
        {"wide count past the end",
         Stream({form, name, Short("Caption"), Tag(ValueTag::WideString), {3, 0, 0, 0, 'a', 0}}),
         "Error reading Form1.Caption: Stream read error"},
        {"wide count that wraps when doubled",
         Stream({form,
                 name,
                 Short("Caption"),
                 Tag(ValueTag::WideString),
                 {1, 0, 0, 0x80, 'a', 0},
                 End,
                 End}),
         "Error reading Form1.Caption: Stream read error"},
        {"binary length past the end",
         Stream({Short("TImage"),
                 Short("Image1"),
                 Short("Picture.Data"),
                 Tag(ValueTag::Binary),
                 {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3}}),
         "Error reading Image1.Picture.Data: Stream read error"},
        {"8-bit text that is not ASCII",
         Stream({form, name, Short("Font.Name"), Tag(ValueTag::String), Short("\xC0"), End, End}),
         "Error reading Form1.Font.Name: Invalid property value"},
        {"empty identifier",
         Stream({form, name, Short("Color"), Tag(ValueTag::Identifier), Short(""), End, End}),
         "Error reading Form1.Color: Invalid property value"},
        {"unended set", Stream({form, name, Short("Font.Style"), Tag(ValueTag::Set), Short("a")}),
         "Error reading Form1.Font.Style: Stream read error"},
        {"unnamed object", Stream({form, Short(""), Short("Left"), {0xEE}, End, End}),
         "Error reading Left: Invalid property value"},
        {"no end of children", Stream({form, name, End}), "Stream read error"},
        {"nesting of a real layout", Nested(4), ""},
        {"nesting without bound", Nested(100000), "Invalid stream format"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadError(c.stream), c.message) << c.what;
}

TEST(FormReader, AccessorsRefuseValuesOfAnotherKind) {
    const Bytes stream = Stream({Short("T"),
                                 Short("N"),
                                 Short("I"),
                                 Tag(ValueTag::Int16),
                                 {0x18, 0xFC},
                                 Short("B"),
                                 Tag(ValueTag::False),
                                 Short("D"),
                                 Tag(ValueTag::Identifier),
                                 Short("clRed"),
                                 Short("A"),
                                 Tag(ValueTag::String),
                                 Short("Ok"),
                                 Short("W"),
                                 Tag(ValueTag::WideString),
                                 {1, 0, 0, 0, 0x16, 0x04},
                                 Short("X"),
                                 Tag(ValueTag::Binary),
                                 {2, 0, 0, 0, 7, 8},
                                 Short("S"),
                                 Tag(ValueTag::Set),
                                 Short("fsBold"),
                                 End,
                                 End,
                                 End});
    const Object form = ReadForm(stream);
    ASSERT_EQ(form.properties.size(), 7u);
    EXPECT_EQ(Property(form, "I").AsInt(), -1000);
    EXPECT_FALSE(Property(form, "B").AsBool());
    EXPECT_EQ(Property(form, "D").AsIdent(), "clRed");
    EXPECT_EQ(Property(form, "A").AsText(), u"Ok");
    EXPECT_EQ(Property(form, "W").AsText(), u"Ж");
    EXPECT_EQ(Property(form, "X").AsBinary().size(), 2u);
    EXPECT_EQ(Property(form, "X").AsBinary().data(), stream.data() + 47);
    EXPECT_EQ(Property(form, "S").AsSet(), std::vector<std::string>{"fsBold"});

    // Each value answers exactly one accessor (text: AsText for both kinds of text).
    const std::vector<std::function<void(const Value&)>> accessors{
        [](const Value& v) { v.AsInt(); },    [](const Value& v) { v.AsBool(); },
        [](const Value& v) { v.AsIdent(); },  [](const Value& v) { v.AsText(); },
        [](const Value& v) { v.AsBinary(); }, [](const Value& v) { v.AsSet(); }};
    const std::vector<std::pair<std::string, std::size_t>> kinds{
        {"I", 0}, {"B", 1}, {"D", 2}, {"A", 3}, {"W", 3}, {"X", 4}, {"S", 5}};
    for (const auto& [property, answering] : kinds) {
        for (std::size_t i = 0; i < accessors.size(); ++i) {
            SCOPED_TRACE(property + " accessor " + std::to_string(i));
            if (i == answering) {
                EXPECT_NO_THROW(accessors[i](Property(form, property)));
                continue;
            }
            try {
                accessors[i](Property(form, property));
                ADD_FAILURE() << "no error";
            } catch (const EReadError& error) {
                EXPECT_EQ(error.Message(), "Invalid property value");
            }
        }
    }
}

TEST(FormReader, PropertyErrorMessage) {
    using classlib::form::PropertyErrorMessage;
    EXPECT_EQ(PropertyErrorMessage("Image1", "Picture.Data", "JPEG error #53"),
              "Error reading Image1.Picture.Data: JPEG error #53");
    EXPECT_EQ(PropertyErrorMessage("Form1", "Caption", "Stream read error"),
              "Error reading Form1.Caption: Stream read error");
    EXPECT_EQ(PropertyErrorMessage("", "Caption", "x"), "Error reading Caption: x");
}

// The fuzzer's seeds are the compiled samples, so they follow the format as it changes.
TEST(FuzzCorpus, SeedsAreTheCompiledSamples) {
    const fs::path samples = sourceDir / "tests/form/samples";
    const fs::path corpus = sourceDir / "tests/fuzz/form_reader";
    std::vector<std::string> sampleNames, seedNames;
    for (const auto& entry : fs::directory_iterator(samples)) {
        if (entry.path().extension() != ".form")
            continue;
        const std::string name = entry.path().stem().string();
        sampleNames.push_back(name);
        const Bytes source = ReadFile(entry.path());
        const Bytes compiled =
            CompileForm(std::string(source.begin(), source.end()), samples).bytes;
        EXPECT_EQ(ReadFile(corpus / name), compiled)
            << "stale seed " << name << ": recompile it with form_compiler " << entry.path() << ' '
            << (corpus / name);
    }
    for (const auto& entry : fs::directory_iterator(corpus))
        seedNames.push_back(entry.path().filename().string());
    std::sort(sampleNames.begin(), sampleNames.end());
    std::sort(seedNames.begin(), seedNames.end());
    EXPECT_FALSE(seedNames.empty());
    EXPECT_EQ(seedNames, sampleNames);
}

} // namespace
