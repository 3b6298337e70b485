// The editor's colours, picking radii and panning settings. The preferences file is read
// but not interpreted: the built-in defaults always apply.
#pragma once

#include <string>

#include "Engine/Color.h"

class EditorPreferences {
public:
    // Sets every default, makes this thePreferences, then reads the file if there is one.
    explicit EditorPreferences(const std::string& fileName_);
    ~EditorPreferences();

    EditorPreferences(const EditorPreferences&) = delete;
    EditorPreferences& operator=(const EditorPreferences&) = delete;

    std::string fileName;
    bool rainbowBackground = false;
    bool showMouseMarker = false;
    float panSpeed = 0.5f;  // world units per pixel of mouse movement, before zoom
    bool invertPanX = false;
    bool invertPanY = false;
    float pickRadius = 8.0f;        // world units
    float pickRadiusPixels = 3.0f;  // pixels, scaled by the view's zoom
    Color gridColour1 = Color(32, 32, 64, 255);
    Color gridColour2 = Color(64, 64, 128, 255);
    Color linedefColour = Color(128, 128, 128, 255);
    Color linedefHighlightInner = Color(0, 0, 0, 255);
    Color linedefHighlightOuter = Color(255, 255, 0, 192);
    Color linedefSelectedInner = Color(0, 0, 0, 255);
    Color linedefSelectedOuter = Color(255, 0, 0, 192);
    Color linedefBothInner = Color(0, 0, 0, 255);
    Color linedefBothOuter = Color(255, 128, 0, 192);
    Color chainColour = Color(255, 0, 255, 255);
    Color viewColour = Color(0, 0, 0, 255);
    Color cursorColour = Color(128, 128, 128, 255);
    Color vertexColour = Color(255, 255, 255, 255);
    Color vertexHighlightInner = Color(0, 0, 0, 255);
    Color vertexHighlightOuter = Color(255, 255, 0, 255);
    Color vertexSelectedInner = Color(0, 0, 0, 255);
    Color vertexSelectedOuter = Color(255, 0, 0, 255);
    Color vertexBothInner = Color(0, 0, 0, 255);
    Color vertexBothOuter = Color(255, 128, 0, 255);
    Color objectColour = Color(128, 0, 128, 255);
    Color objectHighlightInner = Color(128, 0, 128, 255);
    Color objectHighlightOuter = Color(255, 255, 0, 255);
    Color objectSelectedInner = Color(128, 0, 128, 255);
    Color objectSelectedOuter = Color(255, 0, 0, 255);
    Color objectBothInner = Color(128, 0, 128, 255);
    Color objectBothOuter = Color(255, 128, 0, 255);
    Color rubberBandColour = Color(64, 255, 255, 255);
};
