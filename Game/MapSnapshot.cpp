#include "Game/MapSnapshot.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "Engine/AssertionFailure.h"
#include "Game/MapArea.h"

namespace {

const char* const VERTEXES = "Vertexes\n";
const char* const LINEDEFS = "\nLinedefs\n";
const char* const OBJECTS = "\nObjects\n";

// A float as the eight hex digits of its bits, so -0, the smallest steps and every other
// value come back unchanged.
void AppendFloat(std::string& text, float value)
{
    uint32_t bits;
    memcpy(&bits, &value, sizeof(bits));
    char digits[16];
    snprintf(digits, sizeof(digits), "%08x", static_cast<unsigned>(bits));
    text += digits;
}

void AppendPoint(std::string& text, const Vec2f& point)
{
    AppendFloat(text, point.x);
    text += ' ';
    AppendFloat(text, point.y);
    text += '\n';
}

// '=' then the text with '%', blanks, control bytes and DEL as %XX: never empty, never a
// blank or a line break inside.
void AppendEscaped(std::string& text, const std::string& s)
{
    text += '=';
    for (unsigned char c : s) {
        if (c == '%' || c <= ' ' || c == 0x7F) {
            char escape[4];
            snprintf(escape, sizeof(escape), "%%%02X", c);
            text += escape;
        } else {
            text += char(c);
        }
    }
}

void AppendProperties(std::string& text, const PropertyMap& properties)
{
    for (const auto& pair : properties) {
        text += '\t';
        AppendEscaped(text, pair.first);
        text += ' ';
        AppendEscaped(text, pair.second);
        text += '\n';
    }
}

// Reading: a cursor over the text that fails the program on anything Write never makes.
class Reader {
public:
    explicit Reader(const std::string& text_) : text(text_) {}

    bool AtEnd() const { return at >= text.size(); }
    bool Next(char c) const { return !AtEnd() && text[at] == c; }
    void Expect(const char* word)
    {
        const size_t length = strlen(word);
        FATAL_CHECK(text.compare(at, length, word) == 0, "MapSnapshot::Read() : expected \"%s\" at %u", word,
                    unsigned(at));
        at += length;
    }
    // True when the next text is the word; then it is taken.
    bool Take(const char* word)
    {
        if (text.compare(at, strlen(word), word) != 0) return false;
        at += strlen(word);
        return true;
    }
    float Float()
    {
        uint32_t bits = 0;
        for (int i = 0; i < 8; ++i) bits = bits << 4 | uint32_t(HexDigit());
        float value;
        memcpy(&value, &bits, sizeof(value));
        return value;
    }
    Vec2f Point()
    {
        const float x = Float();
        Expect(" ");
        const float y = Float();
        Expect("\n");
        return Vec2f(x, y);
    }
    size_t Number()
    {
        FATAL_CHECK(!AtEnd() && text[at] >= '0' && text[at] <= '9', "MapSnapshot::Read() : no number at %u",
                    unsigned(at));
        size_t value = 0;
        while (!AtEnd() && text[at] >= '0' && text[at] <= '9') value = value * 10 + size_t(text[at++] - '0');
        return value;
    }
    std::string Escaped()
    {
        Expect("=");
        std::string s;
        while (!AtEnd() && text[at] != ' ' && text[at] != '\n') {
            if (text[at] != '%') {
                s += text[at++];
                continue;
            }
            ++at;
            const int high = HexDigit();
            s += char(high << 4 | HexDigit());
        }
        return s;
    }
    void Properties(PropertyMap& properties)
    {
        while (Take("\t")) {
            const std::string key = Escaped();
            Expect(" ");
            properties.Set(key, Escaped());
            Expect("\n");
        }
    }

private:
    int HexDigit()
    {
        FATAL_CHECK(!AtEnd(), "MapSnapshot::Read() : the text ends inside a number");
        const char c = text[at++];
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        FATAL_CHECK(false, "MapSnapshot::Read() : '%c' is no hex digit", c);
        return 0;
    }

    const std::string& text;
    size_t at = 0;
};

}  // namespace

std::string MapSnapshot::Write(const MapArea& map, const Vertex* leaveOut, const Vertex* alsoLeaveOut)
{
    // A vertex with linedefs stays, whatever the caller asks: the linedefs need it.
    if (leaveOut != nullptr && !leaveOut->linedefs.empty()) leaveOut = nullptr;
    if (alsoLeaveOut != nullptr && !alsoLeaveOut->linedefs.empty()) alsoLeaveOut = nullptr;

    std::string text;
    text.reserve(24 * (map.GetVertexes().size() + map.GetLinedefs().size() + map.GetObjects().size()) + 32);
    std::unordered_map<const Vertex*, size_t> numbers;
    numbers.reserve(map.GetVertexes().size());
    text += VERTEXES;
    for (const Vertex* vertex : map.GetVertexes()) {
        if (vertex == leaveOut || vertex == alsoLeaveOut) continue;
        numbers.emplace(vertex, numbers.size());
        AppendPoint(text, vertex->position);
    }
    text += LINEDEFS;
    for (const Linedef* linedef : map.GetLinedefs()) {
        const auto start = numbers.find(linedef->start);
        const auto end = numbers.find(linedef->end);
        FATAL_CHECK(start != numbers.end() && end != numbers.end(),
                    "MapSnapshot::Write() : a linedef ends at a vertex the map does not hold");
        text += std::to_string(start->second);
        text += ' ';
        text += std::to_string(end->second);
        text += '\n';
        AppendProperties(text, linedef->properties);
    }
    text += OBJECTS;
    for (const MapObject* object : map.GetObjects()) {
        AppendPoint(text, object->position);
        AppendProperties(text, object->properties);
    }
    return text;
}

void MapSnapshot::Read(const std::string& text, MapArea& map)
{
    Reader in(text);
    std::vector<Vertex*> vertexes;
    in.Expect(VERTEXES);
    while (!in.Next('\n')) vertexes.push_back(map.AddVertex(in.Point(), true));
    in.Expect(LINEDEFS);
    while (!in.Next('\n')) {
        const size_t start = in.Number();
        in.Expect(" ");
        const size_t end = in.Number();
        in.Expect("\n");
        FATAL_CHECK(start < vertexes.size() && end < vertexes.size(), "MapSnapshot::Read() : no vertex %u",
                    unsigned(start < vertexes.size() ? end : start));
        in.Properties(map.AddLinedef(vertexes[start], vertexes[end])->properties);
    }
    in.Expect(OBJECTS);
    while (!in.AtEnd()) {
        MapObject* object = map.AddObject(in.Point());
        in.Properties(object->properties);
    }
}
