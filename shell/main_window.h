// The window shell: the main window, its controls, its window procedure and its painting,
// over the portable calculator form.
#pragma once

#include <windows.h>

#include "core/calculator_form.h"

// Command identifiers of the two buttons.
constexpr int CMD_CALCULATE = 3;
constexpr int CMD_EXIT = 4;

// One row per input field, in FormField order: the creation, filling and painting of the
// form loop over these rows, and the field reader indexes the controls made from them.
struct InputField {
    const char* className;
    DWORD style;
    int top;                    // client y of the control; its label is centred 10 pixels lower
    int width, height;          // a list's height is its dropped-down height
    const ChoiceList* choices;  // a list's items; null for the day field
    const char* text;           // the day field's text at start; null for a list
    const char* label;          // Windows-1252
};
extern const InputField INPUT_FIELDS[FORM_FIELD_COUNT];

// Registers the class, creates the main window and its six controls and fills the lists;
// the form starts afresh. Returns the main window (null if it could not be created).
HWND CreateMainWindow(HINSTANCE instance);

// Runs until the main window is gone or the quit message arrives; returns the exit status.
int RunMessageLoop(HWND mainWindow);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The form's state, for the window tests, which check that a box or an ignored command
// leaves the result slots as they were: on the screen they are only pixels.
const FormState& MainForm();

// Draws the instructions, the four labels and the result lines over the background the
// platform has already painted.
void PaintMainWindow(HWND window, const ResultLines& results);
