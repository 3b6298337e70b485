// A dialog template (DLGTEMPLATE and its DLGITEMTEMPLATEs, as a resource compiler lays them out
// in an executable) read into plain values, and written back from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "windows.h"

struct DialogItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    WORD classAtom = 0;     // 0x0080 button, 0x0082 static, ...; 0 when named
    std::string className;  // the name, when not an atom
    std::string text;       // ANSI; a resource ordinal as text is kept as "#n"
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;
    bool hasFont = false;
    WORD pointSize = 0;
    std::string face;
    std::vector<DialogItemTemplate> items;
};

// Reads the template at data, of at most size bytes (SIZE_MAX when unknown). False with the
// reason for an extended (DLGTEMPLATEEX) template, a menu or class of its own, or one that ends
// early.
bool ReadDialogTemplate(const void* data, size_t size, DialogTemplate* dialog, std::string* error);

// The binary template of the values, with no menu and the dialog class; DS_SETFONT in the style
// writes the font.
std::vector<uint8_t> WriteDialogTemplate(const DialogTemplate& dialog);
