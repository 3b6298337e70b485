// The tokenizer and the files read through it: comment stripping, the readers, line
// counting and the fatal reports.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>

#include "Engine/ParseBuffer.h"
#include "Engine/ParseFile.h"
#include "TestSupport.h"

namespace {

// A ParseBuffer over its own writable copy of a text.
struct TextBuffer {
    std::string text;
    ParseBuffer buffer;
    explicit TextBuffer(const std::string& t, const char* name = "t") : text(t), buffer(&text[0], -1, name) {}
};

// The number of the source line holding needle, so expected reports follow the code.
int SourceLine(const char* file, const char* needle)
{
    std::ifstream in(file);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.find(needle) != std::string::npos) return number;
    }
    ADD_FAILURE() << needle << " not found in " << file;
    return -1;
}

// The whole failure report of a syntax error, as a regular expression.
std::string SyntaxReport(int line, const std::string& name, const std::string& message, const std::string& at,
                         const std::string& lineWas)
{
    int sourceLine = SourceLine("Engine/ParseBuffer.cpp", "AssertionFailure(__LINE__, __FILE__, \"ALL BUILDS\", \"\",");
    return Literal("ASSERTION FAILURE:\nEngine/ParseBuffer.cpp(" + std::to_string(sourceLine) +
                   "):  (ALL BUILDS)\nExpression was: (  )\n\n   Syntax error on line " + std::to_string(line) +
                   " of buffer \"" + name + "\":\n\nERROR: " + message + "\n\nOCCURRED AT: \"" + at +
                   "\"\n\nLINE WAS: \"" + lineWas + "\"\n");
}

#define EXPECT_SYNTAX_ERROR(statements, ...) \
    EXPECT_EXIT({ statements; }, ::testing::ExitedWithCode(1), SyntaxReport(__VA_ARGS__))

}  // namespace

TEST(ParseBufferStripComments, RemovesCommentsAndKeepsTheirLineBreaks)
{
    const char* cases[][2] = {
        {"a // x", "a "},            // at the end, no final line break
        {"x // c\r\ny", "x \r\ny"},  // CR and LF after a line comment stay
        {"x // c\rmore", "x \rmore"},
        {"a /*x\ny*/ b", "a \n b"},
        {"a /* x\r\ny\nz", "a \r\n\n"},  // unterminated: the rest goes, its line breaks stay
        {"1/2 a/", "1/2 a/"},            // a lone slash is text
        {"/*/ x */y", "y"},              // the opening star cannot close the comment
        {"p/**/q//r\ns", "pq\ns"},
        {"/* // */x", "x"},
        {"\"a//b\" \"c\"\nd", "\"a\nd"},  // markers count inside quoted strings too
    };
    for (const auto& c : cases) {
        TextBuffer t(c[0]);
        t.buffer.StripComments();
        EXPECT_EQ(std::string(t.buffer.GetBuffer()), c[1]) << "text: " << c[0];
        EXPECT_EQ(strlen(c[1]), static_cast<size_t>(t.buffer.GetLength()));
    }
    // Line numbers after a block comment stay true.
    EXPECT_SYNTAX_ERROR(TextBuffer t("a /*x\ny*/ b"); t.buffer.StripComments(); t.buffer.ExpectWord("a");
                        t.buffer.ReadInt(), 2, "t", "couldn't find expected integer expression", "b", " b");
}

TEST(ParseBufferStripComments, AfterTheCursorMovedIsAnAssertionFailure)
{
    int line = SourceLine("Engine/ParseBuffer.cpp", "Cannot strip comments after parsing has begun!");
    std::string expected =
        Literal("ASSERTION FAILURE:\nEngine/ParseBuffer.cpp(" + std::to_string(line) +
                "):  (ALL BUILDS)\nExpression was: ( _read == _buffer )\n\n"
                "   ParseBuffer::StripComments() : Cannot strip comments after parsing has begun!\n");
    EXPECT_EXIT(TextBuffer t("12"); t.buffer.ReadInt();
                t.buffer.StripComments(), ::testing::ExitedWithCode(1), expected);
    EXPECT_EXIT(TextBuffer t(" x"); t.buffer.PeekChar();
                t.buffer.StripComments(), ::testing::ExitedWithCode(1), expected);
}

TEST(ParseBufferNumbers, TheLeadingNumberOfTheWholeTokenIsTaken)
{
    struct IntCase {
        const char* text;
        int32_t value;
        const char* rest;
    } ints[] = {
        {"+7", 7, ""},
        {"-", 0, ""},  // a token was collected, so no error
        {"5-3 x", 5, " x"},
        {"--5", 0, ""},
        {"\n\t42x", 42, "x"},
        {"-2147483648", INT32_MIN, ""},
        {"99999999999", INT32_MAX, ""},  // saturates rather than wrapping
        {"-99999999999", INT32_MIN, ""},
    };
    for (const IntCase& c : ints) {
        TextBuffer t(c.text);
        EXPECT_EQ(t.buffer.ReadInt(), c.value) << c.text;
        EXPECT_STREQ(t.buffer.GetReadPosition(), c.rest) << c.text;
    }
    struct FloatCase {
        const char* text;
        double value;
        const char* rest;
    } floats[] = {
        {".5", 0.5, ""},
        {"2.5e3", 2.5, "e3"},  // no exponents
        {"1e+006", 1.0, "e+006"},
        {"-1.25)", -1.25, ")"},
        {"+.5", 0.5, ""},
        {"5.", 5.0, ""},
        {"1.2.3", 1.2, ""},
        {"-", 0.0, ""},
        {"3-4", 3.0, ""},
        {"0.1", 0.1, ""},
        {"123456789012345678901234567890", 123456789012345678901234567890.0, ""},
    };
    for (const FloatCase& c : floats) {
        TextBuffer t(c.text);
        EXPECT_EQ(t.buffer.ReadFloat(), c.value) << c.text;
        EXPECT_STREQ(t.buffer.GetReadPosition(), c.rest) << c.text;
    }
    // Past the double range, as the C library does it.
    std::string huge = "1" + std::string(400, '0');
    std::string tiny = "0." + std::string(400, '0') + "1";
    TextBuffer h("-" + huge + " " + tiny);
    EXPECT_EQ(h.buffer.ReadFloat(), -HUGE_VAL);
    EXPECT_EQ(h.buffer.ReadFloat(), strtod(tiny.c_str(), nullptr));
}

TEST(ParseBufferNumbers, TokensStopAt1023Characters)
{
    TextBuffer t(std::string(1500, '1') + " 9");
    EXPECT_EQ(t.buffer.ReadInt(), INT32_MAX);
    EXPECT_EQ(strlen(t.buffer.GetReadPosition()), 1500u - 1023u + 2u);
    t.buffer.ReadInt();  // the remaining 477 digits
    EXPECT_EQ(t.buffer.ReadInt(), 9);
}

TEST(ParseBufferNumbers, TextThatIsNotANumberIsASyntaxError)
{
    EXPECT_SYNTAX_ERROR(TextBuffer t("x");
                        t.buffer.ReadInt(), 1, "t", "couldn't find expected integer expression", "x", "x");
    EXPECT_SYNTAX_ERROR(TextBuffer t("1,\n  e5 more\nnext", "floats"); t.buffer.ReadFloat(); t.buffer.ExpectChar(',');
                        t.buffer.ReadFloat(), 2, "floats", "couldn't find expected floating point expression",
                        "e5 more", "  e5 more");
}

TEST(ParseBufferReadPoint, ParenthesesAreOptionalAndCoordinatesClampToFloat)
{
    TextBuffer t("(1.5, 2) 1.5, 2 ( -3 ,4 )\n(1" + std::string(50, '0') + ", -1" + std::string(50, '0') + ")");
    EXPECT_EQ(t.buffer.ReadPoint(), Vec2f(1.5f, 2.0f));
    EXPECT_EQ(t.buffer.ReadPoint(), Vec2f(1.5f, 2.0f));
    EXPECT_EQ(t.buffer.ReadPoint(), Vec2f(-3.0f, 4.0f));
    EXPECT_EQ(t.buffer.ReadPoint(), Vec2f(FLT_MAX, -FLT_MAX));
    EXPECT_SYNTAX_ERROR(TextBuffer u("(1.5, 2 ;");
                        u.buffer.ReadPoint(), 1, "t", "couldn't find expected ' ) ' character", ";", "(1.5, 2 ;");
}

TEST(ParseBufferReadQuotedString, ReadsUpToTheClosingQuote)
{
    TextBuffer t("\"key\" \"\" \"a\\b\" \"two\nlines\" \"abc\"");
    std::string s;
    t.buffer.ReadQuotedString(s, false);
    EXPECT_EQ(s, "key");
    t.buffer.ReadQuotedString(s, false);
    EXPECT_EQ(s, "");
    t.buffer.ReadQuotedString(s, false);
    EXPECT_EQ(s, "a\\b");  // no escapes
    t.buffer.ReadQuotedString(s, true);
    EXPECT_EQ(s, "two\nlines");
    EXPECT_EQ(t.buffer.GetLine(), 1);  // line breaks inside a token are not counted
    char small[4];
    t.buffer.ReadQuotedString(small, sizeof(small), false);
    EXPECT_STREQ(small, "abc");

    std::string longest(1023, 'q');
    TextBuffer u("\"" + longest + "\"");
    u.buffer.ReadQuotedString(s, false);
    EXPECT_EQ(s, longest);
}

TEST(ParseBufferReadQuotedString, OverflowLineBreaksAndTheEndOfTextAreSyntaxErrors)
{
    // Quoting this line would pass the report's 2047 characters: only its start is checked.
    EXPECT_EXIT(TextBuffer t("\"" + std::string(1024, 'q') + "\""); std::string s;
                t.buffer.ReadQuotedString(s, false), ::testing::ExitedWithCode(1),
                Literal("ERROR: quoted string was too long, overflowed buffer size (max len = 1023 characters)\n\n"
                        "OCCURRED AT: \"q\"\"\n"));
    EXPECT_SYNTAX_ERROR(TextBuffer t("\"abcd\""); char small[4];
                        t.buffer.ReadQuotedString(small, sizeof(small), false), 1, "t",
                        "quoted string was too long, overflowed buffer size (max len = 3 characters)", "d\"",
                        "\"abcd\"");
    EXPECT_SYNTAX_ERROR(TextBuffer t("x\n\"a\r\nb\""); t.buffer.ExpectChar('x'); std::string s;
                        t.buffer.ReadQuotedString(s, false), 2, "t", "illegal EOL found inside quoted string", "",
                        "\"a");
    EXPECT_SYNTAX_ERROR(TextBuffer t("\"abc"); std::string s; t.buffer.ReadQuotedString(s, true), 1, "t",
                                                              "illegal EOF found inside quoted string", "", "\"abc");
    EXPECT_SYNTAX_ERROR(TextBuffer t("abc"); std::string s; t.buffer.ReadQuotedString(s, true), 1, "t",
                                                            "couldn't find expected ' \" ' character", "abc", "abc");
    // A text editor puts the 'x' on line 3; the string's own line break is not counted.
    EXPECT_SYNTAX_ERROR(TextBuffer t("\"a\nb\"\nx"); std::string s; t.buffer.ReadQuotedString(s, true);
                        t.buffer.ReadInt(), 2, "t", "couldn't find expected integer expression", "x", "x");
}

TEST(ParseBufferExpect, WordsMatchIgnoringCaseWithoutLookingFurther)
{
    TextBuffer t("LINEDEFS vertexes\r\n\r\n VertexesX { }");
    t.buffer.ExpectWord("Linedefs");
    t.buffer.ExpectWord("Vertexes");
    t.buffer.ExpectWord("Vertexes");
    EXPECT_EQ(t.buffer.GetLine(), 3);  // line feeds count; carriage returns are white space
    EXPECT_EQ(t.buffer.PeekChar(), 'X');
    t.buffer.ExpectChar('X');
    t.buffer.ExpectChar('{');
    EXPECT_EQ(t.buffer.PeekChar(), '}');
    EXPECT_EQ(t.buffer.PeekChar(), '}');  // peeking consumes nothing
    t.buffer.ExpectChar('}');
    EXPECT_EQ(t.buffer.PeekChar(), '\0');

    EXPECT_SYNTAX_ERROR(TextBuffer u("Vert"); u.buffer.ExpectWord("Vertexes"), 1, "t",
                                              "couldn't find expected token-word \"Vertexes\"", "Vert", "Vert");
    EXPECT_SYNTAX_ERROR(TextBuffer u("{\n\n  ;"); u.buffer.ExpectChar('{');
                        u.buffer.ExpectChar('}'), 3, "t", "couldn't find expected ' } ' character", ";", "  ;");
    EXPECT_SYNTAX_ERROR(TextBuffer u("");
                        u.buffer.ExpectChar('{'), 1, "t", "couldn't find expected ' { ' character", "", "");
}

TEST(ParseBufferReportSyntaxError, QuotesTheCursorAndAtMost1023CharactersOfTheLine)
{
    std::string word(1490, 'a');
    EXPECT_EXIT(TextBuffer t("\n" + word + "bcdefghij\r\nnext", "wide"); t.buffer.ExpectWord(word.c_str());
                t.buffer.ReportSyntaxError("custom message"), ::testing::ExitedWithCode(1),
                Literal("Syntax error on line 2 of buffer \"wide\":\n\nERROR: custom message\n\n"
                        "OCCURRED AT: \"bcdefghij\"\n\nLINE WAS: \"") +
                    "a{1023}\"\n");
}

// ---------------------------------------------------------------------------
// ParseFile

class ParseFileTest : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes) const { return _folder.Write("file.txt", bytes); }
    TestFolder _folder;
};

TEST_F(ParseFileTest, ReadsTheWholeFileThroughABufferNamedAfterIt)
{
    std::string path = Write("// header\nWord { (1.5, -2) 7 \"text value\" }\n");
    ParseFile file(path.c_str());
    file.StripComments();
    file.ExpectWord("WORD");
    file.ExpectChar('{');
    EXPECT_EQ(file.ReadPoint(), Vec2f(1.5f, -2.0f));
    EXPECT_EQ(file.ReadInt(), 7);
    std::string s;
    file.ReadQuotedString(s, false);
    EXPECT_EQ(s, "text value");
    file.ExpectChar('}');
    EXPECT_EQ(file.PeekChar(), '\0');

    for (const char* body : {"Vertexes\n{\n  oops\n", "Vertexes\r\n{\r\n  oops\r\n"}) {
        path = Write(body);
        EXPECT_SYNTAX_ERROR(ParseFile f(path.c_str()); f.ExpectWord("Vertexes"); f.ExpectChar('{');
                            f.ReadInt(), 3, path, "couldn't find expected integer expression", "oops", "  oops");
    }
}

TEST_F(ParseFileTest, AFileThatCannotBeReadIsAnAssertionFailureNamingIt)
{
    std::string path = _folder.Path() + "/no such file.map";
    int line = SourceLine("Engine/ParseFile.cpp", "could not open file");
    EXPECT_EXIT(ParseFile file(path.c_str()), ::testing::ExitedWithCode(1),
                Literal("ASSERTION FAILURE:\nEngine/ParseFile.cpp(" + std::to_string(line) +
                        "):  (ALL BUILDS)\nExpression was: ( _fileHandle )\n\n"
                        "   ParseFile::_OpenFileByName() : could not open file \"" +
                        path + "\" for reading\n"));
    // A directory opens here but has no readable size.
    EXPECT_EXIT(ParseFile file(_folder.Path().c_str()), ::testing::ExitedWithCode(1),
                "ParseFile::_(OpenFileByName\\(\\) : could not open|LoadFileIntoBufferAndClose\\(\\) : could not read) "
                "file \"" +
                    Literal(_folder.Path()) + "\"");
}
