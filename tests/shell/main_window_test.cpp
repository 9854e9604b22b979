// The real main window under Wine, made by the program's own start-up code and driven with
// real messages, clicks and message boxes. A WH_CBT hook sees what the program asked
// CreateWindowExA for, and catches and answers every message box. Each test opens a window
// of its own, so the tests pass alike one process each (as ctest runs them) or all in one.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "shell/main_window.h"

namespace {

enum Child { CALCULATE = 1, EXIT, CAMERAS, BIT_RATE, HOURS, DAYS };  // in creation order
std::vector<HWND> made;              // the main window, then its controls
std::vector<std::string> creations;  // what each of them was created with
std::vector<std::string> boxes;      // what each box showed, and what held meanwhile
std::vector<std::string> paints;     // the result slots at each paint
int answer = IDOK;                   // the button the hook presses, if the box has it

std::string Text(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string Lines()
{
    const ResultLines& r = MainForm().results;
    return std::string(r.perHour.text) + "|" + r.perDay.text + "|" + r.total.text;
}

std::string DescribeBox(HWND box)
{
    std::string seen = Text(box) + " / " + Text(GetDlgItem(box, 0xFFFF)) + " / buttons";
    for (int id : {IDOK, IDYES, IDNO, IDCANCEL}) {
        seen += GetDlgItem(box, id) ? std::string(" ").append(std::to_string(id)) : "";
    }
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        HICON icon = reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0));
        seen += icon == LoadIconA(nullptr, IDI_HAND)       ? " / error icon"
                : icon == LoadIconA(nullptr, IDI_QUESTION) ? " / question icon"
                                                           : "";
    }
    return seen + (IsWindowVisible(made[0]) ? " / window shown" : " / window hidden");
}

LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA& c = *reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (made.empty() ? c.hwndParent == nullptr : c.hwndParent == made[0]) {  // ours
            made.push_back(window);
            char text[160];
            std::snprintf(text, sizeof text, "%s %s %08lX %lX %d,%d %dx%d id %d%s",
                          IS_INTRESOURCE(c.lpszClass) ? "#" : c.lpszClass,
                          c.lpszName ? c.lpszName : "-", c.style, c.dwExStyle, c.x, c.y, c.cx, c.cy,
                          static_cast<int>(reinterpret_cast<INT_PTR>(c.hMenu)),
                          c.hInstance == GetModuleHandleA(nullptr) && !c.lpCreateParams ? "" : "?");
            creations.push_back(text);
        }
    } else if (code == HCBT_ACTIVATE && std::string(name) == "#32770" && !GetPropA(window, "s")) {
        SetPropA(window, "s", window);  // seen: a box may be activated more than once
        boxes.push_back(DescribeBox(window));
        int press = GetDlgItem(window, answer) ? answer : IDOK;
        PostMessageA(window, WM_COMMAND, press,
                     reinterpret_cast<LPARAM>(GetDlgItem(window, press)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Notes the result slots at each paint, then lets the program's own procedure paint.
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        paints.push_back(Lines());
    }
    return MainWndProc(window, message, wParam, lParam);
}

// Handles what is queued; true if a quit message with status 0 was among it.
bool Pump()
{
    bool quit = false;
    for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); DispatchMessageA(&m)) {
        quit = quit || (m.message == WM_QUIT && m.wParam == 0);
    }
    return quit;
}

// Makes the main window with the program's own start-up code, watched from here on, after
// the window and the records of an earlier test are gone.
void Open()
{
    static HHOOK hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    if (!made.empty()) {
        DestroyWindow(made[0]);
    }
    made.clear();
    creations.clear();
    boxes.clear();
    answer = IDOK;
    CreateMainWindow(GetModuleHandleA(nullptr));
    ASSERT_EQ(made.size(), 7u) << "windows made: the main window and its six controls";
    SetWindowLongPtrA(made[0], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
    Pump();
    paints.clear();
}

// A memory surface holding the background picture (450 x 360, 24 bits, bottom-up), to draw on.
HDC Picture()
{
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BACKGROUND),
                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    return dc;
}

DIBSECTION Section(HDC surface)
{
    GdiFlush();
    DIBSECTION section = {};
    GetObjectA(GetCurrentObject(surface, OBJ_BITMAP), sizeof section, &section);
    return section;
}

// Writes the surface to a .bmp file in the working directory; returns its full path.
std::string Save(HDC surface, const char* name)
{
    DIBSECTION s = Section(surface);
    DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof s.dsBmih;
    BITMAPFILEHEADER header = {0x4D42, offset + s.dsBmih.biSizeImage, 0, 0, offset};  // "BM"
    FILE* file = std::fopen(name, "wb");
    if (file != nullptr) {
        std::fwrite(&header, sizeof header, 1, file);
        std::fwrite(&s.dsBmih, sizeof s.dsBmih, 1, file);
        std::fwrite(s.dsBm.bmBits, s.dsBmih.biSizeImage, 1, file);
        std::fclose(file);
    }
    char path[MAX_PATH] = "";
    GetFullPathNameA(name, sizeof path, path, nullptr);
    return path;
}

// Same pixels, or how many differ and where the first is (x, y from the top left), with
// both pictures left in files.
testing::AssertionResult SamePixels(HDC expected, HDC shown)
{
    DIBSECTION want = Section(expected), got = Section(shown);
    const auto* a = static_cast<const unsigned char*>(want.dsBm.bmBits);
    const auto* b = static_cast<const unsigned char*>(got.dsBm.bmBits);
    int differing = 0;
    char first[96] = "";
    for (int y = 0; y < 360; ++y) {
        for (int x = 0; x < 450; ++x) {
            int at = (359 - y) * want.dsBm.bmWidthBytes + 3 * x;
            if (std::memcmp(a + at, b + at, 3) != 0 && differing++ == 0) {
                std::snprintf(first, sizeof first,
                              "(%d, %d): expected RGB %d,%d,%d, shown %d,%d,%d", x, y, a[at + 2],
                              a[at + 1], a[at], b[at + 2], b[at + 1], b[at]);
            }
        }
    }
    if (differing == 0) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << differing << " pixels differ, the first at " << first << "; see "
           << Save(expected, "window-expected.bmp") << " and " << Save(shown, "window-shown.bmp");
}

// The picture with every text where the layout puts it, in rectangles worked out by hand
// and drawn by the test itself (0x125 centred, 0x124 left-aligned, both on one line).
HDC ExpectedFace(const char* perHour, const char* perDay, const char* total)
{
    HDC face = Picture();
    SetBkMode(face, TRANSPARENT);
    struct {
        const char* text;
        RECT box;
        UINT format;
    } texts[] = {
        {"Preencha os campos abaixo e clique em Calcular!", {0, 0, 450, 180}, 0x125},
        {"Quantidade de C\xE2meras:", {100, 0, 450, 250}, 0x124},
        {"Bit Rate (Kbps):", {100, 0, 450, 304}, 0x124},
        {"Grava\xE7\xE3o (horas por dia):", {100, 0, 450, 358}, 0x124},
        {"Dias de grava\xE7\xE3o:", {100, 0, 450, 412}, 0x124},
        {perDay, {0, 0, 450, 490}, 0x125},
        {perHour, {0, 0, 450, 530}, 0x125},
        {total, {0, 0, 450, 570}, 0x125},
    };
    for (auto& t : texts) {
        DrawTextA(face, t.text, -1, &t.box, t.format);
    }
    return face;
}

TEST(MainWindow, CreatedAsAsked)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    // Centred on the full-screen client width and the whole screen height.
    char main[80];
    std::snprintf(main, sizeof main, "CHAR00 Corvane - Morvalen 90000000 0 %d,%d 450x360 id 0",
                  GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 225,
                  GetSystemMetrics(SM_CYSCREEN) / 2 - 180);
    EXPECT_EQ(creations, (std::vector<std::string>{
                             main, "BUTTON Calcular 50000000 2 140,310 80x25 id 3",
                             "BUTTON Sair 50000000 2 230,310 80x25 id 4",
                             "Combobox - 50A00003 0 293,115 57x150 id 0",  // dropped-down height
                             "Combobox - 50A00003 0 293,142 57x150 id 0",
                             "Combobox - 50A00003 0 293,169 57x150 id 0",
                             "Edit 30 50802001 0 293,196 56x20 id 0"}));
    WNDCLASSEXA c = {sizeof c, 0,       nullptr, 0,       0,       nullptr,
                     nullptr,  nullptr, nullptr, nullptr, nullptr, nullptr};
    ICONINFO small = {};
    BITMAP mask = {};
    GetClassInfoExA(GetModuleHandleA(nullptr), "CHAR00", &c);
    GetIconInfo(c.hIconSm, &small);
    GetObjectA(small.hbmMask, sizeof mask, &mask);  // the small icon loaded at 16 x 16
    EXPECT_TRUE(c.style == (CS_HREDRAW | CS_VREDRAW) && c.lpfnWndProc == MainWndProc &&
                c.cbClsExtra + c.cbWndExtra == 0 && c.hCursor == LoadCursorA(nullptr, IDC_ARROW) &&
                c.hIcon && mask.bmWidth == 16);

    // The lists hold the form's items, the first selections chosen; the day field takes six.
    const ChoiceList* lists[] = {&CAMERA_CHOICES, &BIT_RATE_CHOICES, &HOURS_CHOICES};
    for (int l = 0; l < 3; ++l) {
        std::string want = std::to_string(lists[l]->firstSelection), got;
        got = std::to_string(SendMessageA(made[CAMERAS + l], CB_GETCURSEL, 0, 0));
        for (int i = 0; i < lists[l]->count + 1; ++i) {  // and not one more
            char item[16] = "";
            SendMessageA(made[CAMERAS + l], CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            got += std::string(" ") + item;
            want += std::string(" ") + (i < lists[l]->count ? lists[l]->items[i] : "");
        }
        EXPECT_EQ(got, want);
    }
    EXPECT_EQ(SendMessageA(made[DAYS], EM_GETLIMITTEXT, 0, 0), 6);
}

TEST(MainWindow, ClickRepaintsAfterEachLineAndShowsThem)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    SendMessageA(made[CAMERAS], CB_SETCURSEL, 9, 0);   // 10 cameras
    SendMessageA(made[BIT_RATE], CB_SETCURSEL, 5, 0);  // 768 kbps
    SendMessageA(made[CALCULATE], BM_CLICK, 0, 0);
    EXPECT_EQ(paints.size(), 3u);  // each line painted at once, before the next
    // The window shows the expected face exactly, but for its controls: the platform's.
    HDC expected = ExpectedFace("POR HORA: 3.30 GB", " POR DIA: 79.10 GB", "  TOTAL: 2.32 TB");
    HDC shown = Picture();
    BitBlt(shown, 0, 0, 450, 360, GetDC(made[0]), 0, 0, SRCCOPY);
    BitBlt(shown, 293, 115, 157, 101, expected, 293, 115, SRCCOPY);  // the lists, the field
    BitBlt(shown, 140, 310, 170, 25, expected, 140, 310, SRCCOPY);   // the buttons
    EXPECT_TRUE(SamePixels(expected, shown));
}

TEST(MainWindow, EveryBoxWithTheWindowHiddenAndNothingLost)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    const std::string dayLimit = DAY_LIMIT_CAPTION + std::string(" / ");
    const struct {
        const char* days;
        HWND target;  // gets a click, or a close request if it is the window
        int answer;
        std::string box;
    } cases[] = {
        {"366", made[CALCULATE], IDOK, dayLimit + DAY_LIMIT_TEXT + " / buttons 1 / error icon"},
        {"-5", made[CALCULATE], IDOK, dayLimit + NEGATIVE_DAYS_TEXT + " / buttons 1 / error icon"},
        {"12", made[0], IDNO,
         "CONFIRMA\xC7\xC3O / Voc\xEA tem certeza que deseja sair? / buttons 6 7 / question icon"},
    };
    SendMessageA(made[CALCULATE], BM_CLICK, 0, 0);
    const std::string before = Lines();
    for (const auto& c : cases) {
        SetWindowTextA(made[DAYS], c.days);
        boxes.clear();
        paints.clear();
        answer = c.answer;
        SendMessageA(c.target, c.target == made[0] ? WM_CLOSE : BM_CLICK, 0, 0);
        EXPECT_EQ(boxes, std::vector<std::string>{c.box + " / window hidden"});
        // Shown again at once, painted with the earlier lines, the day text as it was.
        EXPECT_TRUE(IsWindowVisible(made[0]));
        EXPECT_EQ(paints, std::vector<std::string>{before});
        EXPECT_EQ(Text(made[DAYS]), c.days);
        EXPECT_FALSE(Pump());
    }
    // While a box is up, posted commands and close requests are ignored, not kept for later;
    // once it is answered, the window works as before.
    SetWindowTextA(made[DAYS], "366");
    for (int i = 0; i < 200; ++i) {
        PostMessageA(made[0], WM_COMMAND, CMD_CALCULATE, 0);
        PostMessageA(made[0], i % 10 == 0 ? WM_CLOSE : WM_NULL, 0, 0);
    }
    boxes.clear();
    EXPECT_FALSE(Pump());
    EXPECT_EQ(boxes.size(), 1u);
    PostMessageA(made[0], WM_CLOSE, 0, 0);
    EXPECT_FALSE(Pump());
    EXPECT_EQ(boxes.size(), 2u);
}

TEST(MainWindow, OnlyClicksCountAndYesEnds)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    for (WPARAM command : {MAKEWPARAM(CMD_CALCULATE, BN_SETFOCUS), MAKEWPARAM(CMD_EXIT, 1),
                           (WPARAM{1} << 32) | CMD_EXIT}) {
        SendMessageA(made[0], WM_COMMAND, command, 0);
    }
    EXPECT_EQ(Lines(), "RESULTADO||");
    EXPECT_FALSE(Pump());
    answer = IDYES;
    SendMessageA(made[0], WM_CLOSE, 0, 0);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(IsWindow(made[0]));
    EXPECT_TRUE(Pump());                    // the quit message, status 0
    EXPECT_EQ(RunMessageLoop(made[0]), 0);  // the window is gone: no loop at all
}

}  // namespace
