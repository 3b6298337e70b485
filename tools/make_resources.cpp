// make_resources: the Linux build's resource compiler. It reads the DIALOG resources of a
// resource script (the .rc file the Windows resource compiler builds into the executable) and
// writes a C++ source that hands each one, as the binary dialog template Windows keeps in an
// executable, to the platform layer's resource table.
//
//   make_resources <script.rc> <output.cpp>
//
// Texts are Windows-1252, as resource scripts are. It understands what dialog scripts are written with: comments,
// #include of windows.h (whose names it knows) and of headers of #defines, numbers and names joined with | and NOT, the
// DIALOG statement with STYLE, EXSTYLE, CAPTION and FONT, and the CONTROL, GROUPBOX, PUSHBUTTON,
// DEFPUSHBUTTON, RADIOBUTTON, AUTORADIOBUTTON, CHECKBOX, AUTOCHECKBOX, LTEXT, CTEXT and RTEXT
// controls. Anything else is an error with its line number.
#include <windows.h>

#include "DialogTemplate.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The windows.h names a dialog script uses, with their values from the SDK header.
const std::map<std::string, long> WINDOWS_NAMES = {
    {"WS_OVERLAPPED", WS_OVERLAPPED},
    {"WS_POPUP", WS_POPUP},
    {"WS_CHILD", WS_CHILD},
    {"WS_VISIBLE", WS_VISIBLE},
    {"WS_DISABLED", WS_DISABLED},
    {"WS_CAPTION", WS_CAPTION},
    {"WS_BORDER", WS_BORDER},
    {"WS_DLGFRAME", WS_DLGFRAME},
    {"WS_SYSMENU", WS_SYSMENU},
    {"WS_THICKFRAME", WS_THICKFRAME},
    {"WS_GROUP", WS_GROUP},
    {"WS_TABSTOP", WS_TABSTOP},
    {"WS_MINIMIZEBOX", WS_MINIMIZEBOX},
    {"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX},
    {"WS_EX_TOPMOST", WS_EX_TOPMOST},
    {"WS_EX_APPWINDOW", WS_EX_APPWINDOW},
    {"DS_MODALFRAME", DS_MODALFRAME},
    {"DS_SETFONT", DS_SETFONT},
    {"DS_CENTER", DS_CENTER},
    {"BS_PUSHBUTTON", BS_PUSHBUTTON},
    {"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON},
    {"BS_CHECKBOX", BS_CHECKBOX},
    {"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX},
    {"BS_RADIOBUTTON", BS_RADIOBUTTON},
    {"BS_GROUPBOX", BS_GROUPBOX},
    {"BS_AUTORADIOBUTTON", BS_AUTORADIOBUTTON},
    {"SS_LEFT", SS_LEFT},
    {"SS_CENTER", SS_CENTER},
    {"SS_RIGHT", SS_RIGHT},
    {"IDOK", IDOK},
    {"IDCANCEL", IDCANCEL},
    {"IDHELP", IDHELP},
};

// The predefined control classes, stored in a template by their atoms.
const std::map<std::string, uint16_t> CLASS_ATOMS = {
    {"BUTTON", 0x0080},  {"EDIT", 0x0081},      {"STATIC", 0x0082},
    {"LISTBOX", 0x0083}, {"SCROLLBAR", 0x0084}, {"COMBOBOX", 0x0085},
};

struct Token {
    enum Kind { NAME, NUMBER, STRING, SYMBOL, END } kind = END;
    std::string text;
    long number = 0;
    int line = 0;
};

[[noreturn]] void Fail(const std::string& where, int line, const std::string& message)
{
    fprintf(stderr, "%s:%d: %s\n", where.c_str(), line, message.c_str());
    exit(1);
}

std::string ReadFile(const std::string& path, const std::string& from, int line)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail(from, line, "cannot read \"" + path + "\"");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Upper(std::string text)
{
    for (char& c : text) c = char(toupper(static_cast<unsigned char>(c)));
    return text;
}

// Turns a script (or an included header) into tokens; preprocessor lines are handled here.
class Lexer {
public:
    Lexer(std::map<std::string, long>& defines) : _defines(defines) {}

    void Read(const std::string& path, std::vector<Token>& tokens)
    {
        const std::string text = ReadFile(path, path, 0);
        const std::string folder = path.find('/') == std::string::npos ? "" : path.substr(0, path.rfind('/') + 1);
        size_t at = 0;
        int line = 1;
        bool lineStart = true;
        while (at < text.size()) {
            const char c = text[at];
            if (c == '\n') {
                ++line;
                ++at;
                lineStart = true;
                continue;
            }
            if (isspace(static_cast<unsigned char>(c))) {
                ++at;
                continue;
            }
            if (text.compare(at, 2, "//") == 0) {
                at = text.find('\n', at);
                if (at == std::string::npos) at = text.size();
                continue;
            }
            if (text.compare(at, 2, "/*") == 0) {
                const size_t end = text.find("*/", at + 2);
                if (end == std::string::npos) Fail(path, line, "unterminated comment");
                for (size_t i = at; i < end; ++i) line += text[i] == '\n';
                at = end + 2;
                continue;
            }
            if (c == '#' && lineStart) {
                size_t end = text.find('\n', at);
                if (end == std::string::npos) end = text.size();
                Directive(path, folder, line, text.substr(at + 1, end - at - 1), tokens);
                at = end;
                continue;
            }
            lineStart = false;
            Token token;
            token.line = line;
            if (c == '"') {
                token.kind = Token::STRING;
                ++at;
                for (;;) {
                    if (at >= text.size() || text[at] == '\n') Fail(path, line, "unterminated string");
                    if (text[at] == '"' && at + 1 < text.size() && text[at + 1] == '"') {
                        token.text += '"';
                        at += 2;
                    } else if (text[at] == '"') {
                        ++at;
                        break;
                    } else {
                        token.text += text[at++];
                    }
                }
            } else if (isdigit(static_cast<unsigned char>(c))) {
                token.kind = Token::NUMBER;
                char* end = nullptr;
                token.number = strtol(text.c_str() + at, &end, 0);
                at = size_t(end - text.c_str());
                if (at < text.size() && (text[at] == 'L' || text[at] == 'l')) ++at;
            } else if (isalpha(static_cast<unsigned char>(c)) || c == '_') {
                token.kind = Token::NAME;
                while (at < text.size() && (isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_'))
                    token.text += text[at++];
            } else if (std::string(",|()-+{}").find(c) != std::string::npos) {
                token.kind = Token::SYMBOL;
                token.text = std::string(1, c);
                ++at;
            } else {
                Fail(path, line, std::string("unexpected character '") + c + "'");
            }
            tokens.push_back(token);
        }
    }

private:
    void Directive(const std::string& path, const std::string& folder, int line, const std::string& body,
                   std::vector<Token>& tokens)
    {
        std::istringstream words(body);
        std::string word;
        words >> word;
        if (word == "pragma") return;
        if (word == "include") {
            std::string name;
            words >> name;
            if (name == "<windows.h>") return;  // its names are built in
            if (name.size() < 3 || name.front() != '"' || name.back() != '"')
                Fail(path, line, "only \"header\" and <windows.h> can be included");
            Read(folder + name.substr(1, name.size() - 2), tokens);
            return;
        }
        if (word == "define") {
            std::string name, value;
            words >> name >> value;
            char* end = nullptr;
            const long number = strtol(value.c_str(), &end, 0);
            if (name.empty() || value.empty() || (*end != '\0' && strcmp(end, "L") != 0))
                Fail(path, line, "a #define must give a name a number");
            _defines[name] = number;
            return;
        }
        Fail(path, line, "unknown directive #" + word);
    }

    std::map<std::string, long>& _defines;
};

// A DIALOG statement: the resource's number and its template.
struct DialogResource {
    uint16_t id = 0;
    DialogTemplate dialog;
};

class Parser {
public:
    Parser(const std::string& path, const std::vector<Token>& tokens, const std::map<std::string, long>& defines)
        : _path(path), _tokens(tokens), _defines(defines)
    {
        Token end;
        end.line = tokens.empty() ? 1 : tokens.back().line;
        _tokens.push_back(end);
    }

    std::vector<DialogResource> Parse()
    {
        std::vector<DialogResource> resources;
        while (Peek().kind != Token::END) {
            DialogResource resource;
            resource.id = uint16_t(Value());
            const Token& kind = Next();
            if (kind.kind != Token::NAME || Upper(kind.text) != "DIALOG")
                Fail(_path, kind.line, "only DIALOG resources are supported");
            // Memory options of 16-bit Windows are accepted and mean nothing.
            while (Peek().kind == Token::NAME && IsMemoryOption(Upper(Peek().text))) Next();
            DialogTemplate& dialog = resource.dialog;
            dialog.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
            Rectangle(dialog.x, dialog.y, dialog.cx, dialog.cy);
            Options(dialog);
            Controls(dialog);
            resources.push_back(resource);
        }
        return resources;
    }

private:
    static bool IsMemoryOption(const std::string& word)
    {
        return word == "DISCARDABLE" || word == "MOVEABLE" || word == "PURE" || word == "PRELOAD" ||
               word == "LOADONCALL" || word == "FIXED" || word == "IMPURE";
    }

    const Token& Peek() const { return _tokens[_at]; }
    const Token& Next()
    {
        const Token& token = _tokens[_at];
        if (token.kind != Token::END) ++_at;
        return token;
    }
    bool IsSymbol(const char* symbol) const { return Peek().kind == Token::SYMBOL && Peek().text == symbol; }
    void Expect(const char* symbol)
    {
        if (!IsSymbol(symbol)) Fail(_path, Peek().line, std::string("expected '") + symbol + "'");
        Next();
    }
    std::string String()
    {
        const Token& token = Next();
        if (token.kind != Token::STRING) Fail(_path, token.line, "expected a \"text\"");
        return token.text;
    }

    long Term()
    {
        const Token& token = Next();
        if (token.kind == Token::SYMBOL && token.text == "-") return -Term();
        if (token.kind == Token::SYMBOL && token.text == "(") {
            const long value = Value();
            Expect(")");
            return value;
        }
        if (token.kind == Token::NUMBER) return token.number;
        if (token.kind == Token::NAME) {
            auto found = _defines.find(token.text);
            if (found != _defines.end()) return found->second;
            found = WINDOWS_NAMES.find(token.text);
            if (found != WINDOWS_NAMES.end()) return found->second;
            Fail(_path, token.line, "unknown name " + token.text);
        }
        Fail(_path, token.line, "expected a number or a name");
    }
    // Numbers and names joined with | and +.
    long Value()
    {
        long value = Term();
        while (IsSymbol("|") || IsSymbol("+")) {
            Next();
            value |= Term();
        }
        return value;
    }
    // A style: what the statement gives by default, with names added by | and taken away by NOT.
    uint32_t Style(uint32_t style)
    {
        for (;;) {
            if (Peek().kind == Token::NAME && Upper(Peek().text) == "NOT") {
                Next();
                style &= ~uint32_t(Term());
            } else {
                style |= uint32_t(Term());
            }
            if (!IsSymbol("|")) break;
            Next();
        }
        return style;
    }

    void Options(DialogTemplate& dialog)
    {
        for (;;) {
            const Token& token = Peek();
            if (token.kind != Token::NAME) break;
            const std::string word = Upper(token.text);
            if (word == "BEGIN") break;
            Next();
            if (word == "STYLE") {
                dialog.style = Style(0);
            } else if (word == "EXSTYLE") {
                dialog.exStyle = Style(0);
            } else if (word == "CAPTION") {
                dialog.caption = String();
                dialog.style |= WS_CAPTION;
            } else if (word == "FONT") {
                dialog.hasFont = true;
                dialog.pointSize = uint16_t(Value());
                Expect(",");
                dialog.face = String();
            } else {
                Fail(_path, token.line, "unsupported dialog statement " + token.text);
            }
        }
        // The caption and the font are part of the template whatever STYLE said.
        if (!dialog.caption.empty()) dialog.style |= WS_CAPTION;
        if (dialog.hasFont) dialog.style |= DS_SETFONT;
    }

    // BEGIN and END, or braces.
    bool Block(const char* symbol, const char* word)
    {
        if (!IsSymbol(symbol) && !(Peek().kind == Token::NAME && Upper(Peek().text) == word)) return false;
        Next();
        return true;
    }
    // An optional last field after a comma.
    bool More()
    {
        if (!IsSymbol(",")) return false;
        Next();
        return true;
    }

    void Controls(DialogTemplate& dialog)
    {
        if (!Block("{", "BEGIN")) Fail(_path, Peek().line, "expected BEGIN");
        while (!Block("}", "END")) {
            const Token& token = Next();
            if (token.kind != Token::NAME) Fail(_path, token.line, "expected a control");
            dialog.items.push_back(ControlStatement(Upper(token.text), token.line));
        }
    }

    DialogItemTemplate ControlStatement(const std::string& word, int line)
    {
        DialogItemTemplate control;
        control.text = String();
        Expect(",");
        control.id = uint16_t(Value());
        Expect(",");
        if (word == "CONTROL") {
            // The class goes in by its name, in capitals, as windres writes it.
            control.className = Upper(String());
            Expect(",");
            control.style = Style(WS_CHILD | WS_VISIBLE);
            Expect(",");
            Rectangle(control.x, control.y, control.cx, control.cy);
            if (More()) control.exStyle = Style(0);
            return control;
        }
        // The shorthand statements: their class and default style.
        static const std::map<std::string, std::pair<const char*, uint32_t>> SHORTHANDS = {
            {"GROUPBOX", {"BUTTON", BS_GROUPBOX}},
            {"PUSHBUTTON", {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP}},
            {"DEFPUSHBUTTON", {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP}},
            {"RADIOBUTTON", {"BUTTON", BS_RADIOBUTTON | WS_TABSTOP}},
            {"AUTORADIOBUTTON", {"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP}},
            {"CHECKBOX", {"BUTTON", BS_CHECKBOX | WS_TABSTOP}},
            {"AUTOCHECKBOX", {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP}},
            {"LTEXT", {"STATIC", SS_LEFT | WS_GROUP}},
            {"CTEXT", {"STATIC", SS_CENTER | WS_GROUP}},
            {"RTEXT", {"STATIC", SS_RIGHT | WS_GROUP}},
        };
        const auto found = SHORTHANDS.find(word);
        if (found == SHORTHANDS.end()) Fail(_path, line, "unsupported control " + word);
        ClassOf(control, found->second.first);
        Rectangle(control.x, control.y, control.cx, control.cy);
        uint32_t style = WS_CHILD | WS_VISIBLE | found->second.second;
        if (More()) {
            style = Style(style);
            if (More()) control.exStyle = Style(0);
        }
        control.style = style;
        return control;
    }

    void Rectangle(short& x, short& y, short& cx, short& cy)
    {
        x = short(Value());
        Expect(",");
        y = short(Value());
        Expect(",");
        cx = short(Value());
        Expect(",");
        cy = short(Value());
    }
    // A predefined class goes in by its atom.
    static void ClassOf(DialogItemTemplate& control, const std::string& name)
    {
        const auto atom = CLASS_ATOMS.find(Upper(name));
        control.classAtom = atom != CLASS_ATOMS.end() ? atom->second : 0;
        control.className = atom != CLASS_ATOMS.end() ? "" : name;
    }

    std::string _path;
    std::vector<Token> _tokens;
    const std::map<std::string, long>& _defines;
    size_t _at = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: make_resources <script.rc> <output.cpp>\n");
        return 2;
    }
    std::map<std::string, long> defines;
    std::vector<Token> tokens;
    Lexer(defines).Read(argv[1], tokens);
    const std::vector<DialogResource> resources = Parser(argv[1], tokens, defines).Parse();

    std::ostringstream out;
    std::string script = argv[1];
    if (script.rfind('/') != std::string::npos) script = script.substr(script.rfind('/') + 1);
    out << "// Made by make_resources from " << script << "; edit that file instead.\n"
        << "#include \"PlatformResources.h\"\n\nnamespace {\n";
    for (const DialogResource& resource : resources) {
        const std::vector<uint8_t> bytes = WriteDialogTemplate(resource.dialog);
        const std::string name = "DIALOG_" + std::to_string(resource.id);
        out << "\nconst unsigned char " << name << "[] = {";
        for (size_t i = 0; i < bytes.size(); ++i) out << (i % 16 == 0 ? "\n    " : " ") << int(bytes[i]) << ",";
        out << "\n};\nconst PlatformResource REGISTER_" << name << "(RT_DIALOG, MAKEINTRESOURCEA(" << resource.id
            << "), " << name << ", sizeof(" << name << "));\n";
    }
    out << "\n}  // namespace\n";

    std::ofstream file(argv[2], std::ios::binary);
    file << out.str();
    return file ? 0 : 1;
}
