// Glyph bitmaps for a GDI logical font, made with FreeType from the face that
// fontconfig finds for it. Used by wglUseFontBitmapsA, and by anything else in
// this folder that has to put a LOGFONTA's text into pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "windows.h"

// One character as glBitmap wants it: 1 bit per pixel, most significant bit
// first, rows of (width + 7) / 8 bytes with no padding, bottom row first.
struct RasterizedGlyph {
    int width = 0;
    int height = 0;
    int originX = 0;  // glBitmap xorig: from the bitmap's left column to the pen position
    int originY = 0;  // glBitmap yorig: from the bitmap's bottom row to the baseline
    int advance = 0;  // pen movement to the next character, in whole pixels
    std::vector<uint8_t> bits;

    int BytesPerRow() const { return (width + 7) / 8; }
    // Whether the pixel at column x of row y (counted from the bottom) is set.
    bool IsSet(int x, int y) const { return (bits[size_t(y) * BytesPerRow() + x / 8] >> (7 - x % 8)) & 1; }
};

class FontRasterizer {
public:
    FontRasterizer();
    ~FontRasterizer();
    FontRasterizer(const FontRasterizer&) = delete;
    FontRasterizer& operator=(const FontRasterizer&) = delete;

    // Finds and sizes the face for the logical font. False when no face could be found or opened.
    bool Open(const LOGFONTA& logFont);
    bool IsOpen() const { return _face != nullptr; }

    // Renders one ANSI (Windows-1252) character code. Codes the face has no glyph for get its
    // default glyph, as GDI shows them.
    bool RasterizeCode(uint8_t code, RasterizedGlyph& glyph);

    // Cell metrics in pixels: ascent above the baseline, descent below it; their sum is the cell height.
    int GetAscent() const { return _ascent; }
    int GetDescent() const { return _descent; }
    int GetCellHeight() const { return _ascent + _descent; }
    const std::string& GetFontFile() const { return _fontFile; }

    // The Unicode character that an ANSI code stands for.
    static uint32_t AnsiToUnicode(uint8_t code);

private:
    void _Close();

    void* _library = nullptr;  // FT_Library
    struct FT_FaceRec_* _face = nullptr;
    int _ascent = 0;
    int _descent = 0;
    std::string _fontFile;
};
