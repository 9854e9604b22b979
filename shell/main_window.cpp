#include "shell/main_window.h"

#include "resources/resource_ids.h"

namespace {

const char MAIN_CLASS_NAME[] = "CHAR00";
const char MAIN_WINDOW_TITLE[] = "Corvane - Morvalen";  // seen in the task bar and switcher

constexpr int WINDOW_WIDTH = 450;
constexpr int WINDOW_HEIGHT = 360;
constexpr int SMALL_ICON_SIZE = 16;

// Windows-1252: \xEA e-circumflex, \xC7 C-cedilla, \xC3 A-tilde.
const char CONFIRM_EXIT_TEXT[] = "Voc\xEA tem certeza que deseja sair?";
const char CONFIRM_EXIT_CAPTION[] = "CONFIRMA\xC7\xC3O";

static_assert(sizeof(WNDCLASSEXA) == (sizeof(void*) == 4 ? 48 : 80));

FormState form;           // written by CreateMainWindow and Calculate; read by the painter
WNDCLASSEXA windowClass;  // filled and registered by CreateMainWindow
MSG queued;               // the message loop's one record

// The controls, written by CreateMainWindow; the input handles are read by the field
// reader, the buttons are never read again.
struct Controls {
    HWND calculate, exit;
    HWND cameras, bitRate, hours, days;
};
Controls controls;

struct ControlLayout {
    const char* className;
    const char* text;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;  // client pixels; a list's height is its dropped-down height
    int id;
    HWND Controls::*handle;
};

constexpr DWORD BUTTON_STYLE = WS_CHILD | WS_VISIBLE;  // a plain push button
constexpr DWORD BUTTON_EX_STYLE = 2;  // handed to the platform as it has always been
constexpr DWORD LIST_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD DAY_FIELD_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_CENTER;

// In creation order. The input rows are 27 pixels apart.
const ControlLayout CONTROL_LAYOUT[] = {
    {"BUTTON", "Calcular", BUTTON_STYLE, BUTTON_EX_STYLE, 140, 310, 80, 25, CMD_CALCULATE,
     &Controls::calculate},
    {"BUTTON", "Sair", BUTTON_STYLE, BUTTON_EX_STYLE, 230, 310, 80, 25, CMD_EXIT, &Controls::exit},
    {"Combobox", nullptr, LIST_STYLE, 0, 293, 115, 57, 150, 0, &Controls::cameras},
    {"Combobox", nullptr, LIST_STYLE, 0, 293, 142, 57, 150, 0, &Controls::bitRate},
    {"Combobox", nullptr, LIST_STYLE, 0, 293, 169, 57, 150, 0, &Controls::hours},
    {"Edit", DAYS_INITIAL_TEXT, DAY_FIELD_STYLE, 0, 293, 196, 56, 20, 0, &Controls::days},
};

struct ListFilling {
    HWND Controls::*handle;
    const ChoiceList* choices;
};

const ListFilling LIST_FILLING[] = {
    {&Controls::cameras, &CAMERA_CHOICES},
    {&Controls::bitRate, &BIT_RATE_CHOICES},
    {&Controls::hours, &HOURS_CHOICES},
};

// The field each input control holds, in the order Calculate reads them.
HWND FieldControl(FormField field)
{
    switch (field) {
    case FormField::Cameras: return controls.cameras;
    case FormField::BitRate: return controls.bitRate;
    case FormField::HoursPerDay: return controls.hours;
    case FormField::Days: return controls.days;
    }
    return nullptr;
}

void ReadField(void*, FormField field, char* buffer, int capacity)
{
    SendMessageA(FieldControl(field), WM_GETTEXT, static_cast<WPARAM>(capacity),
                 reinterpret_cast<LPARAM>(buffer));
}

// Repaints the whole window, background included, before Calculate goes on.
void RepaintNow(void* context)
{
    HWND window = static_cast<HWND>(context);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

// Every message box goes through here: the window hides while the box is up and comes
// back when it closes, unless the answer was Yes to leaving.
int AskWhileHidden(HWND window, const char* text, const char* caption, UINT type)
{
    ShowWindow(window, SW_HIDE);
    int answer = MessageBoxA(window, text, caption, type);
    if (answer != IDYES) {
        ShowWindow(window, SW_SHOWDEFAULT);
        UpdateWindow(window);
    }
    return answer;
}

void EndProgram(HWND window)
{
    DestroyWindow(window);
    PostQuitMessage(0);
}

void OnCalculate(HWND window)
{
    switch (Calculate(form, ReadField, RepaintNow, window)) {
    case CalculateOutcome::Done: break;
    case CalculateOutcome::DayLimitExceeded:
        AskWhileHidden(window, DAY_LIMIT_TEXT, DAY_LIMIT_CAPTION, MB_ICONERROR);
        break;
    case CalculateOutcome::NegativeDayCount:
        AskWhileHidden(window, NEGATIVE_DAYS_TEXT, DAY_LIMIT_CAPTION, MB_ICONERROR);
        break;
    }
}

void OnClose(HWND window)
{
    if (AskWhileHidden(window, CONFIRM_EXIT_TEXT, CONFIRM_EXIT_CAPTION,
                       MB_YESNO | MB_ICONQUESTION) == IDYES) {
        EndProgram(window);
    }
}

// A command counts only from a click: everything above the identifier's 16 bits is zero.
bool IsClick(WPARAM wParam, int id)
{
    return (wParam >> 16) == 0 && LOWORD(wParam) == id;
}

}  // namespace

const FormState& MainForm()
{
    return form;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        ShowWindow(window, SW_SHOWNORMAL);
        break;
    case WM_PAINT:
        PaintMainWindow(window);
        break;
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

    // Resources come from this module, asked for anew each time.
    windowClass.cbSize = sizeof windowClass;  // 48 bytes in a 32-bit program, 80 in a 64-bit one
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPICON));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPICON), IMAGE_ICON,
                   SMALL_ICON_SIZE, SMALL_ICON_SIZE, LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // The picture is exactly the window's size, so the pattern brush paints it once.
    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                      MAKEINTRESOURCEA(IDB_BACKGROUND),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    windowClass.hbrBackground = CreatePatternBrush(picture);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = MAIN_CLASS_NAME;
    RegisterClassExA(&windowClass);

    // Centred on the width of the full-screen client area and the height of the screen.
    int x = GetSystemMetrics(SM_CXFULLSCREEN) / 2 - WINDOW_WIDTH / 2;
    int y = GetSystemMetrics(SM_CYSCREEN) / 2 - WINDOW_HEIGHT / 2;
    HWND mainWindow = CreateWindowExA(0, MAIN_CLASS_NAME, MAIN_WINDOW_TITLE, WS_POPUP | WS_VISIBLE,
                                      x, y, WINDOW_WIDTH, WINDOW_HEIGHT, nullptr, nullptr,
                                      instance, nullptr);

    for (const ControlLayout& c : CONTROL_LAYOUT) {
        // A child window's identifier goes where a top-level window names its menu.
        controls.*c.handle =
            CreateWindowExA(c.exStyle, c.className, c.text, c.style, c.x, c.y, c.width, c.height,
                            mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                            instance, nullptr);
    }
    // The day field takes no more than Calculate reads back.
    SendMessageA(controls.days, EM_LIMITTEXT,
                 static_cast<WPARAM>(ReadBackCapacity(FormField::Days) - 1), 0);

    for (const ListFilling& list : LIST_FILLING) {
        HWND control = controls.*list.handle;
        for (int i = 0; i < list.choices->count; ++i) {
            SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(list.choices->items[i]));
        }
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(list.choices->firstSelection), 0);
    }
    return mainWindow;
}

int RunMessageLoop(HWND mainWindow)
{
    while (IsWindow(mainWindow) != FALSE) {
        BOOL got = GetMessageA(&queued, nullptr, 0, 0);
        if (got == 0 || got == -1) {  // the quit message, or a failure to get one
            break;
        }
        TranslateMessage(&queued);
        DispatchMessageA(&queued);
    }
    return 0;
}
