// The .map text format: its reader and its writer side by side, so both follow one set of
// section words and limits. MapArea keeps the elements; this only turns them into text and back.
#pragma once

#include <cstddef>
#include <string>

class MapArea;
class ParseBuffer;
class Vertex;

class MapFile {
public:
    // The section words, in file order; the reader matches them ignoring case.
    static const char* const VERTEXES_WORD;
    static const char* const LINEDEFS_WORD;
    static const char* const OBJECTS_WORD;
    // A quoted key or value holds at most this many characters.
    static const size_t MAX_PROPERTY_TEXT_LENGTH = 1023;
    // Game maps are stored with y up; with the map's flipY a point read has y mirrored over this height.
    static constexpr float FLIP_Y_HEIGHT = 1024.0f;

    // Adds the map in the text to map (vertex numbers count within the text); comments are
    // stripped first. A bad text is a fatal syntax error that names the buffer and the line.
    static void Read(ParseBuffer& buffer, MapArea& map);

    // The map's text. False, with a console warning, when the map holds something the reader
    // could not read back: property text with a double quote, a line break, a comment opener
    // or over 1023 characters, or a linedef whose end is not one of its vertexes. leaveOut and
    // alsoLeaveOut, lone vertexes of the map, are not written (one with linedefs is).
    static bool Write(const MapArea& map, std::string& text, const Vertex* leaveOut = nullptr,
                      const Vertex* alsoLeaveOut = nullptr);
};
