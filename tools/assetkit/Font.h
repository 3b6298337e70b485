// Text for the generated pictures: FreeType glyphs from one font file at one pixel size,
// painted into a Canvas as coverage. Text is UTF-8.
#pragma once

#include <functional>
#include <string>

#include "Engine/Canvas.h"

class Font {
public:
    // Ends the generator with a message when the font cannot be opened: the pictures depend on it.
    Font(const std::string& fontFile, int pixelSize);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Advance width of the text in pixels, kerning included.
    float Measure(const std::string& text) const;
    int Ascent() const;
    // Paints the text with the left end of its baseline at (x, baseline); the colour may vary
    // over the picture (gradients). Returns the pen position after the text.
    float Draw(Canvas& canvas, float x, float baseline, const std::string& text, const Rgba& colour) const;
    float Draw(Canvas& canvas, float x, float baseline, const std::string& text,
               const std::function<Rgba(float x, float y)>& colourAt) const;
    // Centred on x.
    void DrawCentred(Canvas& canvas, float x, float baseline, const std::string& text, const Rgba& colour) const;

private:
    float _Walk(const std::string& text, float x, float baseline,
                const std::function<void(const void* bitmap, int left, int top)>& paint) const;

    void* _library = nullptr;  // FT_Library
    void* _face = nullptr;     // FT_Face
};

// The font files of the DejaVu package that tools/install-deps.sh installs.
std::string FontPath(const std::string& fileName);
