#include "Engine/ParseBuffer.h"

#include <cfloat>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <new>

#include "Engine/AssertionFailure.h"

// Tokens are converted from stack buffers of this size (at most one less in characters).
static const int32_t TOKEN_BUFFER_SIZE = 1024;

static inline bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

static inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

static inline bool IsIntegerChar(char c)
{
    return IsDigit(c) || c == '-' || c == '+';
}

static inline bool IsFloatChar(char c)
{
    return IsDigit(c) || c == '.' || c == '-' || c == '+';
}

static inline char ToLowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Copies up to TOKEN_BUFFER_SIZE - 1 characters of text, stopping at a line break or the end.
static void CopyRestOfLine(char* dest, const char* text)
{
    int32_t n = 0;
    while (n < TOKEN_BUFFER_SIZE - 1 && text[n] != '\0' && text[n] != '\r' && text[n] != '\n') {
        dest[n] = text[n];
        ++n;
    }
    dest[n] = '\0';
}

// The longest leading optionally signed decimal integer of token; the rest is ignored.
// Values beyond 32 bits saturate instead of wrapping.
static int32_t LeadingInteger(const char* token)
{
    const char* p = token;
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = (*p == '-');
        ++p;
    }
    int64_t value = 0;
    const int64_t limit = static_cast<int64_t>(INT32_MAX) + 1;
    for (; IsDigit(*p); ++p) {
        value = value * 10 + (*p - '0');
        if (value > limit) value = limit;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    return static_cast<int32_t>(value);
}

// The longest leading optionally signed decimal number with an optional fraction.
// There is no exponent, so the token holds only digits, '.', '-' and '+'.
static double LeadingNumber(const char* token)
{
    const char* p = token;
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = (*p == '-');
        ++p;
    }
    const char* first = p;
    bool hasDigits = false;
    while (IsDigit(*p)) {
        ++p;
        hasDigits = true;
    }
    if (*p == '.') {
        ++p;
        while (IsDigit(*p)) {
            ++p;
            hasDigits = true;
        }
    }
    if (!hasDigits) return negative ? -0.0 : 0.0;

    double value = 0.0;
    std::from_chars_result result = std::from_chars(first, p, value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != p) {
        // Out of double range: let the C library pick infinity or the nearest tiny value.
        char number[TOKEN_BUFFER_SIZE];
        size_t count = static_cast<size_t>(p - first);
        memcpy(number, first, count);
        number[count] = '\0';
        value = strtod(number, nullptr);
    }
    return negative ? -value : value;
}

// Coordinates are 32-bit; a value past the float range would not convert safely.
static float ToFloatCoordinate(double value)
{
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

ParseBuffer::ParseBuffer(char* text, int32_t length_, const char* name_)
    : name(name_), _buffer(text), length(length_), _read(text), line(1), lineStart(text)
{
    FATAL_CHECK(text != nullptr, "ParseBuffer::ParseBuffer() : no text given for buffer \"%s\"", name_ ? name_ : "");
    if (length < 0) length = static_cast<int32_t>(strlen(text));
}

void ParseBuffer::_SkipWhiteSpace()
{
    while (IsWhiteSpace(*_read)) {
        if (*_read == '\n') {
            ++line;
            lineStart = _read + 1;
        }
        ++_read;
    }
}

// Skips a line comment from src (just after its two slashes) to the end of its line, copies the
// line break that ends it to out, and returns where the text goes on.
static const char* SkipLineComment(const char* src, const char* end, char*& out)
{
    while (src < end && *src != '\r' && *src != '\n') ++src;
    if (src < end && *src == '\r') *out++ = *src++;
    if (src < end && *src == '\n') *out++ = *src++;
    return src;
}

// Skips a block comment from src (just after its opening pair) past its closing pair, or to the
// end of an unterminated one, and returns where the text goes on. Its line breaks are copied to
// out, so later line numbers remain true.
static const char* SkipBlockComment(const char* src, const char* end, char*& out)
{
    for (; src < end; ++src) {
        if (src[0] == '*' && src + 1 < end && src[1] == '/') return src + 2;
        if (*src == '\r' || *src == '\n') *out++ = *src;
    }
    return src;
}

void ParseBuffer::StripComments()
{
    FATAL_CHECK(_read == _buffer, "ParseBuffer::StripComments() : Cannot strip comments after parsing has begun!");

    char* strippedBuffer = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    FATAL_CHECK(strippedBuffer, "ParseBuffer::StripComments() : new char[ %d ] failed!", length + 1);
    strippedBuffer[0] = '\0';

    // The text ends at its terminator even if the given length claimed more.
    const char* src = _buffer;
    const char* end = _buffer + strnlen(_buffer, static_cast<size_t>(length));
    char* out = strippedBuffer;
    while (src < end) {
        const char* slash = static_cast<const char*>(memchr(src, '/', static_cast<size_t>(end - src)));
        if (slash == nullptr) slash = end;  // the rest is text
        memcpy(out, src, static_cast<size_t>(slash - src));
        out += slash - src;
        if (slash == end) break;
        const char next = (slash + 1 < end) ? slash[1] : '\0';
        if (next == '/') {
            src = SkipLineComment(slash + 2, end, out);
        } else if (next == '*') {
            src = SkipBlockComment(slash + 2, end, out);
        } else {
            *out++ = '/';  // a lone slash is text
            src = slash + 1;
        }
    }
    *out = '\0';

    size_t strippedLength = static_cast<size_t>(out - strippedBuffer);
    memcpy(_buffer, strippedBuffer, strippedLength + 1);
    length = static_cast<int32_t>(strippedLength);
    delete[] strippedBuffer;
}

int32_t ParseBuffer::_CollectToken(bool (*accepted)(char), char* token)
{
    _SkipWhiteSpace();
    int32_t n = 0;
    while (n < TOKEN_BUFFER_SIZE - 1 && accepted(*_read)) token[n++] = *_read++;
    token[n] = '\0';
    return n;
}

int32_t ParseBuffer::ReadInt()
{
    char token[TOKEN_BUFFER_SIZE];
    if (_CollectToken(IsIntegerChar, token) == 0) ReportSyntaxError("couldn't find expected integer expression");
    return LeadingInteger(token);
}

double ParseBuffer::ReadFloat()
{
    char token[TOKEN_BUFFER_SIZE];
    if (_CollectToken(IsFloatChar, token) == 0) ReportSyntaxError("couldn't find expected floating point expression");
    return LeadingNumber(token);
}

void ParseBuffer::ReadQuotedString(char* dest, int32_t destSize, bool allowEOL)
{
    FATAL_CHECK(dest != nullptr && destSize > 0, "ParseBuffer::ReadQuotedString() : no room given for the string");
    ExpectChar('"');

    int32_t n = 0;
    while (*_read != '"' && *_read != '\0' && n < destSize - 1) {
        if (!allowEOL && (*_read == '\r' || *_read == '\n'))
            ReportSyntaxError("illegal EOL found inside quoted string");
        dest[n++] = *_read++;
    }
    dest[n] = '\0';

    if (*_read == '"') {
        ++_read;
        return;
    }
    if (*_read == '\0') ReportSyntaxError("illegal EOF found inside quoted string");

    char message[128];
    SafeFormat(message, sizeof(message), "quoted string was too long, overflowed buffer size (max len = %d characters)",
               destSize - 1);
    ReportSyntaxError(message);
}

void ParseBuffer::ReadQuotedString(std::string& dest, bool allowEOL)
{
    char text[TOKEN_BUFFER_SIZE];
    ReadQuotedString(text, TOKEN_BUFFER_SIZE, allowEOL);
    dest = text;
}

Vec2f ParseBuffer::ReadPoint()
{
    bool hasParenthesis = (PeekChar() == '(');
    if (hasParenthesis) ExpectChar('(');
    double x = ReadFloat();
    ExpectChar(',');
    double y = ReadFloat();
    if (hasParenthesis) ExpectChar(')');
    return Vec2f(ToFloatCoordinate(x), ToFloatCoordinate(y));
}

void ParseBuffer::ExpectChar(char expected)
{
    _SkipWhiteSpace();
    if (*_read == expected && expected != '\0') {
        ++_read;
        return;
    }
    char message[64];
    SafeFormat(message, sizeof(message), "couldn't find expected ' %c ' character", expected);
    ReportSyntaxError(message);
}

void ParseBuffer::ExpectWord(const char* word)
{
    _SkipWhiteSpace();
    size_t wordLength = strlen(word);
    // Stops at the first difference, so it never looks past the terminator.
    for (size_t i = 0; i < wordLength; ++i) {
        if (ToLowerAscii(_read[i]) != ToLowerAscii(word[i])) {
            char message[TOKEN_BUFFER_SIZE + 64];
            SafeFormat(message, sizeof(message), "couldn't find expected token-word \"%s\"", word);
            ReportSyntaxError(message);
        }
    }
    _read += wordLength;
}

char ParseBuffer::PeekChar()
{
    _SkipWhiteSpace();
    return *_read;
}

void ParseBuffer::ReportSyntaxError(const char* message)
{
    char lineText[TOKEN_BUFFER_SIZE];
    char atText[TOKEN_BUFFER_SIZE];
    CopyRestOfLine(lineText, lineStart);
    CopyRestOfLine(atText, _read);

    char text[4 * TOKEN_BUFFER_SIZE];
    SafeFormat(text, sizeof(text),
               "Syntax error on line %d of buffer \"%s\":\n\nERROR: %s\n\nOCCURRED AT: \"%s\"\n\nLINE WAS: \"%s\"",
               line, name ? name : "", message, atText, lineText);
    AssertionFailure(__LINE__, __FILE__, "ALL BUILDS", "", "%s", text);
}
