#include "shell/main_window.h"

namespace {

constexpr UINT CENTRED = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;  // 0x125
constexpr UINT LEFT_ALIGNED = DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;         // 0x124
constexpr LONG LABEL_LEFT = 100;

// Every text sits in a rectangle from the top of the client area down to `bottom`, so it
// is centred vertically on bottom / 2. Windows-1252: \xE2 a-circumflex, \xE7 c-cedilla,
// \xE3 a-tilde.
struct FixedText {
    const char* text;
    UINT format;
    LONG bottom;
};

const FixedText FIXED_TEXTS[] = {
    {"Preencha os campos abaixo e clique em Calcular!", CENTRED, 180},
    {"Quantidade de C\xE2meras:", LEFT_ALIGNED, 250},
    {"Bit Rate (Kbps):", LEFT_ALIGNED, 304},
    {"Grava\xE7\xE3o (horas por dia):", LEFT_ALIGNED, 358},
    {"Dias de grava\xE7\xE3o:", LEFT_ALIGNED, 412},
};

// The result rows inside the frame, top to bottom: per day, per hour, total. The per-hour
// line takes the middle row, so "RESULTADO" stands alone in the frame's middle at start.
struct ResultRow {
    ResultText ResultLines::*slot;
    LONG bottom;
};

const ResultRow RESULT_ROWS[] = {
    {&ResultLines::perDay, 490},
    {&ResultLines::perHour, 530},
    {&ResultLines::total, 570},
};

PAINTSTRUCT paint;  // written by BeginPaint, read by EndPaint; one paint at a time

}  // namespace

void DrawMainWindowTexts(HDC dc, const RECT& client, const ResultLines& results)
{
    // No font and no text colour are chosen: the device context's own apply.
    SetBkMode(dc, TRANSPARENT);
    for (const FixedText& fixed : FIXED_TEXTS) {
        RECT box = client;
        if (fixed.format == LEFT_ALIGNED) {
            box.left = LABEL_LEFT;
        }
        box.bottom = fixed.bottom;
        DrawTextA(dc, fixed.text, -1, &box, fixed.format);
    }
    for (const ResultRow& row : RESULT_ROWS) {
        RECT box = client;
        box.bottom = row.bottom;
        DrawTextA(dc, (results.*row.slot).text, -1, &box, CENTRED);
    }
}

void PaintMainWindow(HWND window)
{
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    DrawMainWindowTexts(dc, client, MainForm().results);
    EndPaint(window, &paint);
}
