// Helpers for driving the real main window under Wine: answering message boxes, counting
// paints, grabbing pixels and comparing Windows-1252 texts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The Windows-1252 bytes of a UTF-8 text in the Latin-1 range, so expected texts can be
// written plainly in the test source.
std::string Cp1252(const char* utf8);

// What a message box showed when it came up, and the state of its owner at that moment.
struct SeenBox {
    std::string className, caption, text;
    bool ownerVisible;
    bool hasOk, hasYes, hasNo, hasCancel;
    HICON icon;  // the icon the box shows, null if none
};

// Catches every message box of this thread with a WH_CBT hook and presses `answer` in it;
// ANSWER_SAFELY presses No where there is one, else OK, so the program goes on.
constexpr int ANSWER_SAFELY = 0;
void StartAnsweringBoxes(HWND owner, int answer);
void StopAnsweringBoxes();
const std::vector<SeenBox>& SeenBoxes();

// What the program asked CreateWindowExA for, as a WH_CBT hook sees it at HCBT_CREATEWND:
// before the window or control adjusts its own style.
struct CreatedWindow {
    HWND window;
    std::string className, text;
    DWORD style, exStyle;
    int x, y, width, height;
    HMENU menu;  // a child's identifier
    HWND parent;
    HINSTANCE instance;
    void* params;
};
void StartRecordingCreations();
void StopRecordingCreations();
const std::vector<CreatedWindow>& Creations();

// The results as the painter saw them at each WM_PAINT of the subclassed window.
struct PaintSeen {
    std::string perHour, perDay, total;
};
void StartCountingPaints(HWND window);
const std::vector<PaintSeen>& PaintsSeen();

// The window's current pixels, read back from its device context.
struct Pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> rgb;  // top-down, RGB() values
    COLORREF At(int x, int y) const { return rgb[static_cast<size_t>(y * width + x)]; }
};
Pixels GrabWindow(HWND window);
Pixels BackgroundPicture();  // bitmap 106 as this module carries it

// Pixels in the rectangle (inclusive) that differ from the background picture.
int CountChanged(const Pixels& shown, const Pixels& background, RECT area);

// The child control whose client rectangle holds the point (a pixel inside its top left).
HWND ControlAt(HWND parent, int x, int y);

// Message boxes of this thread that are still open.
int OpenBoxes();

// Ends a test's window: stops answering boxes, destroys the window if it is still there
// and takes away any quit message it posted, which would make the next box return at once.
void CloseTestWindow(HWND window);

// Handles pending messages; returns true if a quit message with status 0 was among them.
bool PumpMessages();
