#include "DialogTemplate.h"

#include <cstdint>

#include "FontRasterizer.h"

namespace {

class TemplateReader {
public:
    TemplateReader(const void* data, size_t size) : _data(static_cast<const uint8_t*>(data)), _size(size) {}

    bool Word(WORD* value)
    {
        if (_size < 2 || _at > _size - 2) return Fail();
        *value = WORD(_data[_at] | (_data[_at + 1] << 8));
        _at += 2;
        return true;
    }
    bool Dword(DWORD* value)
    {
        WORD low = 0, high = 0;
        if (!Word(&low) || !Word(&high)) return false;
        *value = DWORD(low) | (DWORD(high) << 16);
        return true;
    }
    bool Short(short* value)
    {
        WORD word = 0;
        if (!Word(&word)) return false;
        *value = short(word);
        return true;
    }
    // A zero-terminated UTF-16 string, to ANSI (Windows-1252); a character it lacks becomes '?'.
    bool Text(std::string* text)
    {
        text->clear();
        for (;;) {
            WORD unit = 0;
            if (!Word(&unit)) return false;
            if (unit == 0) return true;
            *text += ToAnsi(unit);
        }
    }
    // 0x0000: none; 0xFFFF and an ordinal; otherwise a string.
    bool OrdinalOrText(WORD* ordinal, std::string* text)
    {
        *ordinal = 0;
        text->clear();
        WORD first = 0;
        if (!Word(&first)) return false;
        if (first == 0x0000) return true;
        if (first == 0xFFFF) return Word(ordinal);
        _at -= 2;
        return Text(text);
    }
    void AlignToDword() { _at = (_at + 3) & ~size_t(3); }
    bool Skip(size_t bytes)
    {
        if (bytes > _size - _at) return Fail();
        _at += bytes;
        return true;
    }
    bool Failed() const { return _failed; }

private:
    bool Fail()
    {
        _failed = true;
        return false;
    }
    static char ToAnsi(WORD unit)
    {
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return char(unit);
        for (int code = 0x80; code < 0xA0; ++code)
            if (FontRasterizer::AnsiToUnicode(uint8_t(code)) == unit) return char(code);
        return '?';
    }

    const uint8_t* _data;
    size_t _size;
    size_t _at = 0;
    bool _failed = false;
};

class TemplateWriter {
public:
    void Word(WORD value)
    {
        bytes.push_back(uint8_t(value));
        bytes.push_back(uint8_t(value >> 8));
    }
    void Dword(DWORD value)
    {
        Word(WORD(value));
        Word(WORD(value >> 16));
    }
    // ANSI (Windows-1252) to zero-terminated UTF-16.
    void Text(const std::string& text)
    {
        for (char c : text) Word(WORD(FontRasterizer::AnsiToUnicode(uint8_t(c))));
        Word(0);
    }
    void AlignToDword()
    {
        while (bytes.size() % 4 != 0) bytes.push_back(0);
    }

    std::vector<uint8_t> bytes;
};

bool Refuse(std::string* error, const char* reason)
{
    if (error != nullptr) *error = reason;
    return false;
}

}  // namespace

bool ReadDialogTemplate(const void* data, size_t size, DialogTemplate* dialog, std::string* error)
{
    if (data == nullptr) return Refuse(error, "no template");
    TemplateReader in(data, size);
    *dialog = DialogTemplate();
    WORD count = 0;
    if (!in.Dword(&dialog->style)) return Refuse(error, "the template ends early");
    // DLGTEMPLATEEX begins with its version 1 and the signature 0xFFFF.
    if (dialog->style == 0xFFFF0001u) return Refuse(error, "extended dialog templates are not supported");
    WORD menu = 0, windowClass = 0;
    std::string menuName, className;
    const bool header = in.Dword(&dialog->exStyle) && in.Word(&count) && in.Short(&dialog->x) && in.Short(&dialog->y) &&
                        in.Short(&dialog->cx) && in.Short(&dialog->cy) && in.OrdinalOrText(&menu, &menuName) &&
                        in.OrdinalOrText(&windowClass, &className) && in.Text(&dialog->caption);
    if (!header) return Refuse(error, "the template ends early");
    if (menu != 0 || !menuName.empty()) return Refuse(error, "dialog menus are not supported");
    if (windowClass != 0 || !className.empty()) return Refuse(error, "dialog classes of their own are not supported");
    if ((dialog->style & DS_SETFONT) != 0) {
        dialog->hasFont = true;
        if (!in.Word(&dialog->pointSize) || !in.Text(&dialog->face)) return Refuse(error, "the template ends early");
    }
    for (WORD i = 0; i < count; ++i) {
        DialogItemTemplate item;
        in.AlignToDword();
        WORD titleOrdinal = 0, extraBytes = 0;
        const bool read = in.Dword(&item.style) && in.Dword(&item.exStyle) && in.Short(&item.x) && in.Short(&item.y) &&
                          in.Short(&item.cx) && in.Short(&item.cy) && in.Word(&item.id) &&
                          in.OrdinalOrText(&item.classAtom, &item.className) &&
                          in.OrdinalOrText(&titleOrdinal, &item.text) && in.Word(&extraBytes) && in.Skip(extraBytes);
        if (!read) return Refuse(error, "the template ends early");
        if (titleOrdinal != 0) item.text = "#" + std::to_string(titleOrdinal);
        dialog->items.push_back(item);
    }
    return true;
}

std::vector<uint8_t> WriteDialogTemplate(const DialogTemplate& dialog)
{
    TemplateWriter out;
    out.Dword(dialog.style);
    out.Dword(dialog.exStyle);
    out.Word(WORD(dialog.items.size()));
    for (short value : {dialog.x, dialog.y, dialog.cx, dialog.cy}) out.Word(WORD(value));
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(dialog.caption);
    if ((dialog.style & DS_SETFONT) != 0) {
        out.Word(dialog.pointSize);
        out.Text(dialog.face);
    }
    for (const DialogItemTemplate& item : dialog.items) {
        out.AlignToDword();
        out.Dword(item.style);
        out.Dword(item.exStyle);
        for (short value : {item.x, item.y, item.cx, item.cy}) out.Word(WORD(value));
        out.Word(item.id);
        if (item.classAtom != 0) {
            out.Word(0xFFFF);
            out.Word(item.classAtom);
        } else {
            out.Text(item.className);
        }
        out.Text(item.text);
        out.Word(0);  // no creation data
    }
    return out.bytes;
}
