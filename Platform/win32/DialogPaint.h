// A dialog box's picture in the classic Windows look: the dialog frame, the caption with its
// close box, and the controls, with text from the FreeType rasterizer the OpenGL font uses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "DialogModel.h"
#include "FontRasterizer.h"
#include "windows.h"

// 0x00RRGGBB pixels, top row first.
struct DialogCanvas {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    void Resize(int w, int h);
    void Fill(int left, int top, int right, int bottom, uint32_t colour);
    void Set(int x, int y, uint32_t colour)
    {
        if (x >= 0 && y >= 0 && x < width && y < height) pixels[size_t(y) * width + x] = colour;
    }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// A logical font's 256 glyphs, made once.
class DialogFont {
public:
    // The size in points at 96 pixels per inch, as a dialog's FONT statement gives it.
    bool Open(const std::string& face, int pointSize, bool bold);
    int Ascent() const { return _rasterizer.GetAscent(); }
    int Height() const { return _rasterizer.GetCellHeight(); }
    // The text's width; with mnemonics an & marks the next character and && is one &.
    int TextWidth(const std::string& text, bool mnemonics) const;
    void Draw(DialogCanvas& canvas, int x, int top, const std::string& text, uint32_t colour, bool mnemonics) const;
    // The dialog base units of the font: its average character width as GDI measures it
    // (the 52 letters), and its cell height.
    void BaseUnits(int* x, int* y) const;

private:
    FontRasterizer _rasterizer;
    std::vector<RasterizedGlyph> _glyphs;
};

// The non-client parts, in the classic metrics: a 3-pixel dialog frame and an 18-pixel caption.
struct DialogFrame {
    static const int BORDER = 3;
    static const int CAPTION = 18;
    static int WindowWidth(int clientWidth) { return clientWidth + 2 * BORDER; }
    static int WindowHeight(int clientHeight) { return clientHeight + 2 * BORDER + CAPTION; }
    // The client area's top-left corner in window coordinates.
    static POINT ClientOrigin() { return POINT{BORDER, BORDER + CAPTION}; }
    static RECT CaptionRect(int windowWidth)
    {
        return RECT{BORDER, BORDER, windowWidth - BORDER, BORDER + CAPTION - 1};
    }
    static RECT CloseBoxRect(int windowWidth);
};

struct DialogLook {
    const DialogFont* font = nullptr;
    const DialogFont* captionFont = nullptr;
    std::string caption;
    bool hasCloseBox = true;
    bool closeBoxPushed = false;
};

void PaintDialog(const DialogModel& model, const DialogLook& look, DialogCanvas& canvas);
