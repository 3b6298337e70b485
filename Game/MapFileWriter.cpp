#include "Game/MapFileWriter.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "Engine/TheConsole.h"
#include "Game/MapArea.h"

// The reader's quoted strings hold at most this many characters.
static const size_t MAX_PROPERTY_TEXT_LENGTH = 1023;

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
    if (s.size() > MAX_PROPERTY_TEXT_LENGTH) return false;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"' || c == '\r' || c == '\n' || c == '\0') return false;
        if (c == '/' && i + 1 < s.size() && (s[i + 1] == '/' || s[i + 1] == '*')) return false;
    }
    return true;
}

static bool AppendPropertyBlock(std::string& text, const PropertyMap& properties)
{
    if (properties.Count() == 0) return true;
    text += "\t{\n";
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
    text += "\t}\n";
    return true;
}

bool MapFileWriter::BuildText(const MapArea& map, std::string& text)
{
    std::unordered_map<const Vertex*, int32_t> numbers;
    numbers.reserve(map.GetVertexes().size());

    text += "Vertexes\n{\n";
    for (const Vertex* vertex : map.GetVertexes()) {
        numbers.emplace(vertex, static_cast<int32_t>(numbers.size()));
        AppendPoint(text, vertex->position);
    }
    text += "}\n\n";

    text += "Linedefs\n{\n";
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
    text += "}\n\n";

    text += "Objects\n{\n";
    for (const MapObject* object : map.GetObjects()) {
        AppendPoint(text, object->position);
        if (!AppendPropertyBlock(text, object->properties)) return false;
    }
    text += "}\n\n";
    return true;
}

bool MapFileWriter::WriteReplacing(const std::string& path, const std::string& text)
{
    // A file that may not be written to stays as it is, even though the directory
    // would let us replace it.
    FILE* probe = fopen(path.c_str(), "r+b");
    if (probe != nullptr) {
        fclose(probe);
    } else if (errno != ENOENT) {
        return false;
    }

    // Written beside the old file and moved over it only once complete, so a failed
    // save never leaves a half-written map behind.
    std::string temporaryPath = path + ".tmp";
    FILE* file = fopen(temporaryPath.c_str(), "wt");
    if (file == nullptr) return false;
    bool written = fwrite(text.data(), 1, text.size(), file) == text.size();
    written = (fflush(file) == 0) && written;
    written = !ferror(file) && written;
    written = (fclose(file) == 0) && written;

    std::error_code error;
    if (written) std::filesystem::rename(temporaryPath, path, error);
    if (!written || error) {
        remove(temporaryPath.c_str());
        return false;
    }
    return true;
}
