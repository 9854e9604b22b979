#include "window_test_support.h"

#include <cstring>

#include "resources/resource_ids.h"
#include "shell/main_window.h"

std::string Cp1252(const char* utf8)
{
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p; ++p) {
        if ((*p == 0xC2 || *p == 0xC3) && p[1] != 0) {
            out += static_cast<char>((*p == 0xC3 ? 0xC0 : 0x80) | (p[1] & 0x3F));
            ++p;
        } else {
            out += static_cast<char>(*p);
        }
    }
    return out;
}

namespace {

struct BoxAnswerer {
    HHOOK hook;
    HWND owner;
    int answer;
    HWND lastBox;
    std::vector<SeenBox> seen;
};
BoxAnswerer answerer;

std::string WindowText(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HICON BoxIcon(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = "";
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") == 0 &&
            (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            return reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        }
    }
    return nullptr;
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    HWND box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && box != answerer.lastBox) {
        char className[32] = "";
        GetClassNameA(box, className, sizeof className);
        if (std::strcmp(className, "#32770") == 0) {
            answerer.lastBox = box;
            answerer.seen.push_back({className, WindowText(box),
                                     WindowText(GetDlgItem(box, 0xFFFF)),
                                     IsWindowVisible(answerer.owner) != FALSE,
                                     GetDlgItem(box, IDOK) != nullptr,
                                     GetDlgItem(box, IDYES) != nullptr,
                                     GetDlgItem(box, IDNO) != nullptr,
                                     GetDlgItem(box, IDCANCEL) != nullptr, BoxIcon(box)});
            int answer = answerer.answer;
            if (answer == ANSWER_SAFELY) {
                answer = GetDlgItem(box, IDNO) ? IDNO : IDOK;
            }
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
        }
    }
    return CallNextHookEx(answerer.hook, code, wParam, lParam);
}

struct CreationRecorder {
    HHOOK hook;
    std::vector<CreatedWindow> created;
};
CreationRecorder recorder;

std::string OptionalText(const char* text)
{
    return IS_INTRESOURCE(text) ? std::string() : std::string(text);
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA& c = *reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        recorder.created.push_back({reinterpret_cast<HWND>(wParam), OptionalText(c.lpszClass),
                                    OptionalText(c.lpszName), static_cast<DWORD>(c.style),
                                    c.dwExStyle, c.x, c.y, c.cx, c.cy, c.hMenu, c.hwndParent,
                                    c.hInstance, c.lpCreateParams});
    }
    return CallNextHookEx(recorder.hook, code, wParam, lParam);
}

WNDPROC originalProc;
std::vector<PaintSeen> paints;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        const ResultLines& r = MainForm().results;
        paints.push_back({r.perHour.text, r.perDay.text, r.total.text});
    }
    return CallWindowProcA(originalProc, window, message, wParam, lParam);
}

Pixels ReadBitmap(HDC source, int width, int height)
{
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD* words = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i) {
        DWORD w = words[i];  // 0x00RRGGBB
        pixels.rgb.push_back(RGB((w >> 16) & 0xFF, (w >> 8) & 0xFF, w & 0xFF));
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    return pixels;
}

}  // namespace

void StartAnsweringBoxes(HWND owner, int answer)
{
    answerer.owner = owner;
    answerer.answer = answer;
    answerer.lastBox = nullptr;
    answerer.seen.clear();
    answerer.hook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
}

void StopAnsweringBoxes()
{
    if (answerer.hook) {
        UnhookWindowsHookEx(answerer.hook);
        answerer.hook = nullptr;
    }
}

void StartRecordingCreations()
{
    recorder.created.clear();
    recorder.hook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
}

void StopRecordingCreations()
{
    UnhookWindowsHookEx(recorder.hook);
}

const std::vector<CreatedWindow>& Creations()
{
    return recorder.created;
}

const std::vector<SeenBox>& SeenBoxes()
{
    return answerer.seen;
}

void StartCountingPaints(HWND window)
{
    paints.clear();
    originalProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
}

const std::vector<PaintSeen>& PaintsSeen()
{
    return paints;
}

Pixels GrabWindow(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    Pixels pixels = ReadBitmap(dc, client.right, client.bottom);
    ReleaseDC(window, dc);
    return pixels;
}

Pixels BackgroundPicture()
{
    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                      MAKEINTRESOURCEA(IDB_BACKGROUND),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info = {};
    GetObjectA(picture, sizeof info, &info);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, picture);
    Pixels pixels = ReadBitmap(memory, info.bmWidth, info.bmHeight);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
    return pixels;
}

int CountChanged(const Pixels& shown, const Pixels& background, RECT area)
{
    int changed = 0;
    for (LONG y = area.top; y <= area.bottom; ++y) {
        for (LONG x = area.left; x <= area.right; ++x) {
            changed += shown.At(x, y) != background.At(x, y) ? 1 : 0;
        }
    }
    return changed;
}

HWND ControlAt(HWND parent, int x, int y)
{
    POINT inside = {x + 3, y + 3};
    return ChildWindowFromPointEx(parent, inside, CWP_ALL);
}

int OpenBoxes()
{
    int open = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM count) {
            char className[32] = "";
            GetClassNameA(window, className, sizeof className);
            if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
                ++*reinterpret_cast<int*>(count);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&open));
    return open;
}

void CloseTestWindow(HWND window)
{
    StopAnsweringBoxes();
    if (IsWindow(window)) {
        DestroyWindow(window);
    }
    PumpMessages();
}

bool PumpMessages()
{
    bool quitWithZero = false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitWithZero = quitWithZero || message.wParam == 0;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return quitWithZero;
}
