// The real main window under Wine, made by the program's own start-up code and driven with
// real messages, keys, clicks and boxes; a hook records what it makes and answers each box.
#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <numeric>
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
        HICON icon = reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0));
        seen += icon == LoadIconA(nullptr, IDI_HAND) ? " / error icon" : "";
        seen += icon == LoadIconA(nullptr, IDI_QUESTION) ? " / question icon" : "";
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

// Makes the main window with the program's start-up code, once an earlier test's is gone.
void Open()
{
    ASSERT_EQ(std::tuple(GetACP(), GetUserDefaultLCID(), GetUserDefaultUILanguage()),
              std::tuple(1252u, 0x416ul, LANGID{0x416}))
        << "code page, language and interface language: the Wine session pins pt_BR.UTF-8";
    static HHOOK hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);
    DestroyWindow(made.empty() ? nullptr : made[0]);
    made.clear();
    creations.clear();
    reads.clear();
    CreateMainWindow(GetModuleHandleA(nullptr));
    ASSERT_EQ(made.size(), 7u) << "windows made: the main window and its six controls";
    for (HWND window : made) {
        SetPropA(window, "p",
                 reinterpret_cast<HANDLE>(
                     SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Spy))));
    }
    Pump();
}

// The same pixels, or how many differ and the first (x, y, 0xRRGGBB); both left as NAME-*.ppm.
testing::AssertionResult SamePixels(HDC expected, HDC shown, const std::string& name)
{
    std::vector<DWORD> want(450 * 360), got(450 * 360);
    BITMAPINFO topDown = {{sizeof(BITMAPINFOHEADER), 450, -360, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    for (auto [dc, pixels, file] : {std::tuple(expected, &want, name + "-expected.ppm"),
                                    std::tuple(shown, &got, name + "-shown.ppm")}) {
        if (GetDIBits(dc, static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)), 0, 360,
                      pixels->data(), &topDown, DIB_RGB_COLORS) != 360) {
            return testing::AssertionFailure() << "the rows of " << file << " could not be read";
        }
        std::FILE* out = std::fopen(file.c_str(), "wb");
        std::fputs("P6 450 360 255\n", out);
        for (DWORD p : *pixels) {
            const BYTE rgb[] = {BYTE(p >> 16), BYTE(p >> 8), BYTE(p)};
            std::fwrite(rgb, sizeof rgb, 1, out);
        }
        std::fclose(out);
    }
    const auto [a, b] = std::mismatch(want.begin(), want.end(), got.begin());
    if (a == want.end()) {
        return testing::AssertionSuccess();
    }
    const auto first = a - want.begin();
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    testing::Message message;  // one stream, so that std::hex holds
    message << std::transform_reduce(a, want.end(), b, 0, std::plus<>(), std::not_equal_to<>())
            << " pixels differ, the first at (" << first % 450 << ", " << first / 450
            << "): expected 0x" << std::hex << *a << ", shown 0x" << *b << "; " << name
            << "-expected.ppm and " << name << "-shown.ppm are in " << folder;
    return testing::AssertionFailure(message);
}

TEST(MainWindow, CreatedAsAsked)
{
    ASSERT_NO_FATAL_FAILURE(Open());
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
}

TEST(MainWindow, WhatItShowsAsItOpensAndAfterCalcular)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    // As it opens, then painted before a click with the first selections ends (32 cameras, 1024
    // kbps, 24 h, 30 days): the result rows top to bottom, per day, per hour and total.
    const std::tuple<const char*, bool, std::array<const char*, 3>> states[] = {
        {"opened", false, {"", "RESULTADO", ""}},
        {"calculated", true, {" POR DIA: 337.50 GB", "POR HORA: 14.06 GB", "  TOTAL: 9.89 TB"}},
    };
    for (const auto& [state, click, rows] : states) {
        if (click) {
            SendMessageA(made[CALCULATE], BM_CLICK, 0, 0);
            const FormState& f = MainForm();  // read into the form's own texts, no more than fit
            EXPECT_EQ(reads, (std::vector<Read>{{made[CAMERAS], f.camerasText, 3u},
                                                {made[BIT_RATE], f.bitRateText, 5u},
                                                {made[HOURS], f.hoursText, 3u},
                                                {made[DAYS], f.daysText, 7u}}));
        }
        // The program's picture (the release check sweeps its layout), each text where the layout
        // puts it, on one line: centred (0x125) or from x 100 (0x124), and the controls.
        HDC expected = CreateCompatibleDC(nullptr);
        SelectObject(expected,
                     LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BACKGROUND),
                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        SetBkMode(expected, TRANSPARENT);
        auto draw = [expected](const char* text, RECT box, UINT format) {
            DrawTextA(expected, text, -1, &box, format);
        };
        draw("Preencha os campos abaixo e clique em Calcular!", {0, 0, 450, 180}, 0x125);
        draw("Quantidade de C\xE2meras:", {100, 0, 450, 250}, 0x124);
        draw("Bit Rate (Kbps):", {100, 0, 450, 304}, 0x124);
        draw("Grava\xE7\xE3o (horas por dia):", {100, 0, 450, 358}, 0x124);
        draw("Dias de grava\xE7\xE3o:", {100, 0, 450, 412}, 0x124);
        for (int row = 0; row < 3; ++row) {
            draw(rows[row], {0, 0, 450, 490 + 40 * row}, 0x125);
        }
        HDC window = GetDC(made[0]);  // the controls as the platform draws them, and only them
        for (int c = CALCULATE; c <= DAYS; ++c) {
            RECT r;
            GetWindowRect(made[c], &r);
            MapWindowPoints(nullptr, made[0], reinterpret_cast<POINT*>(&r), 2);
            BitBlt(expected, r.left, r.top, r.right - r.left, r.bottom - r.top, window, r.left,
                   r.top, SRCCOPY);
        }
        HDC shown = CreateCompatibleDC(nullptr);
        SelectObject(shown, CreateCompatibleBitmap(expected, 450, 360));
        BitBlt(shown, 0, 0, 450, 360, window, 0, 0, SRCCOPY);
        EXPECT_TRUE(SamePixels(expected, shown, state));
    }
}

void CALLBACK EndTheLoop(HWND, UINT, UINT_PTR, DWORD)
{
    PostQuitMessage(2);
}

TEST(MainWindow, CommandsKeysBoxesAndTheEnd)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    SendMessageA(made[CALCULATE], BM_CLICK, 0, 0);
    const ResultLines was = MainForm().results;
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
        EXPECT_STREQ(MainForm().results.perHour.text, was.perHour.text);
        EXPECT_STREQ(MainForm().results.perDay.text, was.perDay.text);
        EXPECT_STREQ(MainForm().results.total.text, was.total.text);
        // The window back (not minimized; active, as after SW_SHOWNA too) and painted, or gone.
        EXPECT_EQ(IsWindowVisible(made[0]) && !IsIconic(made[0]) && GetActiveWindow() == made[0],
                  !ends);
        EXPECT_FALSE(GetUpdateRect(made[0], nullptr, FALSE)) << "a paint still pending";
        EXPECT_EQ(Pump(), ends);
    }
}

}  // namespace
