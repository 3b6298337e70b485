// Writes a map area in the .map text form, and replaces a file only with a complete one.
#pragma once

#include <string>

class MapArea;

class MapFileWriter {
public:
    // False, with a console warning, when a property holds text the reader could not
    // read back (a double quote, a line break, a comment opener, over 1023 characters).
    static bool BuildText(const MapArea& map, std::string& text);

    // Writes text beside path and moves it over path only once it was written whole.
    // False, leaving path as it was, on any failure.
    static bool WriteReplacing(const std::string& path, const std::string& text);
};
