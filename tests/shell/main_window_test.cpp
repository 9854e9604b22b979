// The real main window under Wine: made by the program's own start-up code and driven with real
// messages, keys, clicks and boxes, a hook recording what it makes and answering each box; then
// the shipped program itself, started as a user starts it, and what it shows.
#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>
#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "shell/main_window.h"

namespace {

enum Child { CALCULATE = 1, EXIT, CAMERAS, BIT_RATE, HOURS, DAYS };  // in creation order
std::vector<HWND> made;                       // the main window, then its controls
std::vector<std::string> creations;           // what each of them was created with
std::vector<std::string> boxes;               // what each box showed, and what held meanwhile
std::vector<std::pair<UINT, WPARAM>> answer;  // what the hook posts to each box: keys, clicks
using Read = std::tuple<HWND, const void*, WPARAM>;  // a text request: control, buffer, size
std::vector<Read> reads;                             // those sent to the input controls
std::vector<WPARAM> clicks;  // commands without a notification code that reached the window

std::string DescribeBox(HWND box)
{
    char caption[64] = "", text[160] = "";
    GetWindowTextA(box, caption, sizeof caption);
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message's static text
    std::string seen = caption + std::string(" / ") + text + " / buttons";
    for (int id : {IDOK, IDYES, IDNO, IDCANCEL}) {
        seen += GetDlgItem(box, id) ? std::string(" ").append(std::to_string(id)) : "";
    }
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const auto icon = reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0));
        seen += icon == LoadIconA(nullptr, IDI_HAND)       ? " / error icon"
                : icon == LoadIconA(nullptr, IDI_QUESTION) ? " / question icon"
                                                           : "";
    }
    return seen + (GetWindow(box, GW_OWNER) == made[0] ? " / owned by the window" : " / unowned") +
           (IsWindowVisible(made[0]) ? ", shown" : ", hidden");
}

LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
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
    } else if (code == HCBT_ACTIVATE && GetClassWord(window, GCW_ATOM) == 32770  // a dialog
               && !GetPropA(window, "s")) {
        SetPropA(window, "s", window);  // seen: a box may be activated more than once
        boxes.push_back(DescribeBox(window));
        // Calcular and a close request while a box is up are ignored, not kept: a second box fails.
        if (boxes.size() == 1) {
            PostMessageA(made[0], WM_COMMAND, CMD_CALCULATE, 0);
            PostMessageA(made[0], WM_CLOSE, 0, 0);
        }
        for (const auto& [message, value] : answer) {  // keys to the box, as its loop reads them
            PostMessageA(window, message, value, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Installed with the ANSI SetWindowLongPtrA before each made window's own procedure (kept as its
// property "p"), it sees the program's own arguments: a hook may see a copy the platform converted.
LRESULT CALLBACK Spy(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETTEXT && window != made[0]) {
        reads.emplace_back(window, reinterpret_cast<const void*>(lParam), wParam);
    }
    if (message == WM_COMMAND && window == made[0] && HIWORD(wParam) == 0) {
        clicks.push_back(wParam);
    }
    const auto own = reinterpret_cast<WNDPROC>(GetPropA(window, "p"));
    return CallWindowProcA(own, window, message, wParam, lParam);
}

bool Pump()  // handles what is queued; true if a quit message with status 0 was among it
{
    bool quit = false;
    for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); DispatchMessageA(&m)) {
        quit = quit || (m.message == WM_QUIT && m.wParam == 0);
    }
    return quit;
}

void CALLBACK EndTheLoop(HWND, UINT, UINT_PTR, DWORD)
{
    PostQuitMessage(2);
}

// What a user sees besides the picture: each list's chosen item (the lists at x 320, 27 pixels
// apart), the day field's text below them, and the window shown (not minimized) and active.
std::string Seen(HWND window)
{
    std::string seen;
    for (int y : {124, 151, 178, 206}) {
        char text[16] = "";
        SendMessageA(ChildWindowFromPoint(window, {320, y}), WM_GETTEXT, sizeof text,
                     reinterpret_cast<LPARAM>(text));
        seen += text + std::string(" ");
    }
    const bool active =
        GetActiveWindow() == window || GetForegroundWindow() == window;  // here, there
    return seen + (IsWindowVisible(window) && !IsIconic(window) && active ? "shown" : "hidden");
}

// In this process, that and the result slots; once the window is gone, only that.
std::string SeenHere()
{
    const ResultLines& r = MainForm().results;
    return IsWindow(made[0])
               ? Seen(made[0]) + " | " + r.perHour.text + " |" + r.perDay.text + " |" + r.total.text
               : "gone";
}

// The main window as the program's start-up code makes it, then what commands, keys and boxes do.
TEST(MainWindow, MadeThenTakenToItsEnd)
{
    ASSERT_EQ(std::tuple(GetACP(), GetUserDefaultLCID(), GetUserDefaultUILanguage()),
              std::tuple(1252u, 0x416ul, LANGID{0x416}))
        << "code page, language and interface language: the Wine session pins pt_BR.UTF-8";
    ASSERT_TRUE(SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId()));
    CreateMainWindow(GetModuleHandleA(nullptr));
    ASSERT_EQ(made.size(), 7u) << "windows made: the main window and its six controls";
    for (HWND window : made) {
        SetPropA(window, "p",
                 reinterpret_cast<HANDLE>(
                     SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Spy))));
    }
    Pump();
    const std::string main = "CHAR00 Corvane - Morvalen 90000000 0 " +
                             std::to_string(GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 225) + "," +
                             std::to_string(GetSystemMetrics(SM_CYSCREEN) / 2 - 180) +
                             " 450x360 id 0";
    EXPECT_EQ(creations, (std::vector<std::string>{
                             main, "BUTTON Calcular 50000000 2 140,310 80x25 id 3",
                             "BUTTON Sair 50000000 2 230,310 80x25 id 4",
                             "Combobox - 50A00003 0 293,115 57x150 id 0",  // dropped-down height
                             "Combobox - 50A00003 0 293,142 57x150 id 0",
                             "Combobox - 50A00003 0 293,169 57x150 id 0",
                             "Edit 30 50802001 0 293,196 56x20 id 0"}));
    ICONINFO small = {};
    BITMAP mask = {};
    GetIconInfo(reinterpret_cast<HICON>(GetClassLongPtrA(made[0], GCLP_HICONSM)), &small);
    GetObjectA(small.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(
        std::tuple(GetClassLongA(made[0], GCL_STYLE), GetClassLongPtrA(made[0], GCLP_HICON),
                   mask.bmWidth, GetClassLongPtrA(made[0], GCLP_HCURSOR)),
        std::tuple(DWORD{CS_HREDRAW | CS_VREDRAW},
                   ULONG_PTR(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPICON))),
                   16L, ULONG_PTR(LoadCursorA(nullptr, IDC_ARROW))));
    EXPECT_EQ(SendMessageA(made[DAYS], EM_GETLIMITTEXT, 0, 0), 6);  // six characters are read
    // Each list holds its items once (their texts are the core's); no control has a font or focus.
    for (int c = CALCULATE; c <= DAYS; ++c) {
        EXPECT_EQ(std::tuple(SendMessageA(made[c], CB_GETCOUNT, 0, 0),
                             SendMessageA(made[c], WM_GETFONT, 0, 0), GetFocus() == made[c]),
                  std::tuple(LRESULT{std::array{0, 0, 32, 10, 24, 0}[c - 1]}, LRESULT{0}, false))
            << "control " << c << ": items, font, focus";
    }
    SendMessageA(made[CALCULATE], BM_CLICK, 0, 0);
    const FormState& f = MainForm();  // read into the form's own texts, no more than fit
    EXPECT_EQ(reads, (std::vector<Read>{{made[CAMERAS], f.camerasText, 3u},
                                        {made[BIT_RATE], f.bitRateText, 5u},
                                        {made[HOURS], f.hoursText, 3u},
                                        {made[DAYS], f.daysText, 7u}}));
    const std::string days = "Falha na opera\xE7\xE3o / A quantidade de dias ",
                      retry = ". Por favor, tente novamente. / buttons 1 / error icon";
    const std::string confirm =
        "CONFIRMA\xC7\xC3O / Voc\xEA tem certeza que deseja sair? / buttons 6 7 / question icon";
    using Answer = std::vector<std::pair<UINT, WPARAM>>;
    const Answer enter = {{WM_KEYDOWN, VK_RETURN}}, esc = {{WM_KEYDOWN, VK_ESCAPE}},
                 no = {{WM_COMMAND, IDNO}}, escThenNo = {esc[0], no[0]};
    // Each message to the window, with the day field as given, a key to the focused day field
    // through the program's own loop, where Tab, Enter and Esc mean nothing; the hook answers each
    // box: Enter presses the first button; Esc is OK where OK is alone, and never Yes.
    const std::tuple<const char*, UINT, WPARAM, Answer, std::string> cases[] = {
        {"366", WM_COMMAND, CMD_CALCULATE, enter, days + "deve ser menor que 366" + retry},
        {"-5", WM_COMMAND, CMD_CALCULATE, esc, days + "n\xE3o pode ser negativa" + retry},
        {"12", WM_CLOSE, 0, no, confirm},
        {"12", WM_CLOSE, 0, escThenNo, confirm},
        {"12", WM_COMMAND, MAKEWPARAM(CMD_CALCULATE, BN_SETFOCUS), no, ""},
        {"12", WM_COMMAND, MAKEWPARAM(CMD_EXIT, 1), no, ""},
        {"12", WM_KEYDOWN, VK_TAB, no, ""},
        {"12", WM_KEYDOWN, VK_RETURN, no, ""},
        {"12", WM_KEYDOWN, VK_ESCAPE, no, ""},
        {"12", WM_SYSCOMMAND, SC_CLOSE, enter, confirm},  // Alt+F4's request, and the end
    };
    for (const auto& [field, message, wParam, keys, box] : cases) {
        SCOPED_TRACE(testing::Message()
                     << "message " << message << ", wParam " << wParam << ", day field " << field);
        SetWindowTextA(made[DAYS], field);
        SetFocus(made[DAYS]);
        const std::string before = SeenHere();  // what none of these may change; the end, gone
        boxes.clear();
        clicks.clear();
        answer = keys;
        const bool key = message == WM_KEYDOWN, ends = message == WM_SYSCOMMAND;
        UINT_PTR timer = 0;  // a timer's message, the lowest in priority, comes after all else
        if (key || ends) {   // (the end's only after 10 s, should the window stay)
            PostMessageA(made[key ? DAYS : 0], message, wParam, 1);
            timer = SetTimer(nullptr, 0, key ? 1 : 10000, EndTheLoop);
        }
        // Each returns 0; the end goes through the program's own loop, whose 0 is the exit status.
        EXPECT_EQ(key || ends ? RunMessageLoop(made[0]) : SendMessageA(made[0], message, wParam, 0),
                  0);
        KillTimer(nullptr, timer);
        EXPECT_EQ(boxes, box.empty() ? std::vector<std::string>{}
                                     : std::vector{box + " / owned by the window, hidden"});
        EXPECT_TRUE(!key || (clicks.empty() && GetFocus() == made[DAYS]))
            << "after the key: commands " << testing::PrintToString(clicks) << ", focus "
            << GetFocus();
        // The window back (active, as after SW_SHOWNA too) and painted, or gone.
        EXPECT_EQ(SeenHere(), ends ? "gone" : before);
        EXPECT_FALSE(GetUpdateRect(made[0], nullptr, FALSE)) << "a paint still pending";
        EXPECT_EQ(Pump(), ends);
    }
}

// The shipped program, started as a user starts it (its own start-up and loop: none of this file's
// code), and its thread's shown top-level window: the main window, or the box while one is up.
char shipped[] = "..\\morvalen.exe";  // the build's, seen from its tests folder
PROCESS_INFORMATION program;

HWND Shown()
{
    HWND w = GetTopWindow(nullptr);
    while (w &&
           !(IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == program.dwThreadId)) {
        w = GetWindow(w, GW_HWNDNEXT);
    }
    return w;
}

bool Until(const std::function<bool()>& done)  // asks for up to 10 s
{
    for (int i = 0; i < 100 && !done(); ++i) {
        Sleep(100);
    }
    return done();
}

// A user's input, in turn: a key pressed and let go, or a click at window point CLICK + 1000 x + y,
// taken in once the control there has the focus (or the window is hidden, by a box, or gone).
constexpr int CLICK = 1'000'000, CALCULAR = CLICK + 180'322, DAY_FIELD = CLICK + 340'206;
void Give(HWND window, POINT at, const std::vector<int>& input)
{
    for (int i : input) {
        if (i < CLICK) {
            keybd_event(static_cast<BYTE>(i), 0, 0, 0);
            keybd_event(static_cast<BYTE>(i), 0, KEYEVENTF_KEYUP, 0);
            continue;
        }
        const POINT point = {(i - CLICK) / 1000, i % 1000};
        SetCursorPos(at.x + point.x, at.y + point.y);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        EXPECT_TRUE(Until([&] {
            GUITHREADINFO gui = {sizeof gui, {}, {}, {}, {}, {}, {}, {}, {}};
            return !IsWindowVisible(window) ||
                   (GetGUIThreadInfo(program.dwThreadId, &gui) &&
                    gui.hwndFocus == ChildWindowFromPoint(window, point));
        })) << "no focus on what the click at ("
            << point.x << ", " << point.y << ") hit";
    }
}

// How many pixels differ, and the first; given a NAME, both pictures are left as
// NAME-expected.ppm and NAME-shown.ppm.
std::string Differences(const DWORD* expected, const DWORD* shown, const std::string& name)
{
    int count = 0, first = 0;
    for (int i = 450 * 360 - 1; i >= 0; --i) {
        count += (expected[i] ^ shown[i]) & 0xFFFFFF ? (first = i, 1) : 0;
    }
    for (auto [pixels, file] : {std::pair(expected, "-expected"), std::pair(shown, "-shown")}) {
        if (name.empty()) {
            break;
        }
        std::FILE* out = std::fopen((name + file + ".ppm").c_str(), "wb");
        std::fputs("P6 450 360 255\n", out);
        for (int i = 0; i < 450 * 360; ++i) {
            const BYTE rgb[] = {BYTE(pixels[i] >> 16), BYTE(pixels[i] >> 8), BYTE(pixels[i])};
            std::fwrite(rgb, sizeof rgb, 1, out);
        }
        std::fclose(out);
    }
    char said[160] = "";
    std::snprintf(said, sizeof said,
                  "%d pixels differ, the first at (%d, %d): expected 0x%06lX, "
                  "shown 0x%06lX (both pictures are in the build's tests folder)",
                  count, first % 450, first / 450, expected[first] & 0xFFFFFF,
                  shown[first] & 0xFFFFFF);
    return count ? said : "";
}

// As it opens, then after each input: what is seen besides the picture, the result rows top to
// bottom (per day, per hour, total), and the box the input brings up, if any, which Enter answers:
// its caption and text as a user reads them, and whether the window is hidden meanwhile. 32 cameras
// of 768 kbps, 24 h a day: 10800 MB an hour, 259200 MB a day (253.125 GB, a tie, to even), 15552000
// MB in 60 days.
using Rows = std::array<const char*, 3>;
const Rows FIRST = {" POR DIA: 337.50 GB", "POR HORA: 14.06 GB", "  TOTAL: 9.89 TB"},
           LATER = {" POR DIA: 253.12 GB", "POR HORA: 10.55 GB", "  TOTAL: 14.83 TB"};
const std::tuple<const char*, std::vector<int>, const char*, Rows, const wchar_t*> TOUR[] = {
    {"opened", {}, "32 1024 24 30 shown", {"", "RESULTADO", ""}, nullptr},
    {"calculated", {CALCULAR}, "32 1024 24 30 shown", FIRST, nullptr},
    {"picked", {CLICK + 320'151, VK_UP, VK_RETURN}, "32 768 24 30 shown", FIRST, nullptr},
    {"typed",
     {DAY_FIELD, VK_END, VK_BACK, VK_BACK, '6', '0'},
     "32 768 24 60 shown",
     FIRST,
     nullptr},
    {"recalculated", {CALCULAR}, "32 768 24 60 shown", LATER, nullptr},
    {"refused",
     {DAY_FIELD, VK_END, '6', CALCULAR},
     "32 768 24 606 shown",
     LATER,
     L"Falha na opera\u00E7\u00E3o / A quantidade de dias deve ser menor que 366. Por favor, tente "
     L"novamente., hidden"},
};

TEST(ShippedProgram, WhatItShowsAsAUserTakesIt)
{
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    ASSERT_TRUE(CreateProcessA(nullptr, shipped, nullptr, nullptr, 0, 0, nullptr, nullptr, &start,
                               &program));
    const std::unique_ptr<void, BOOL (*)(HANDLE)> ends(program.hProcess, [](HANDLE process) {
        return TerminateProcess(process, 1);  // however the test ends; it fails once ended
    });
    HWND window = nullptr;
    ASSERT_TRUE(Until([&] { return (window = Shown()) != nullptr; })) << "no window";
    wchar_t title[64] = L"";
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Corvane - Morvalen") << "as the task bar and the window switcher show it";
    // The program's own picture with each text drawn where the layout puts it, centred (0x125) or
    // from x 100 (0x124), and the controls as the platform draws them, copied from the screen.
    HDC picture = CreateCompatibleDC(nullptr), dc[2];
    SelectObject(picture, LoadImageA(LoadLibraryExA(shipped, nullptr, LOAD_LIBRARY_AS_DATAFILE),
                                     MAKEINTRESOURCEA(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0,
                                     LR_CREATEDIBSECTION));
    const BITMAPINFO dib = {{sizeof dib.bmiHeader, 450, -360, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* pixels[2] = {};  // expected, shown: 0xRRGGBB from the top row down
    for (int i : {0, 1}) {
        dc[i] = CreateCompatibleDC(nullptr);
        SelectObject(dc[i], CreateDIBSection(dc[i], &dib, DIB_RGB_COLORS, &pixels[i], nullptr, 0));
    }
    const auto *want = static_cast<DWORD*>(pixels[0]), *got = static_cast<DWORD*>(pixels[1]);
    SetBkMode(dc[0], TRANSPARENT);
    const POINT at = {GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 225,
                      GetSystemMetrics(SM_CYSCREEN) / 2 - 180};  // centred
    HDC screen = GetDC(nullptr);
    for (const auto& [state, input, seen, rows, box] : TOUR) {
        SCOPED_TRACE(state);
        Give(window, at, input);
        if (box) {
            wchar_t caption[64] = L"", text[160] = L"";
            ASSERT_TRUE(Until([&] { return Shown() && Shown() != window; })) << "no box";
            GetWindowTextW(Shown(), caption, 64);
            GetDlgItemTextW(Shown(), 0xFFFF, text, 160);  // the message's static text
            EXPECT_EQ(std::wstring(caption) + L" / " + text +
                          (IsWindowVisible(window) ? L", shown" : L", hidden"),
                      box);
            Give(window, at, {VK_RETURN});
        }
        const std::tuple<const char*, RECT, UINT> texts[] = {
            {"Preencha os campos abaixo e clique em Calcular!", {0, 0, 450, 180}, 0x125},
            {"Quantidade de C\xE2meras:", {100, 0, 450, 250}, 0x124},
            {"Bit Rate (Kbps):", {100, 0, 450, 304}, 0x124},
            {"Grava\xE7\xE3o (horas por dia):", {100, 0, 450, 358}, 0x124},
            {"Dias de grava\xE7\xE3o:", {100, 0, 450, 412}, 0x124},
            {rows[0], {0, 0, 450, 490}, 0x125},
            {rows[1], {0, 0, 450, 530}, 0x125},
            {rows[2], {0, 0, 450, 570}, 0x125},
        };
        std::string differences;
        Until([&] {
            BitBlt(dc[1], 0, 0, 450, 360, screen, at.x, at.y, SRCCOPY);
            BitBlt(dc[0], 0, 0, 450, 360, picture, 0, 0, SRCCOPY);
            for (auto [text, place, format] : texts) {
                DrawTextA(dc[0], text, -1, &place, format);
            }
            for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                RECT r;
                GetWindowRect(c, &r);
                OffsetRect(&r, -at.x, -at.y);
                BitBlt(dc[0], r.left, r.top, r.right - r.left, r.bottom - r.top, dc[1], r.left,
                       r.top, SRCCOPY);
            }
            GdiFlush();
            return Differences(want, got, "").empty() && Seen(window) == seen;
        });
        // The first state that fails ends the tour: what follows it would only fail with it.
        ASSERT_EQ(Differences(want, got, state), "");
        ASSERT_EQ(Seen(window), seen);
    }
    Give(window, at, {CLICK + 270'322});  // Sair: the program ends at once, with status 0
    DWORD status = STILL_ACTIVE;
    EXPECT_EQ(WaitForSingleObject(program.hProcess, 10000), WAIT_OBJECT_0) << "running after Sair";
    GetExitCodeProcess(program.hProcess, &status);
    EXPECT_EQ(status, 0u);
}

}  // namespace
