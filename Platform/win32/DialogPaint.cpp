#include "DialogPaint.h"

#include <cstring>

namespace {

// The "Windows Standard" colours.
const uint32_t FACE = 0xC0C0C0;
const uint32_t LIGHT = 0xDFDFDF;
const uint32_t HIGHLIGHT = 0xFFFFFF;
const uint32_t SHADOW = 0x808080;
const uint32_t DARK_SHADOW = 0x000000;
const uint32_t TEXT = 0x000000;
const uint32_t WINDOW = 0xFFFFFF;
const uint32_t ACTIVE_CAPTION = 0x000080;
const uint32_t CAPTION_TEXT = 0xFFFFFF;

// The classic radio button: S shadow, K dark shadow, L light, H highlight, W the window colour
// inside; blanks are the face.
const char* const RADIO[12] = {
    "    SSSS    ", "  SSKKKKSS  ", " SKKWWWWKKH ", " SKWWWWWWLH ", "SKWWWWWWWWLH", "SKWWWWWWWWLH",
    "SKWWWWWWWWLH", "SKWWWWWWWWLH", " SKWWWWWWLH ", " SLLWWWWLLH ", "  HHLLLLHH  ", "    HHHH    ",
};
const char* const RADIO_DOT[4] = {" KK ", "KKKK", "KKKK", " KK "};
const int RADIO_SIZE = 12;
const int CHECK_SIZE = 13;

uint32_t PatternColour(char c)
{
    switch (c) {
    case 'S':
        return SHADOW;
    case 'K':
        return DARK_SHADOW;
    case 'L':
        return LIGHT;
    case 'H':
        return HIGHLIGHT;
    case 'W':
        return WINDOW;
    default:
        return FACE;
    }
}

void Pattern(DialogCanvas& canvas, int left, int top, const char* const* rows, int size)
{
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (rows[y][x] != ' ') canvas.Set(left + x, top + y, PatternColour(rows[y][x]));
}

// A one-pixel frame, the top and left sides in one colour and the bottom and right in another.
void Frame(DialogCanvas& canvas, const RECT& r, uint32_t topLeft, uint32_t bottomRight)
{
    canvas.Fill(r.left, r.top, r.right - 1, r.top + 1, topLeft);
    canvas.Fill(r.left, r.top, r.left + 1, r.bottom - 1, topLeft);
    canvas.Fill(r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    canvas.Fill(r.right - 1, r.top, r.right, r.bottom, bottomRight);
}

RECT Inset(const RECT& r, int by)
{
    return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

// The raised edge of buttons and windows.
void RaisedEdge(DialogCanvas& canvas, const RECT& r, uint32_t outerTopLeft)
{
    Frame(canvas, r, outerTopLeft, DARK_SHADOW);
    Frame(canvas, Inset(r, 1), outerTopLeft == HIGHLIGHT ? LIGHT : HIGHLIGHT, SHADOW);
}

void FocusRect(DialogCanvas& canvas, const RECT& r)
{
    for (int x = r.left; x < r.right; x += 2) {
        canvas.Set(x, r.top, TEXT);
        canvas.Set(x, r.bottom - 1, TEXT);
    }
    for (int y = r.top; y < r.bottom; y += 2) {
        canvas.Set(r.left, y, TEXT);
        canvas.Set(r.right - 1, y, TEXT);
    }
}

// Disabled text is etched: grey over a highlight one pixel down and right.
void Label(DialogCanvas& canvas, const DialogFont& font, int x, int top, const DialogControl& control)
{
    if ((control.style & WS_DISABLED) != 0) {
        font.Draw(canvas, x + 1, top + 1, control.text, HIGHLIGHT, true);
        font.Draw(canvas, x, top, control.text, SHADOW, true);
    } else {
        font.Draw(canvas, x, top, control.text, TEXT, true);
    }
}

void PushButton(DialogCanvas& canvas, const DialogFont& font, const DialogControl& control, bool isDefault,
                bool hasFocus)
{
    RECT r = control.rect;
    canvas.Fill(r.left, r.top, r.right, r.bottom, FACE);
    if (isDefault) {
        Frame(canvas, r, DARK_SHADOW, DARK_SHADOW);
        r = Inset(r, 1);
    }
    if (control.pushed)
        Frame(canvas, r, SHADOW, SHADOW);
    else
        RaisedEdge(canvas, r, HIGHLIGHT);
    const int shift = control.pushed ? 1 : 0;
    const int width = font.TextWidth(control.text, true);
    const int x = (control.rect.left + control.rect.right - width) / 2 + shift;
    const int top = (control.rect.top + control.rect.bottom - font.Height()) / 2 + shift;
    Label(canvas, font, x, top, control);
    if (hasFocus) FocusRect(canvas, Inset(control.rect, 4));
}

// Radio buttons and check boxes: the box at the left, the text beside it.
void CheckButton(DialogCanvas& canvas, const DialogFont& font, const DialogControl& control, bool hasFocus)
{
    const RECT& r = control.rect;
    const bool radio = control.kind == DialogControlKind::RADIO_BUTTON;
    const int size = radio ? RADIO_SIZE : CHECK_SIZE;
    const int boxTop = (r.top + r.bottom - size) / 2;
    if (radio) {
        Pattern(canvas, r.left, boxTop, RADIO, RADIO_SIZE);
        if (control.pushed) canvas.Fill(r.left + 2, boxTop + 2, r.left + 10, boxTop + 10, FACE);
        if (control.check == BST_CHECKED) Pattern(canvas, r.left + 4, boxTop + 4, RADIO_DOT, 4);
    } else {
        const RECT box{r.left, boxTop, r.left + size, boxTop + size};
        Frame(canvas, box, SHADOW, HIGHLIGHT);
        Frame(canvas, Inset(box, 1), DARK_SHADOW, LIGHT);
        canvas.Fill(box.left + 2, box.top + 2, box.right - 2, box.bottom - 2, control.pushed ? FACE : WINDOW);
        if (control.check == BST_CHECKED) {
            // The tick: down three pixels, then up four, three pixels thick.
            for (int i = 0; i < 7; ++i) {
                const int y = box.top + (i < 3 ? 6 + i : 10 - i) - 1;
                for (int t = 0; t < 3; ++t) canvas.Set(box.left + 3 + i, y + t, TEXT);
            }
        }
    }
    const int textLeft = r.left + size + 4;
    const int textTop = (r.top + r.bottom - font.Height()) / 2;
    Label(canvas, font, textLeft, textTop, control);
    if (hasFocus) {
        const int width = font.TextWidth(control.text, true);
        FocusRect(canvas, RECT{textLeft - 1, textTop, textLeft + width + 1, textTop + font.Height()});
    }
}

void GroupBox(DialogCanvas& canvas, const DialogFont& font, const DialogControl& control)
{
    const RECT& r = control.rect;
    const RECT line{r.left, r.top + font.Height() / 2, r.right, r.bottom};
    // Etched: a shadow line with a highlight one pixel inside it.
    Frame(canvas, RECT{line.left + 1, line.top + 1, line.right, line.bottom}, HIGHLIGHT, HIGHLIGHT);
    Frame(canvas, RECT{line.left, line.top, line.right - 1, line.bottom - 1}, SHADOW, SHADOW);
    if (control.text.empty()) return;
    const int textLeft = r.left + 8;
    const int width = font.TextWidth(control.text, true);
    canvas.Fill(textLeft - 2, r.top, textLeft + width + 2, r.top + font.Height(), FACE);
    Label(canvas, font, textLeft, r.top, control);
}

void StaticText(DialogCanvas& canvas, const DialogFont& font, const DialogControl& control)
{
    const RECT& r = control.rect;
    const int width = font.TextWidth(control.text, true);
    int x = r.left;
    if ((control.style & 0x3) == SS_CENTER) x = (r.left + r.right - width) / 2;
    if ((control.style & 0x3) == SS_RIGHT) x = r.right - width;
    Label(canvas, font, x, r.top, control);
}

void CloseBox(DialogCanvas& canvas, const RECT& r, bool pushed)
{
    canvas.Fill(r.left, r.top, r.right, r.bottom, FACE);
    if (pushed) {
        Frame(canvas, r, DARK_SHADOW, HIGHLIGHT);
        Frame(canvas, Inset(r, 1), SHADOW, LIGHT);
    } else {
        RaisedEdge(canvas, r, LIGHT);
    }
    // The cross: two diagonals of 8 pixels, two pixels wide.
    const int shift = pushed ? 1 : 0;
    const int left = (r.left + r.right - 8) / 2 + shift;
    const int top = (r.top + r.bottom - 7) / 2 + shift;
    for (int i = 0; i < 7; ++i) {
        canvas.Fill(left + i, top + i, left + i + 2, top + i + 1, TEXT);
        canvas.Fill(left + 6 - i, top + i, left + 8 - i, top + i + 1, TEXT);
    }
}

}  // namespace

void DialogCanvas::Resize(int w, int h)
{
    width = w;
    height = h;
    pixels.assign(size_t(w) * size_t(h), FACE);
}

void DialogCanvas::Fill(int left, int top, int right, int bottom, uint32_t colour)
{
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (right > width) right = width;
    if (bottom > height) bottom = height;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) pixels[size_t(y) * width + x] = colour;
}

bool DialogFont::Open(const std::string& face, int pointSize, bool bold)
{
    LOGFONTA logFont;
    memset(&logFont, 0, sizeof(logFont));
    // Points at 96 pixels per inch, as the character height.
    logFont.lfHeight = -LONG((pointSize * 96 + 36) / 72);
    logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    strncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    _glyphs.clear();
    if (!_rasterizer.Open(logFont)) return false;
    _glyphs.resize(256);
    for (int code = 0; code < 256; ++code) _rasterizer.RasterizeCode(uint8_t(code), _glyphs[size_t(code)]);
    return true;
}

int DialogFont::TextWidth(const std::string& text, bool mnemonics) const
{
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (mnemonics && text[i] == '&' && i + 1 < text.size()) ++i;
        width += _glyphs.empty() ? 0 : _glyphs[uint8_t(text[i])].advance;
    }
    return width;
}

void DialogFont::Draw(DialogCanvas& canvas, int x, int top, const std::string& text, uint32_t colour,
                      bool mnemonics) const
{
    if (_glyphs.empty()) return;
    const int baseline = top + Ascent();
    for (size_t i = 0; i < text.size(); ++i) {
        bool underline = false;
        if (mnemonics && text[i] == '&' && i + 1 < text.size()) {
            ++i;
            underline = text[i] != '&';
        }
        const RasterizedGlyph& glyph = _glyphs[uint8_t(text[i])];
        // Row r counted from the bottom lies originY - 1 - r rows below the baseline.
        for (int row = 0; row < glyph.height; ++row)
            for (int column = 0; column < glyph.width; ++column)
                if (glyph.IsSet(column, row))
                    canvas.Set(x - glyph.originX + column, baseline + glyph.originY - 1 - row, colour);
        if (underline) canvas.Fill(x, baseline + 1, x + glyph.advance, baseline + 2, colour);
        x += glyph.advance;
    }
}

void DialogFont::BaseUnits(int* x, int* y) const
{
    const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const int total = TextWidth(letters, false);
    *x = (total / 26 + 1) / 2;
    *y = Height();
}

RECT DialogFrame::CloseBoxRect(int windowWidth)
{
    const RECT caption = CaptionRect(windowWidth);
    return RECT{caption.right - 2 - 16, caption.top + 2, caption.right - 2, caption.top + 2 + 14};
}

void PaintDialog(const DialogModel& model, const DialogLook& look, DialogCanvas& canvas)
{
    const int width = DialogFrame::WindowWidth(model.ClientWidth());
    const int height = DialogFrame::WindowHeight(model.ClientHeight());
    canvas.Resize(width, height);
    RaisedEdge(canvas, RECT{0, 0, width, height}, LIGHT);

    const RECT caption = DialogFrame::CaptionRect(width);
    canvas.Fill(caption.left, caption.top, caption.right, caption.bottom, ACTIVE_CAPTION);
    if (look.captionFont != nullptr) {
        const int top = (caption.top + caption.bottom - look.captionFont->Height()) / 2;
        look.captionFont->Draw(canvas, caption.left + 2, top, look.caption, CAPTION_TEXT, false);
    }
    if (look.hasCloseBox) CloseBox(canvas, DialogFrame::CloseBoxRect(width), look.closeBoxPushed);

    // The controls draw in client coordinates on a canvas of the client's size, then go in place.
    DialogCanvas client;
    client.Resize(model.ClientWidth(), model.ClientHeight());
    if (look.font != nullptr) {
        const std::vector<DialogControl>& controls = model.Controls();
        for (size_t i = 0; i < controls.size(); ++i) {
            const DialogControl& control = controls[i];
            if ((control.style & WS_VISIBLE) == 0) continue;
            const bool hasFocus = model.Focus() == int(i);
            switch (control.kind) {
            case DialogControlKind::PUSH_BUTTON:
                PushButton(client, *look.font, control, model.LooksDefault(int(i)), hasFocus);
                break;
            case DialogControlKind::CHECK_BOX:
            case DialogControlKind::RADIO_BUTTON:
                CheckButton(client, *look.font, control, hasFocus);
                break;
            case DialogControlKind::GROUP_BOX:
                GroupBox(client, *look.font, control);
                break;
            case DialogControlKind::STATIC_TEXT:
                StaticText(client, *look.font, control);
                break;
            case DialogControlKind::OTHER:
                break;  // a class this layer does not draw
            }
        }
    }
    const POINT origin = DialogFrame::ClientOrigin();
    for (int y = 0; y < client.height; ++y)
        for (int x = 0; x < client.width; ++x) canvas.Set(origin.x + x, origin.y + y, client.At(x, y));
}
