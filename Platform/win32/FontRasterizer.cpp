#include "FontRasterizer.h"
#include "SdkConstants.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <strings.h>

// Windows-1252 in 0x80..0x9F; the five codes it leaves undefined map to themselves, as in
// MultiByteToWideChar. Every other code is Latin-1.
static const uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

uint32_t FontRasterizer::AnsiToUnicode(uint8_t code)
{
    if (code >= 0x80 && code <= 0x9F) return kCp1252High[code - 0x80];
    return code;
}

// lfPitchAndFamily holds the pitch in its two low bits and the family in its high four; the SDK
// names neither mask.
static const BYTE PITCH_BITS = 0x03;
static const BYTE FAMILY_BITS = 0xF0;

// The generic family GDI would fall back to when the logical font names no face.
static const char* GenericFamily(const LOGFONTA& logFont)
{
    if ((logFont.lfPitchAndFamily & PITCH_BITS) == FIXED_PITCH) return "monospace";
    switch (logFont.lfPitchAndFamily & FAMILY_BITS) {
    case FF_ROMAN:
        return "serif";
    case FF_MODERN:
        return "monospace";
    case FF_SCRIPT:
        return "cursive";
    case FF_DECORATIVE:
        return "fantasy";
    default:
        return "sans-serif";
    }
}

// The face file fontconfig picks for the logical font's name, weight and slant.
static bool FindFontFile(const LOGFONTA& logFont, std::string& file, int& index)
{
    // fontconfig keeps its configuration for the life of the process; hand it back at exit so
    // leak checkers see a clean end.
    static const bool initialized = FcInit() && atexit(FcFini) == 0;
    if (!initialized) return false;
    FcPattern* pattern = FcPatternCreate();
    char faceName[LF_FACESIZE + 1];
    memcpy(faceName, logFont.lfFaceName, LF_FACESIZE);
    faceName[LF_FACESIZE] = '\0';
    const char* family = faceName[0] != '\0' ? faceName : GenericFamily(logFont);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    const int weight = logFont.lfWeight > 0 ? int(logFont.lfWeight) : FW_NORMAL;
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, logFont.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    // Tahoma is the narrow sibling of Verdana; where it is missing, a condensed substitute (DejaVu
    // Sans Condensed, when installed) keeps lines about as long as they are on Windows.
    if (strcasecmp(family, "Tahoma") == 0) FcPatternAddInteger(pattern, FC_WIDTH, FC_WIDTH_SEMICONDENSED);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return false;
    FcChar8* path = nullptr;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr;
    if (found) {
        file = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    }
    FcPatternDestroy(match);
    return found;
}

FontRasterizer::FontRasterizer() = default;

FontRasterizer::~FontRasterizer()
{
    _Close();
}

void FontRasterizer::_Close()
{
    if (_face != nullptr) FT_Done_Face(_face);
    if (_library != nullptr) FT_Done_FreeType(static_cast<FT_Library>(_library));
    _face = nullptr;
    _library = nullptr;
    _ascent = _descent = 0;
    _fontFile.clear();
}

bool FontRasterizer::Open(const LOGFONTA& logFont)
{
    _Close();
    int index = 0;
    if (!FindFontFile(logFont, _fontFile, index)) return false;

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return false;
    _library = library;
    if (FT_New_Face(library, _fontFile.c_str(), index, &_face) != 0 || !FT_IS_SCALABLE(_face)) {
        _Close();  // frees the face too, if FreeType made one
        return false;
    }

    // GDI's cell is the Windows ascent plus descent of the OS/2 table; the hhea metrics stand in
    // for fonts without one.
    const double unitsPerEm = _face->units_per_EM;
    double ascentUnits = _face->ascender;
    double descentUnits = -_face->descender;
    double averageWidthUnits = 0.0;
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(_face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascentUnits = os2->usWinAscent;
        descentUnits = os2->usWinDescent;
        averageWidthUnits = os2->xAvgCharWidth;
    }
    if (ascentUnits + descentUnits <= 0.0) ascentUnits = unitsPerEm;

    // Negative heights ask for the character (em) height, positive ones for the cell height;
    // 0 means the default, taken here as a 16-pixel cell.
    double pixelsPerEmY;
    if (logFont.lfHeight < 0)
        pixelsPerEmY = -double(logFont.lfHeight);
    else
        pixelsPerEmY = (logFont.lfHeight > 0 ? logFont.lfHeight : 16) * unitsPerEm / (ascentUnits + descentUnits);
    // A width asks for that average character width.
    double pixelsPerEmX = pixelsPerEmY;
    if (logFont.lfWidth != 0 && averageWidthUnits > 0.0)
        pixelsPerEmX = std::abs(double(logFont.lfWidth)) * unitsPerEm / averageWidthUnits;

    const FT_F26Dot6 sizeX = FT_F26Dot6(std::lround(pixelsPerEmX * 64.0));
    const FT_F26Dot6 sizeY = FT_F26Dot6(std::lround(pixelsPerEmY * 64.0));
    if (FT_Set_Char_Size(_face, sizeX > 0 ? sizeX : 64, sizeY > 0 ? sizeY : 64, 72, 72) != 0) {
        _Close();
        return false;
    }
    _ascent = int(std::lround(ascentUnits * pixelsPerEmY / unitsPerEm));
    _descent = int(std::lround(descentUnits * pixelsPerEmY / unitsPerEm));
    return true;
}

bool FontRasterizer::RasterizeCode(uint8_t code, RasterizedGlyph& glyph)
{
    glyph = RasterizedGlyph();
    if (_face == nullptr) return false;

    const FT_UInt glyphIndex = FT_Get_Char_Index(_face, AnsiToUnicode(code));
    // TrueType fonts made for Windows map the control codes to empty, non-advancing glyphs; a face
    // without them would show its missing-glyph box for every tab or carriage return.
    if (glyphIndex == 0 && code < 0x20) return true;

    // glBitmap takes one bit per pixel, so the outlines are hinted and rendered for that.
    if (FT_Load_Glyph(_face, glyphIndex, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return false;
    const FT_GlyphSlot slot = _face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;

    glyph.advance = int((slot->advance.x + 32) >> 6);
    glyph.width = int(bitmap.width);
    glyph.height = int(bitmap.rows);
    glyph.originX = -slot->bitmap_left;
    glyph.originY = glyph.height - slot->bitmap_top;
    if (glyph.width == 0 || glyph.height == 0) {
        glyph.width = glyph.height = glyph.originX = glyph.originY = 0;
        return true;
    }

    const int bytesPerRow = glyph.BytesPerRow();
    glyph.bits.assign(size_t(bytesPerRow) * glyph.height, 0);
    for (int row = 0; row < glyph.height; ++row) {
        const unsigned char* source = bitmap.buffer + ptrdiff_t(row) * bitmap.pitch;
        uint8_t* target = &glyph.bits[size_t(glyph.height - 1 - row) * bytesPerRow];
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            memcpy(target, source, size_t(bytesPerRow));
        } else {
            // Embedded grey strikes: half coverage counts as ink.
            for (int x = 0; x < glyph.width; ++x)
                if (source[x] >= 128) target[x / 8] |= uint8_t(0x80 >> (x % 8));
        }
    }
    // The bits past the width in each row's last byte must stay clear.
    if (glyph.width % 8 != 0) {
        const uint8_t mask = uint8_t(0xFF << (8 - glyph.width % 8));
        for (int row = 0; row < glyph.height; ++row) glyph.bits[size_t(row) * bytesPerRow + bytesPerRow - 1] &= mask;
    }
    // FreeType gives blanks a one-pixel bitmap with nothing in it; GDI gives them none.
    bool hasInk = false;
    for (uint8_t byte : glyph.bits) hasInk = hasInk || byte != 0;
    if (!hasInk) {
        glyph.width = glyph.height = glyph.originX = glyph.originY = 0;
        glyph.bits.clear();
    }
    return true;
}
