#include "shell/main_window.h"

#include "resources/resource_ids.h"

namespace {

const char MAIN_CLASS_NAME[] = "CHAR00";
// Seen in the task bar and the window switcher, which the tests' display (no window manager)
// does not have; they read it as those do, in UTF-16.
const char MAIN_WINDOW_TITLE[] = "Corvane - Morvalen";

constexpr int WINDOW_WIDTH = 450;
constexpr int WINDOW_HEIGHT = 360;
constexpr int SMALL_ICON_SIZE = 16;

// Windows-1252: \xEA e-circumflex, \xC7 C-cedilla, \xC3 A-tilde.
const char CONFIRM_EXIT_TEXT[] = "Voc\xEA tem certeza que deseja sair?";
const char CONFIRM_EXIT_CAPTION[] = "CONFIRMA\xC7\xC3O";

static_assert(sizeof(WNDCLASSEXA) == (sizeof(void*) == 4 ? 48 : 80));

// The two buttons, created first, side by side below the results frame.
struct Button {
    const char* text;
    int x;
    int id;
};
constexpr int BUTTON_COUNT = 2;
const Button BUTTONS[BUTTON_COUNT] = {{"Calcular", 140, CMD_CALCULATE}, {"Sair", 230, CMD_EXIT}};
constexpr int BUTTON_TOP = 310;
constexpr int BUTTON_WIDTH = 80;
constexpr int BUTTON_HEIGHT = 25;
constexpr DWORD BUTTON_STYLE = WS_CHILD | WS_VISIBLE;  // a plain push button
// 2 has no documented meaning for a window's extended style (old headers named it
// WS_EX_DRAGDETECT): the buttons hand it to the platform unchanged, and it ignores it.
constexpr DWORD BUTTON_EX_STYLE = 2;

constexpr int INPUT_LEFT = 293;  // the input controls' column, right of their labels
constexpr DWORD LIST_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD DAY_FIELD_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_CENTER;

FormState form;           // written by CreateMainWindow and Calculate; read by the painter
WNDCLASSEXA windowClass;  // filled and registered by CreateMainWindow
MSG loopMessage;          // the message loop's one record

// The controls, written by CreateMainWindow. The input controls, in FormField order, are
// read by the field reader; the buttons are never read again.
struct Controls {
    HWND buttons[BUTTON_COUNT];
    HWND fields[FORM_FIELD_COUNT];
};
Controls controls;

// Written by ShowBoxWithWindowHidden; read by the window procedure, which opens no second
// box from the window while one is up (its modal loop still dispatches to the window).
bool boxOpen;

// What Calculate's reader and repaint work on: the window that got the command and its
// input controls.
struct FormWindow {
    HWND window;
    const HWND* fields;
};

void ReadField(const void* context, FormField field, char* buffer, int capacity)
{
    const FormWindow& target = *static_cast<const FormWindow*>(context);
    SendMessageA(target.fields[static_cast<int>(field)], WM_GETTEXT, static_cast<WPARAM>(capacity),
                 reinterpret_cast<LPARAM>(buffer));
}

// Repaints the whole window, background included, before Calculate goes on.
void RepaintNow(const void* context)
{
    HWND window = static_cast<const FormWindow*>(context)->window;
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

// Every message box goes through here: the window hides while the box is up. Showing it
// again is the caller's, since a Yes to leaving must not bring it back first.
int ShowBoxWithWindowHidden(HWND window, const char* text, const char* caption, UINT type)
{
    ShowWindow(window, SW_HIDE);
    boxOpen = true;
    int answer = MessageBoxA(window, text, caption, type);
    boxOpen = false;
    return answer;
}

void ShowAgain(HWND window)
{
    // Shown and activated. No test under Wine tells this from SW_SHOWNA or SW_SHOWNOACTIVATE:
    // the box's end activates its owner, hidden or not, so the window is active either way.
    ShowWindow(window, SW_SHOWDEFAULT);
    UpdateWindow(window);
}

void EndProgram(HWND window)
{
    DestroyWindow(window);
    PostQuitMessage(0);
}

void OnCalculate(HWND window)
{
    if (boxOpen) {
        return;
    }
    FormWindow target = {window, controls.fields};
    switch (Calculate(form, ReadField, RepaintNow, &target)) {
    case CalculateOutcome::Done: return;
    case CalculateOutcome::DayLimitExceeded:
        ShowBoxWithWindowHidden(window, DAY_LIMIT_TEXT, DAY_LIMIT_CAPTION, MB_ICONERROR);
        break;
    case CalculateOutcome::NegativeDayCount:
        ShowBoxWithWindowHidden(window, NEGATIVE_DAYS_TEXT, DAY_LIMIT_CAPTION, MB_ICONERROR);
        break;
    }
    ShowAgain(window);
}

void OnClose(HWND window)
{
    if (boxOpen) {
        return;
    }
    if (ShowBoxWithWindowHidden(window, CONFIRM_EXIT_TEXT, CONFIRM_EXIT_CAPTION,
                                MB_YESNO | MB_ICONQUESTION) == IDYES) {
        EndProgram(window);
    } else {
        ShowAgain(window);
    }
}

// A command counts only from a click: everything above the identifier's 16 bits is zero.
bool IsClick(WPARAM wParam, int id)
{
    return (wParam >> 16) == 0 && LOWORD(wParam) == id;
}

HWND CreateChild(HWND parent, HINSTANCE instance, DWORD exStyle, const char* className,
                 const char* text, DWORD style, int x, int y, int width, int height, int id)
{
    // A child window's identifier goes where a top-level window names its menu.
    return CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

// Adds the items in their order and selects the first selection.
void FillList(HWND list, const ChoiceList& choices)
{
    for (int i = 0; i < choices.count; ++i) {
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choices.items[i]));
    }
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(choices.firstSelection), 0);
}

}  // namespace

// Windows-1252: \xE2 a-circumflex, \xE7 c-cedilla, \xE3 a-tilde.
const InputField INPUT_FIELDS[FORM_FIELD_COUNT] = {
    {"Combobox", LIST_STYLE, 115, 57, 150, &CAMERA_CHOICES, nullptr, "Quantidade de C\xE2meras:"},
    {"Combobox", LIST_STYLE, 142, 57, 150, &BIT_RATE_CHOICES, nullptr, "Bit Rate (Kbps):"},
    {"Combobox", LIST_STYLE, 169, 57, 150, &HOURS_CHOICES, nullptr,
     "Grava\xE7\xE3o (horas por dia):"},
    {"Edit", DAY_FIELD_STYLE, 196, 56, 20, nullptr, DAYS_INITIAL_TEXT, "Dias de grava\xE7\xE3o:"},
};

const FormState& MainForm()
{
    return form;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        // The program's first ShowWindow: Windows applies the show state the program was
        // started with instead, if it was given one (see WinMain). Without one, WS_VISIBLE
        // shows the window just the same, so only such a start, which no test makes, tells.
        ShowWindow(window, SW_SHOWNORMAL);
        break;
    case WM_PAINT:
        PaintMainWindow(window, form.results);
        break;  // after EndPaint the default procedure finds nothing left to paint
    case WM_CLOSE:
        OnClose(window);
        return 0;  // a close request never destroys the window by itself
    case WM_COMMAND:
        if (IsClick(wParam, CMD_EXIT)) {
            EndProgram(window);
            return 0;
        }
        if (IsClick(wParam, CMD_CALCULATE)) {
            OnCalculate(window);
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateMainWindow(HINSTANCE instance)
{
    form = InitialFormState();

    // Resources come from this module, asked for anew each time (in an .exe, the instance).
    windowClass.cbSize = sizeof windowClass;  // 48 bytes in a 32-bit program, 80 in a 64-bit one
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPICON));
    // The platform would scale hIcon to the same 16 x 16 small icon by itself.
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPICON), IMAGE_ICON,
                   SMALL_ICON_SIZE, SMALL_ICON_SIZE, LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // The picture is exactly the window's size, so the pattern brush paints it once.
    HBITMAP picture =
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BACKGROUND),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    windowClass.hbrBackground = CreatePatternBrush(picture);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = MAIN_CLASS_NAME;
    RegisterClassExA(&windowClass);

    // Centred on the width of the full-screen client area and the height of the screen.
    // Wine reports the full-screen width as the screen's, so no test there tells them apart.
    int x = GetSystemMetrics(SM_CXFULLSCREEN) / 2 - WINDOW_WIDTH / 2;
    int y = GetSystemMetrics(SM_CYSCREEN) / 2 - WINDOW_HEIGHT / 2;
    HWND mainWindow =
        CreateWindowExA(0, MAIN_CLASS_NAME, MAIN_WINDOW_TITLE, WS_POPUP | WS_VISIBLE, x, y,
                        WINDOW_WIDTH, WINDOW_HEIGHT, nullptr, nullptr, instance, nullptr);

    for (int i = 0; i < BUTTON_COUNT; ++i) {
        controls.buttons[i] = CreateChild(mainWindow, instance, BUTTON_EX_STYLE, "BUTTON",
                                          BUTTONS[i].text, BUTTON_STYLE, BUTTONS[i].x, BUTTON_TOP,
                                          BUTTON_WIDTH, BUTTON_HEIGHT, BUTTONS[i].id);
    }
    for (int i = 0; i < FORM_FIELD_COUNT; ++i) {
        const InputField& field = INPUT_FIELDS[i];
        controls.fields[i] =
            CreateChild(mainWindow, instance, 0, field.className, field.text, field.style,
                        INPUT_LEFT, field.top, field.width, field.height, 0);
    }
    // Once every control exists, the lists get their items; the day field takes no more
    // than Calculate reads back.
    for (int i = 0; i < FORM_FIELD_COUNT; ++i) {
        if (INPUT_FIELDS[i].choices != nullptr) {
            FillList(controls.fields[i], *INPUT_FIELDS[i].choices);
        }
    }
    SendMessageA(controls.fields[static_cast<int>(FormField::Days)], EM_LIMITTEXT,
                 DAYS_CAPACITY - 1, 0);
    return mainWindow;
}

// No IsDialogMessage: Tab and Enter mean nothing of their own in the window.
int RunMessageLoop(HWND mainWindow)
{
    while (IsWindow(mainWindow) != FALSE) {
        BOOL got = GetMessageA(&loopMessage, nullptr, 0, 0);
        if (got == 0 || got == -1) {  // the quit message, or a failure to get one
            break;
        }
        TranslateMessage(&loopMessage);
        DispatchMessageA(&loopMessage);
    }
    return 0;
}
