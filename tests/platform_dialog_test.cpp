// Dialog boxes of the platform layer: the resource script's template as the build made it, what
// DialogBox sends a dialog procedure and returns, the dialog manager's keys and clicks, and the
// classic picture. Headless: the script's dialog lines, or Enter, answer the dialogs here.
#include <gtest/gtest.h>

#include <PlatformScript.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "DialogModel.h"
#include "DialogPaint.h"
#include "DialogTemplate.h"
#include "TestSupport.h"

namespace {

// The template resource 101 as the build made it from Game/Pinwhirl.rc.
DialogTemplate StartupTemplate()
{
    DialogTemplate dialog;
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(101), RT_DIALOG);
    EXPECT_NE(resource, nullptr);
    std::string error;
    EXPECT_TRUE(ReadDialogTemplate(LockResource(LoadResource(nullptr, resource)), SizeofResource(nullptr, resource),
                                   &dialog, &error))
        << error;
    return dialog;
}

const void* StartupBytes()
{
    return LockResource(LoadResource(nullptr, FindResourceA(nullptr, MAKEINTRESOURCEA(101), RT_DIALOG)));
}

// What a dialog procedure saw, and how it answers.
struct Recorder {
    std::vector<std::string> seen;
    int endOn = IDOK;  // the command that ends the dialog with 42; 0: never
    bool endInInit = false;
};
Recorder* s_recorder = nullptr;

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        s_recorder->seen.push_back("init " + std::to_string(lParam));
        CheckRadioButton(dialog, 1001, 1004, 1004);
        if (s_recorder->endInInit) EndDialog(dialog, 7);
    } else if (message == WM_COMMAND) {
        s_recorder->seen.push_back(std::to_string(LOWORD(wParam)) + (HIWORD(wParam) == BN_CLICKED ? " clicked" : ""));
        if (LOWORD(wParam) == s_recorder->endOn) {
            s_recorder->seen.push_back("1002 is " + std::to_string(IsDlgButtonChecked(dialog, 1002)));
            EndDialog(dialog, 42);
        }
    }
    return 0;
}

class DialogBoxTest : public testing::Test {
protected:
    void SetUp() override { s_recorder = &recorder; }
    void TearDown() override
    {
        PlatformUnloadScript();
        s_recorder = nullptr;
    }
    INT_PTR Run(const std::string& script)
    {
        std::string error;
        if (!script.empty()) {
            EXPECT_TRUE(PlatformLoadScriptText(script, "dialog.script", &error)) << error;
        }
        INT_PTR result = 0;
        log = CaptureDebugOutput(
            [&] { result = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(101), nullptr, RecordingProc, 5); });
        return result;
    }
    Recorder recorder;
    std::string log;
};

}  // namespace

TEST(DialogTemplateTest, TheResourceScriptBuildsTheStartupTemplate)
{
    const DialogTemplate dialog = StartupTemplate();
    EXPECT_EQ(dialog.style, DWORD(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(dialog.caption, "Pinwhirl Startup");
    EXPECT_TRUE(dialog.hasFont);
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.face, "MS Sans Serif");
    EXPECT_EQ(dialog.cx, 168);
    EXPECT_EQ(dialog.cy, 98);
    struct Item {
        WORD id;
        DWORD type;
        const char* text;
        short x, y, cx, cy;
    };
    const Item items[] = {
        {0xFFFF, BS_GROUPBOX, "Startup Mode", 7, 7, 154, 65},
        {1001, BS_AUTORADIOBUTTON, "1280 x 1024 Fullscreen Editor", 7, 18, 143, 10},
        {1002, BS_AUTORADIOBUTTON, "1280 x 1024 Windowed Editor", 7, 31, 148, 10},
        {1003, BS_AUTORADIOBUTTON, "1280 x 1024 Fullscreen Game", 7, 44, 145, 10},
        {1004, BS_AUTORADIOBUTTON, "1280 x 1024 Windowed Game", 7, 57, 145, 10},
        {IDOK, BS_DEFPUSHBUTTON, "Start!", 7, 76, 50, 14},
        {IDHELP, BS_PUSHBUTTON, "Help", 59, 76, 50, 14},
        {IDCANCEL, BS_PUSHBUTTON, "Quit", 111, 76, 50, 14},
    };
    ASSERT_EQ(dialog.items.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        SCOPED_TRACE(items[i].text);
        const DialogItemTemplate& got = dialog.items[i];
        EXPECT_EQ(got.id, items[i].id);
        // The CONTROL statements name their class; the others give it by its atom.
        if (items[i].type == BS_AUTORADIOBUTTON)
            EXPECT_EQ(got.className, "BUTTON");
        else
            EXPECT_EQ(got.classAtom, 0x0080);
        EXPECT_EQ(got.style & BS_TYPEMASK, items[i].type);
        EXPECT_EQ(got.text, items[i].text);
        EXPECT_EQ(got.x, items[i].x);
        EXPECT_EQ(got.y, items[i].y);
        EXPECT_EQ(got.cx, items[i].cx);
        EXPECT_EQ(got.cy, items[i].cy);
        EXPECT_EQ((got.style & WS_TABSTOP) != 0, got.id == IDOK || got.id == IDHELP || got.id == IDCANCEL);
        EXPECT_NE(got.style & WS_VISIBLE, 0u);
    }
    // The radio buttons are one group, the push buttons another.
    EXPECT_NE(dialog.items[1].style & WS_GROUP, 0u);
    EXPECT_NE(dialog.items[5].style & WS_GROUP, 0u);
    // The reader keeps every byte the writer wrote.
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(101), RT_DIALOG);
    const uint8_t* bytes = static_cast<const uint8_t*>(StartupBytes());
    EXPECT_EQ(WriteDialogTemplate(dialog), std::vector<uint8_t>(bytes, bytes + SizeofResource(nullptr, resource)));
}

// The one resource script gives the same template on both systems: where MinGW's resource
// compiler is installed, the dialog it builds is byte for byte the one this build made.
TEST(DialogTemplateTest, IsWhatTheWindowsResourceCompilerBuilds)
{
    const TestFolder folder;
    const std::string res = folder.PathOf("pinwhirl.res");
    const std::string command = "x86_64-w64-mingw32-windres Game/Pinwhirl.rc -O res -o " + res + " 2>&1";
    if (system("command -v x86_64-w64-mingw32-windres > /dev/null") != 0) GTEST_SKIP() << "no windres";
    ASSERT_EQ(system(command.c_str()), 0);
    std::ifstream in(res, std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Each entry of a .res: data size, header size, type and name (0xFFFF and a number here), ...
    auto dword = [&](size_t at) {
        return uint32_t(file[at] | file[at + 1] << 8 | file[at + 2] << 16 | file[at + 3] << 24);
    };
    std::vector<uint8_t> dialog;
    for (size_t at = 0; at + 16 <= file.size();) {
        const uint32_t dataSize = dword(at), headerSize = dword(at + 4);
        if (dword(at + 8) == 0x0005FFFF && dword(at + 12) == 0x0065FFFF)  // RT_DIALOG, 101
            dialog.assign(file.begin() + long(at + headerSize), file.begin() + long(at + headerSize + dataSize));
        at = (at + headerSize + dataSize + 3) & ~size_t(3);
    }
    const uint8_t* ours = static_cast<const uint8_t*>(StartupBytes());
    const DWORD size = SizeofResource(nullptr, FindResourceA(nullptr, MAKEINTRESOURCEA(101), RT_DIALOG));
    EXPECT_EQ(dialog, std::vector<uint8_t>(ours, ours + size));
}

TEST(DialogTemplateTest, ATemplateThatCannotBeReadFailsTheDialogBox)
{
    std::vector<uint8_t> bytes(static_cast<const uint8_t*>(StartupBytes()),
                               static_cast<const uint8_t*>(StartupBytes()) + 60);
    DialogTemplate dialog;
    std::string error;
    EXPECT_FALSE(ReadDialogTemplate(bytes.data(), bytes.size(), &dialog, &error));
    EXPECT_EQ(error, "the template ends early");
    const uint8_t extended[] = {1, 0, 0xFF, 0xFF, 0, 0, 0, 0};
    EXPECT_FALSE(ReadDialogTemplate(extended, sizeof(extended), &dialog, &error));
    EXPECT_EQ(error, "extended dialog templates are not supported");
    INT_PTR result = 0;
    const std::string log = CaptureDebugOutput([&] {
        result =
            DialogBoxIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(extended), nullptr, RecordingProc, 0);
    });
    EXPECT_EQ(result, -1);
    EXPECT_NE(log.find("extended dialog templates are not supported"), std::string::npos);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(102), nullptr, RecordingProc, 0), -1);
}

TEST_F(DialogBoxTest, AScriptLineClicksItsControlThenPressesItsButton)
{
    recorder.endOn = IDCANCEL;
    EXPECT_EQ(Run("dialog 1002 help\ndialog 0 cancel\n"), 42);
    EXPECT_EQ(recorder.seen,
              (std::vector<std::string>{"init 5", "1002 clicked", "9 clicked", "2 clicked", "1002 is 1"}));
}

TEST_F(DialogBoxTest, WithoutAScriptLineEnterPressesTheDefaultButton)
{
    EXPECT_EQ(Run(""), 42);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"init 5", "1 clicked", "1002 is 0"}));
}

TEST_F(DialogBoxTest, ADialogEndedInItsInitialisationGetsNoCommand)
{
    recorder.endInInit = true;
    EXPECT_EQ(Run("dialog 1001 ok\n"), 7);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"init 5"}));
}

TEST_F(DialogBoxTest, ADialogThatEnterDoesNotEndReturnsMinusOneInsteadOfWaiting)
{
    recorder.endOn = 0;
    EXPECT_EQ(Run(""), -1);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"init 5", "1 clicked"}));
    EXPECT_NE(log.find("did not end on Enter"), std::string::npos);
    // Outside a running dialog its handle names nothing.
    EXPECT_FALSE(EndDialog(nullptr, 1));
    EXPECT_FALSE(CheckRadioButton(nullptr, 1001, 1004, 1001));
    EXPECT_EQ(IsDlgButtonChecked(nullptr, 1001), UINT(BST_UNCHECKED));
}

// The dialog manager's keys and clicks, on the start-up template at the classic base units.
TEST(DialogModelTest, PlacesControlsInDialogUnitsOfTheFontsBaseUnits)
{
    const DialogModel model(StartupTemplate(), 6, 13);
    EXPECT_EQ(model.ClientWidth(), 252);   // 168 * 6 / 4
    EXPECT_EQ(model.ClientHeight(), 159);  // 98 * 13 / 8, rounded
    const RECT start = model.Controls()[size_t(model.Find(IDOK))].rect;
    EXPECT_EQ(start.left, 11);  // 7 * 6 / 4 = 10.5, rounded up as MulDiv rounds
    EXPECT_EQ(start.top, 124);  // 76 * 13 / 8 = 123.5
    EXPECT_EQ(start.right - start.left, 75);
    EXPECT_EQ(start.bottom - start.top, 23);  // 14 * 13 / 8 = 22.75
}

TEST(DialogModelTest, TabEntersTheRadioGroupAtItsCheckedButtonAndArrowsChooseWithinIt)
{
    DialogModel model(StartupTemplate(), 6, 13);
    const int windowedGame = model.Find(1004), start = model.Find(IDOK), help = model.Find(IDHELP);
    model.SetCheck(windowedGame, BST_CHECKED);
    EXPECT_EQ(model.Focus(), -1);
    EXPECT_TRUE(model.LooksDefault(start));
    EXPECT_EQ(model.KeyDown(VK_RETURN, false), IDOK);  // no focus: the default button

    model.KeyDown(VK_TAB, false);
    EXPECT_EQ(model.Focus(), windowedGame);
    model.KeyDown(VK_TAB, false);
    model.KeyDown(VK_TAB, false);
    EXPECT_EQ(model.Focus(), help);
    EXPECT_TRUE(model.LooksDefault(help));  // a focused push button is the default
    EXPECT_FALSE(model.LooksDefault(start));
    EXPECT_EQ(model.KeyDown(VK_RETURN, false), IDHELP);
    model.KeyDown(VK_RIGHT, false);  // within the push buttons
    EXPECT_EQ(model.Focus(), model.Find(IDCANCEL));
    model.KeyDown(VK_RIGHT, false);
    EXPECT_EQ(model.Focus(), start);

    model.KeyDown(VK_TAB, true);
    EXPECT_EQ(model.Focus(), windowedGame);
    EXPECT_EQ(model.KeyDown(VK_DOWN, false), 1001);  // wraps to the first, which is chosen
    EXPECT_EQ(model.GetCheck(model.Find(1001)), UINT(BST_CHECKED));
    EXPECT_EQ(model.GetCheck(windowedGame), UINT(BST_UNCHECKED));
    // Now the chosen one is where Tab enters the group.
    model.KeyDown(VK_TAB, false);
    model.KeyDown(VK_TAB, true);
    EXPECT_EQ(model.Focus(), model.Find(1001));
    EXPECT_EQ(model.KeyDown(VK_UP, false), 1004);
    EXPECT_EQ(model.KeyDown(VK_RETURN, false), IDOK);
    EXPECT_EQ(model.KeyDown(VK_ESCAPE, false), IDCANCEL);
}

TEST(DialogModelTest, AClickCountsWhereTheButtonWentUpAndSpaceOnRelease)
{
    DialogModel model(StartupTemplate(), 6, 13);
    const RECT editor = model.Controls()[size_t(model.Find(1002))].rect;
    const POINT inside{editor.left + 30, editor.top + 5};
    // Down on it, up elsewhere: nothing.
    EXPECT_EQ(model.MouseDown(inside), -1);
    EXPECT_TRUE(model.Controls()[size_t(model.Find(1002))].pushed);
    model.MouseMove(POINT{0, 0});
    EXPECT_FALSE(model.Controls()[size_t(model.Find(1002))].pushed);
    EXPECT_EQ(model.MouseUp(POINT{0, 0}), -1);
    EXPECT_EQ(model.GetCheck(model.Find(1002)), UINT(BST_UNCHECKED));
    EXPECT_EQ(model.Focus(), model.Find(1002));
    model.MouseDown(inside);
    EXPECT_EQ(model.MouseUp(inside), 1002);
    EXPECT_EQ(model.GetCheck(model.Find(1002)), UINT(BST_CHECKED));
    // The group box lets clicks through to nothing.
    EXPECT_EQ(model.MouseDown(POINT{editor.left + 2, editor.top - 4}), -1);
    EXPECT_EQ(model.Focus(), model.Find(1002));

    model.SetFocus(model.Find(IDCANCEL));
    EXPECT_EQ(model.KeyDown(VK_SPACE, false), -1);
    EXPECT_EQ(model.KeyUp(VK_SPACE), IDCANCEL);
    EXPECT_EQ(model.KeyUp(VK_SPACE), -1);
}

TEST(DialogPaintTest, TheClassicLookWithTheDefaultFrameOnTheFocusedPushButton)
{
    DialogFont font, bold;
    ASSERT_TRUE(font.Open("MS Sans Serif", 8, false));
    ASSERT_TRUE(bold.Open("MS Sans Serif", 8, true));
    int baseX = 0, baseY = 0;
    font.BaseUnits(&baseX, &baseY);
    EXPECT_GE(baseX, 5);
    EXPECT_LE(baseX, 8);
    EXPECT_GE(baseY, 11);
    EXPECT_LE(baseY, 15);
    DialogModel model(StartupTemplate(), baseX, baseY);
    model.SetCheck(model.Find(1004), BST_CHECKED);
    DialogLook look;
    look.font = &font;
    look.captionFont = &bold;
    look.caption = "Pinwhirl Startup";
    DialogCanvas canvas;
    PaintDialog(model, look, canvas);
    ASSERT_EQ(canvas.width, model.ClientWidth() + 6);
    ASSERT_EQ(canvas.height, model.ClientHeight() + 24);

    const POINT origin = DialogFrame::ClientOrigin();
    auto at = [&](const RECT& r, int dx, int dy) { return canvas.At(origin.x + r.left + dx, origin.y + r.top + dy); };
    int captionText = 0;
    for (int x = 3; x < 120; ++x) captionText += canvas.At(x, 10) == 0xFFFFFF;
    EXPECT_EQ(canvas.At(canvas.width / 2, 5), 0x000080u);  // navy
    EXPECT_GT(captionText, 5);                             // white letters on it
    EXPECT_EQ(canvas.At(2, canvas.height - 5), 0xC0C0C0u);
    const RECT start = model.Controls()[size_t(model.Find(IDOK))].rect;
    const RECT help = model.Controls()[size_t(model.Find(IDHELP))].rect;
    EXPECT_EQ(at(start, 0, 0), 0x000000u);  // the default frame
    EXPECT_EQ(at(help, 0, 0), 0xFFFFFFu);   // a plain raised edge
    const RECT checked = model.Controls()[size_t(model.Find(1004))].rect;
    const RECT unchecked = model.Controls()[size_t(model.Find(1003))].rect;
    const int middle = (checked.bottom - checked.top) / 2;
    EXPECT_EQ(at(checked, 5, middle), 0x000000u);  // the dot
    EXPECT_EQ(at(unchecked, 5, middle), 0xFFFFFFu);

    model.SetFocus(model.Find(IDHELP));
    PaintDialog(model, look, canvas);
    EXPECT_EQ(at(help, 0, 0), 0x000000u);
    EXPECT_EQ(at(start, 0, 0), 0xFFFFFFu);
}
