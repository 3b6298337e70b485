#include "Game/MapFile.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "Engine/AssertionFailure.h"
#include "Engine/ParseBuffer.h"
#include "Engine/TheConsole.h"
#include "Game/MapArea.h"

const char* const MapFile::VERTEXES_WORD = "Vertexes";
const char* const MapFile::LINEDEFS_WORD = "Linedefs";
const char* const MapFile::OBJECTS_WORD = "Objects";

static const char BLOCK_OPEN = '{';
static const char BLOCK_CLOSE = '}';

// ---------------------------------------------------------------------------
// Reading

static Vec2f ReadMapPoint(ParseBuffer& buffer, bool flipY)
{
    Vec2f point = buffer.ReadPoint();
    if (flipY) point.y = MapFile::FLIP_Y_HEIGHT - point.y;
    return point;
}

static void ReadPropertyBlock(ParseBuffer& buffer, PropertyMap& properties)
{
    char key[MapFile::MAX_PROPERTY_TEXT_LENGTH + 1];
    char value[MapFile::MAX_PROPERTY_TEXT_LENGTH + 1];
    buffer.ExpectChar(BLOCK_OPEN);
    do {
        buffer.ReadQuotedString(key, sizeof(key), false);
        buffer.ReadQuotedString(value, sizeof(value), false);
        properties.Set(key, value);
    } while (buffer.PeekChar() != BLOCK_CLOSE);
    buffer.ExpectChar(BLOCK_CLOSE);
}

static void ReadSectionStart(ParseBuffer& buffer, const char* word)
{
    buffer.ExpectWord(word);
    buffer.ExpectChar(BLOCK_OPEN);
}

static Vertex* ReadVertexNumber(ParseBuffer& buffer, const std::vector<Vertex*>& fileVertexes)
{
    int32_t number = buffer.ReadInt();
    if (number < 0 || static_cast<size_t>(number) >= fileVertexes.size()) {
        char message[160];
        SafeFormat(message, sizeof(message),
                   "linedef vertex number %d names no vertex of this file (it has %d, numbered from 0)", number,
                   static_cast<int>(fileVertexes.size()));
        buffer.ReportSyntaxError(message);
    }
    return fileVertexes[static_cast<size_t>(number)];
}

void MapFile::Read(ParseBuffer& buffer, MapArea& map)
{
    buffer.StripComments();
    const bool flipY = map.GetFlipY();

    // Vertex numbers count from 0 within this text, whatever the map held before.
    std::vector<Vertex*> fileVertexes;
    ReadSectionStart(buffer, VERTEXES_WORD);
    while (buffer.PeekChar() != BLOCK_CLOSE) fileVertexes.push_back(map.AddVertex(ReadMapPoint(buffer, flipY), true));
    buffer.ExpectChar(BLOCK_CLOSE);

    ReadSectionStart(buffer, LINEDEFS_WORD);
    while (buffer.PeekChar() != BLOCK_CLOSE) {
        Vertex* start = ReadVertexNumber(buffer, fileVertexes);
        buffer.ExpectChar(',');
        Vertex* end = ReadVertexNumber(buffer, fileVertexes);
        Linedef* linedef = map.AddLinedef(start, end);
        if (buffer.PeekChar() == BLOCK_OPEN) ReadPropertyBlock(buffer, linedef->properties);
    }
    buffer.ExpectChar(BLOCK_CLOSE);

    ReadSectionStart(buffer, OBJECTS_WORD);
    while (buffer.PeekChar() != BLOCK_CLOSE) {
        MapObject* object = map.AddObject(ReadMapPoint(buffer, flipY));
        if (buffer.PeekChar() == BLOCK_OPEN) ReadPropertyBlock(buffer, object->properties);
    }
    buffer.ExpectChar(BLOCK_CLOSE);
}

// ---------------------------------------------------------------------------
// Writing

// "%g", except where that would use an exponent, which the reader does not know:
// then the same six significant digits in plain decimal notation.
static void AppendCoordinate(std::string& text, float coordinate)
{
    double value = coordinate;
    if (std::isnan(value)) value = 0.0;
    if (std::isinf(value)) value = value > 0.0 ? FLT_MAX : -FLT_MAX;

    char formatted[64];
    snprintf(formatted, sizeof(formatted), "%g", value);
    if (strchr(formatted, 'e') == nullptr) {
        text += formatted;
        return;
    }

    // "%.5e" rounds exactly as "%g" does: [-]d.ddddde(+|-)x...
    char scientific[64];
    snprintf(scientific, sizeof(scientific), "%.5e", value);
    const char* p = scientific;
    if (*p == '-') {
        text += '-';
        ++p;
    }
    std::string digits(1, *p);
    const char* e = strchr(p, 'e');
    digits.append(p + 2, static_cast<size_t>(e - (p + 2)));
    int exponent = atoi(e + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    if (exponent < 0) {
        text += "0.";
        text.append(static_cast<size_t>(-exponent - 1), '0');
        text += digits;
    } else {
        // An exponent form only appears from 1e6 up, past all six digits.
        text += digits;
        if (static_cast<size_t>(exponent) + 1 > digits.size()) {
            text.append(static_cast<size_t>(exponent) + 1 - digits.size(), '0');
        }
    }
}

static void AppendPoint(std::string& text, const Vec2f& point)
{
    text += "\t(";
    AppendCoordinate(text, point.x);
    text += ", ";
    AppendCoordinate(text, point.y);
    text += ")\n";
}

// A key or value the reader would cut or choke on must not be written.
static bool IsStorablePropertyText(const std::string& s)
{
    if (s.size() > MapFile::MAX_PROPERTY_TEXT_LENGTH) return false;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"' || c == '\r' || c == '\n' || c == '\0') return false;
        if (c == '/' && i + 1 < s.size() && (s[i + 1] == '/' || s[i + 1] == '*')) return false;
    }
    return true;
}

static void AppendSectionStart(std::string& text, const char* word)
{
    text += word;
    text += '\n';
    text += BLOCK_OPEN;
    text += '\n';
}

static void AppendSectionEnd(std::string& text)
{
    text += BLOCK_CLOSE;
    text += "\n\n";
}

static bool AppendPropertyBlock(std::string& text, const PropertyMap& properties)
{
    if (properties.Count() == 0) return true;
    text += '\t';
    text += BLOCK_OPEN;
    text += '\n';
    for (const auto& pair : properties) {
        if (!IsStorablePropertyText(pair.first) || !IsStorablePropertyText(pair.second)) {
            theConsole.Printf("WARNING: map not saved: property \"%s\" holds text that a map file cannot store\n",
                              pair.first.c_str());
            return false;
        }
        text += "\t\t\"";
        text += pair.first;
        text += "\" \"";
        text += pair.second;
        text += "\"\n";
    }
    text += '\t';
    text += BLOCK_CLOSE;
    text += '\n';
    return true;
}

bool MapFile::Write(const MapArea& map, std::string& text, const Vertex* leaveOut, const Vertex* alsoLeaveOut)
{
    std::unordered_map<const Vertex*, int32_t> numbers;
    numbers.reserve(map.GetVertexes().size());

    AppendSectionStart(text, VERTEXES_WORD);
    for (const Vertex* vertex : map.GetVertexes()) {
        if ((vertex == leaveOut || vertex == alsoLeaveOut) && vertex->linedefs.empty()) continue;
        numbers.emplace(vertex, static_cast<int32_t>(numbers.size()));
        AppendPoint(text, vertex->position);
    }
    AppendSectionEnd(text);

    AppendSectionStart(text, LINEDEFS_WORD);
    char line[64];
    for (const Linedef* linedef : map.GetLinedefs()) {
        auto start = numbers.find(linedef->start);
        auto end = numbers.find(linedef->end);
        if (start == numbers.end() || end == numbers.end()) {
            // The map keeps both ends of every linedef among its vertexes; a file naming a
            // vertex it doesn't hold could never be loaded again, so nothing is written.
            theConsole.Printf("WARNING: map not saved: a linedef ends at a vertex the map does not hold\n");
            return false;
        }
        snprintf(line, sizeof(line), "\t%d, %d\n", start->second, end->second);
        text += line;
        if (!AppendPropertyBlock(text, linedef->properties)) return false;
    }
    AppendSectionEnd(text);

    AppendSectionStart(text, OBJECTS_WORD);
    for (const MapObject* object : map.GetObjects()) {
        AppendPoint(text, object->position);
        if (!AppendPropertyBlock(text, object->properties)) return false;
    }
    AppendSectionEnd(text);
    return true;
}
