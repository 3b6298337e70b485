// The parse buffer's readers: the first bytes choose whether comments are stripped and which
// readers run in turn; the rest is the text they read.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Engine/ParseBuffer.h"
#include "FuzzSupport.h"

namespace {

const char* const WORDS[] = {"Vertexes", "Linedefs", "Objects", "x", ""};
const char CHARACTERS[] = "{}(),\"/*";
const size_t MAX_STEPS = 32;

struct Step {
    uint8_t reader;
    uint8_t argument;
};

// Where the cursor may be and what the line count may say after any read.
void CheckCursor(const ParseBuffer& buffer)
{
    const char* text = buffer.GetBuffer();
    const char* read = buffer.GetReadPosition();
    if (read < text || read > text + buffer.GetLength()) Finding("the cursor left the text");
    int32_t breaks = 0;
    for (const char* p = text; p < read; ++p) breaks += *p == '\n';
    if (buffer.GetLine() < 1 || buffer.GetLine() > breaks + 1) Finding("the line count is off");
}

void RunStep(ParseBuffer& buffer, const Step& step)
{
    switch (step.reader % 9) {
    case 0:
        buffer.ReadInt();
        break;
    case 1:
        buffer.ReadFloat();
        break;
    case 2: {
        // A small buffer, so the too-long report is reached as well as the others.
        char text[64];
        const int32_t size = 1 + step.argument % static_cast<int32_t>(sizeof(text));
        buffer.ReadQuotedString(text, size, (step.argument & 0x80) != 0);
        if (strlen(text) > static_cast<size_t>(size - 1)) Finding("a quoted string overran its buffer");
        break;
    }
    case 3: {
        std::string text;
        buffer.ReadQuotedString(text, (step.argument & 1) != 0);
        if (text.size() > 1023) Finding("a quoted string past 1023 characters");
        break;
    }
    case 4:
        buffer.ReadPoint();
        break;
    case 5:
        buffer.ExpectChar(CHARACTERS[step.argument % (sizeof(CHARACTERS) - 1)]);
        break;
    case 6:
        buffer.ExpectWord(WORDS[step.argument % (sizeof(WORDS) / sizeof(WORDS[0]))]);
        break;
    case 7:
        buffer.PeekChar();
        break;
    default:
        buffer.ReportSyntaxError("fuzz");
    }
    CheckCursor(buffer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const bool strip = provider.ConsumeBool();
    std::vector<Step> steps(provider.ConsumeIntegralInRange<size_t>(0, MAX_STEPS));
    for (Step& step : steps) {
        step.reader = provider.ConsumeIntegral<uint8_t>();
        step.argument = provider.ConsumeIntegral<uint8_t>();
    }
    std::string text = provider.ConsumeRemainingBytesAsString();

    LoadOrReject(
        [&] {
            ParseBuffer buffer(&text[0], static_cast<int32_t>(text.size()), "fuzz");
            if (strip) {
                buffer.StripComments();
                // Stripping never leaves a comment opener behind, nor a longer text.
                const char* stripped = buffer.GetBuffer();
                if (strstr(stripped, "//") != nullptr || strstr(stripped, "/*") != nullptr)
                    Finding("a comment opener survived stripping", stripped);
                if (buffer.GetLength() > static_cast<int32_t>(text.size())) Finding("stripping made the text longer");
            }
            for (const Step& step : steps) RunStep(buffer, step);
            return true;
        },
        {"Engine/ParseBuffer.cpp"});
    return 0;
}
