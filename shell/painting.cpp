#include "shell/main_window.h"

namespace {

// Every text fits its rectangle, so DT_NOCLIP changes no pixel today: a longer text would
// still show whole.
constexpr UINT CENTRED = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;  // 0x125
constexpr UINT LEFT_ALIGNED = DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;         // 0x124
constexpr LONG LABEL_LEFT = 100;
constexpr LONG LABEL_DROP = 10;  // a label's centre below the top of its control

const char INSTRUCTIONS[] = "Preencha os campos abaixo e clique em Calcular!";
constexpr LONG INSTRUCTIONS_BOTTOM = 180;

// The result rows inside the frame, top to bottom: per day, per hour, total. The per-hour
// line takes the middle row, so "RESULTADO" stands alone in the frame's middle at start.
using ResultSlot = ResultText ResultLines::*;
struct ResultRow {
    ResultSlot slot;
    LONG bottom;
};

const ResultRow RESULT_ROWS[] = {
    {&ResultLines::perDay, 490},
    {&ResultLines::perHour, 530},
    {&ResultLines::total, 570},
};

PAINTSTRUCT paint;  // written by BeginPaint, read by EndPaint; one paint at a time

// Every text sits in a rectangle from the top of the client area down to `bottom`, so it
// is centred vertically on bottom / 2.
void DrawLine(HDC dc, const char* text, RECT box, LONG bottom, UINT format)
{
    box.bottom = bottom;
    DrawTextA(dc, text, -1, &box, format);
}

// The texts over whatever dc holds; the client rectangle sets the centre line.
void DrawMainWindowTexts(HDC dc, const RECT& client, const ResultLines& results)
{
    // No font and no text colour are chosen: the device context's own apply.
    SetBkMode(dc, TRANSPARENT);
    DrawLine(dc, INSTRUCTIONS, client, INSTRUCTIONS_BOTTOM, CENTRED);
    RECT labelBox = client;
    labelBox.left = LABEL_LEFT;
    for (const InputField& field : INPUT_FIELDS) {
        DrawLine(dc, field.label, labelBox, 2 * (field.top + LABEL_DROP), LEFT_ALIGNED);
    }
    for (const ResultRow& row : RESULT_ROWS) {
        DrawLine(dc, (results.*row.slot).text, client, row.bottom, CENTRED);
    }
}

}  // namespace

void PaintMainWindow(HWND window, const ResultLines& results)
{
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    DrawMainWindowTexts(dc, client, results);
    EndPaint(window, &paint);
}
