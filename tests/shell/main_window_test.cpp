// The real main window under Wine, created by the program's own start-up code and driven
// with real messages, real clicks and real message boxes.
#include "shell/main_window.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <gtest/gtest.h>

#include "window_test_support.h"

namespace {

constexpr int WIDTH = 450;
constexpr int HEIGHT = 360;

struct ExpectedControl {
    const char* className;  // as the platform registers it
    const char* text;       // UTF-8; for a list, its selected item
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;  // a list's height is its dropped-down height
    int id;
};

const ExpectedControl CONTROLS[] = {
    {"Button", "Calcular", 0x50000000, 2, 140, 310, 80, 25, 3},
    {"Button", "Sair", 0x50000000, 2, 230, 310, 80, 25, 4},
    {"ComboBox", "32", 0x50A00003, 0, 293, 115, 57, 150, 0},
    {"ComboBox", "1024", 0x50A00003, 0, 293, 142, 57, 150, 0},
    {"ComboBox", "24", 0x50A00003, 0, 293, 169, 57, 150, 0},
    {"Edit", "30", 0x50802001, 0, 293, 196, 56, 20, 0},
};
enum ControlIndex { CALCULATE, EXIT, CAMERAS, BIT_RATE, HOURS, DAYS };

// Rows of text, inclusive pixel bands: the instructions, the four labels and the three
// result rows inside the frame (per day, per hour, total).
const RECT INSTRUCTION_ROW = {0, 82, 449, 98};
const RECT LABEL_ROWS[] = {{100, 118, 290, 132}, {100, 145, 290, 159},
                           {100, 172, 290, 186}, {100, 199, 290, 213}};
const RECT RESULT_ROWS[] = {{102, 238, 346, 252}, {102, 258, 346, 272}, {102, 278, 346, 292}};

class MainWindow : public testing::Test {
protected:
    void SetUp() override
    {
        StartRecordingCreations();
        window = CreateMainWindow(GetModuleHandleA(nullptr));
        StopRecordingCreations();
        ASSERT_TRUE(IsWindow(window));
        UpdateWindow(window);
        PumpMessages();
    }

    void TearDown() override { CloseTestWindow(window); }

    HWND Control(ControlIndex index) const
    {
        return ControlAt(window, CONTROLS[index].x, CONTROLS[index].y);
    }

    void SetDays(const char* text) { SetWindowTextA(Control(DAYS), text); }
    void Click(ControlIndex index) { SendMessageA(Control(index), BM_CLICK, 0, 0); }
    std::string Text(ControlIndex index) const
    {
        char text[64] = "";
        GetWindowTextA(Control(index), text, sizeof text);
        return text;
    }

    HWND window = nullptr;
};

TEST_F(MainWindow, ClassRecord)
{
    WNDCLASSEXA record = {};
    record.cbSize = sizeof record;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "CHAR00", &record));
    EXPECT_EQ(record.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(record.style, 3u);
    EXPECT_EQ(record.lpfnWndProc, MainWndProc);
    EXPECT_EQ(record.cbClsExtra, 0);
    EXPECT_EQ(record.cbWndExtra, 0);
    EXPECT_EQ(record.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(record.lpszMenuName, nullptr);

    ASSERT_NE(record.hIcon, nullptr);
    ASSERT_NE(record.hIconSm, nullptr);
    ICONINFO small = {};
    ASSERT_TRUE(GetIconInfo(record.hIconSm, &small));
    BITMAP mask = {};
    GetObjectA(small.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 16);

    LOGBRUSH brush = {};
    ASSERT_EQ(GetObjectA(record.hbrBackground, sizeof brush, &brush),
              static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_PATTERN));

    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "CHAR00");
}

TEST_F(MainWindow, TitleStylePlaceAndSize)
{
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Corvane - Morvalen");
    // WS_POPUP | WS_VISIBLE as asked; the system clips every top-level window's siblings.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
              0x90000000u | WS_CLIPSIBLINGS);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), 0);
    EXPECT_TRUE(IsWindowVisible(window));

    // Centred on the full-screen client width and the whole screen height.
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 225);
    EXPECT_EQ(rect.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 180);
    EXPECT_EQ(rect.right - rect.left, WIDTH);
    EXPECT_EQ(rect.bottom - rect.top, HEIGHT);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, WIDTH);  // a popup: the client area is the whole window
    EXPECT_EQ(client.bottom, HEIGHT);
}

TEST_F(MainWindow, MainWindowCreatedFirstThenSixControls)
{
    // What the program asked for, in creation order.
    std::vector<CreatedWindow> asked;
    for (const CreatedWindow& c : Creations()) {
        if (c.window == window || c.parent == window) {
            asked.push_back(c);
        }
    }
    ASSERT_EQ(asked.size(), 7u);
    const CreatedWindow& main = asked[0];
    EXPECT_EQ(main.window, window);
    EXPECT_EQ(main.className, "CHAR00");
    EXPECT_EQ(main.text, "Corvane - Morvalen");
    EXPECT_EQ(main.style, 0x90000000u);
    EXPECT_EQ(main.exStyle, 0u);
    EXPECT_EQ(main.parent, nullptr);
    EXPECT_EQ(main.menu, nullptr);
    EXPECT_EQ(main.params, nullptr);
    EXPECT_EQ(main.instance, GetModuleHandleA(nullptr));

    for (int i = 0; i < 6; ++i) {
        const ExpectedControl& want = CONTROLS[i];
        const CreatedWindow& got = asked[static_cast<size_t>(i) + 1];
        SCOPED_TRACE(want.text);
        EXPECT_EQ(lstrcmpiA(got.className.c_str(), want.className), 0) << got.className;
        // Only the buttons and the day field are created with a text; the lists get
        // theirs from the selection.
        EXPECT_EQ(got.text, lstrcmpiA(want.className, "ComboBox") == 0 ? "" : want.text);
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.exStyle, want.exStyle);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.width, want.width);
        EXPECT_EQ(got.height, want.height);
        EXPECT_EQ(got.menu, reinterpret_cast<HMENU>(static_cast<INT_PTR>(want.id)));
        EXPECT_EQ(got.instance, GetModuleHandleA(nullptr));
        EXPECT_EQ(got.params, nullptr);
    }
}

TEST_F(MainWindow, ControlsAsTheyStand)
{
    int children = 0;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        ++children;
    }
    EXPECT_EQ(children, 6);

    for (int i = 0; i < 6; ++i) {
        const ExpectedControl& want = CONTROLS[i];
        SCOPED_TRACE(want.text);
        HWND control = Control(static_cast<ControlIndex>(i));
        ASSERT_NE(control, window);
        char className[32] = "";
        GetClassNameA(control, className, sizeof className);
        EXPECT_EQ(lstrcmpiA(className, want.className), 0) << className;
        EXPECT_EQ(Text(static_cast<ControlIndex>(i)), want.text);
        EXPECT_EQ(GetDlgCtrlID(control), want.id);
        // The platform's controls adjust their own frame: a list hands its border and
        // scroll bar to its drop-down part, the field draws its border as a client edge.
        DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
        EXPECT_EQ(style | WS_BORDER | WS_VSCROLL, want.style | WS_BORDER | WS_VSCROLL);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)) & ~WS_EX_CLIENTEDGE,
                  want.exStyle);

        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, want.x);
        EXPECT_EQ(rect.top, want.y);
        EXPECT_EQ(rect.right - rect.left, want.width);
        if (lstrcmpiA(want.className, "ComboBox") != 0) {
            EXPECT_EQ(rect.bottom - rect.top, want.height);
        }
    }
}

TEST_F(MainWindow, ListsAndDayField)
{
    const struct {
        ControlIndex control;
        const ChoiceList* choices;
        int selected;
    } lists[] = {{CAMERAS, &CAMERA_CHOICES, 31}, {BIT_RATE, &BIT_RATE_CHOICES, 6},
                 {HOURS, &HOURS_CHOICES, 23}};
    for (const auto& list : lists) {
        SCOPED_TRACE(list.selected);
        HWND control = Control(list.control);
        ASSERT_EQ(SendMessageA(control, CB_GETCOUNT, 0, 0), list.choices->count);
        for (int i = 0; i < list.choices->count; ++i) {
            char item[16] = "";
            SendMessageA(control, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            EXPECT_STREQ(item, list.choices->items[i]);
        }
        EXPECT_EQ(SendMessageA(control, CB_GETCURSEL, 0, 0), list.selected);
    }
    EXPECT_EQ(Text(DAYS), "30");
    EXPECT_EQ(SendMessageA(Control(DAYS), EM_GETLIMITTEXT, 0, 0), 6);
}

TEST_F(MainWindow, CalculateRepaintsAfterEachLine)
{
    StartCountingPaints(window);
    Click(CALCULATE);
    const PaintSeen expected[] = {
        {"POR HORA: 14.06 GB", "", ""},
        {"POR HORA: 14.06 GB", " POR DIA: 337.50 GB", ""},
        {"POR HORA: 14.06 GB", " POR DIA: 337.50 GB", "  TOTAL: 9.89 TB"},
    };
    ASSERT_EQ(PaintsSeen().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(PaintsSeen()[i].perHour, expected[i].perHour);
        EXPECT_EQ(PaintsSeen()[i].perDay, expected[i].perDay);
        EXPECT_EQ(PaintsSeen()[i].total, expected[i].total);
    }
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(MainWindow, OtherSelectionsChangeTheResult)
{
    // 10 cameras at 768 kbps, 24 hours, 30 days: 3.30 GB, 79.10 GB, 2.32 TB.
    SendMessageA(Control(CAMERAS), CB_SETCURSEL, 9, 0);
    SendMessageA(Control(BIT_RATE), CB_SETCURSEL, 5, 0);
    Click(CALCULATE);
    EXPECT_STREQ(MainForm().results.perHour.text, "POR HORA: 3.30 GB");
    EXPECT_STREQ(MainForm().results.perDay.text, " POR DIA: 79.10 GB");
    EXPECT_STREQ(MainForm().results.total.text, "  TOTAL: 2.32 TB");
}

struct RefusalCase {
    const char* days;
    const char* text;  // UTF-8
};

TEST_F(MainWindow, RefusedDayCountsShowTheErrorBox)
{
    const RefusalCase cases[] = {
        {"366", "A quantidade de dias deve ser menor que 366. Por favor, tente novamente."},
        {"-5", "A quantidade de dias não pode ser negativa. Por favor, tente novamente."},
    };
    Click(CALCULATE);
    ResultLines before = MainForm().results;
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.days);
        SetDays(c.days);
        StartAnsweringBoxes(window, IDOK);
        StartCountingPaints(window);
        Click(CALCULATE);
        StopAnsweringBoxes();
        ASSERT_EQ(SeenBoxes().size(), 1u);
        const SeenBox& box = SeenBoxes()[0];
        EXPECT_EQ(box.className, "#32770");
        EXPECT_EQ(box.caption, Cp1252("Falha na operação"));
        EXPECT_EQ(box.text, Cp1252(c.text));
        EXPECT_FALSE(box.ownerVisible);
        EXPECT_TRUE(box.hasOk);
        EXPECT_FALSE(box.hasYes || box.hasNo || box.hasCancel);
        EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_HAND));
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_EQ(std::memcmp(&before, &MainForm().results, sizeof before), 0);
        // Shown again and painted at once with the earlier lines.
        ASSERT_FALSE(PaintsSeen().empty());
        EXPECT_EQ(PaintsSeen().back().total, "  TOTAL: 9.89 TB");
    }
}

TEST_F(MainWindow, CommandsWithANotificationCodeAreIgnored)
{
    const WPARAM commands[] = {MAKEWPARAM(CMD_CALCULATE, BN_SETFOCUS),
                               MAKEWPARAM(CMD_EXIT, BN_SETFOCUS),
                               MAKEWPARAM(CMD_EXIT, 1),
                               (WPARAM{1} << 32) | CMD_EXIT};
    for (WPARAM command : commands) {
        SendMessageA(window, WM_COMMAND, command, 0);
        EXPECT_TRUE(IsWindow(window));
        EXPECT_STREQ(MainForm().results.perHour.text, "RESULTADO");
        EXPECT_FALSE(PumpMessages());
    }
}

TEST_F(MainWindow, SairEndsAtOnce)
{
    StartAnsweringBoxes(window, IDNO);
    Click(EXIT);
    StopAnsweringBoxes();
    EXPECT_TRUE(SeenBoxes().empty());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(PumpMessages());  // WM_QUIT with exit status 0
}

TEST_F(MainWindow, CloseRequestNoKeepsEverything)
{
    SetDays("12");
    Click(CALCULATE);
    ResultLines before = MainForm().results;
    StartAnsweringBoxes(window, IDNO);
    SendMessageA(window, WM_CLOSE, 0, 0);
    StopAnsweringBoxes();
    ASSERT_EQ(SeenBoxes().size(), 1u);
    const SeenBox& box = SeenBoxes()[0];
    EXPECT_EQ(box.caption, Cp1252("CONFIRMAÇÃO"));
    EXPECT_EQ(box.text, Cp1252("Você tem certeza que deseja sair?"));
    EXPECT_FALSE(box.ownerVisible);
    EXPECT_TRUE(box.hasYes && box.hasNo);
    EXPECT_FALSE(box.hasOk || box.hasCancel);
    EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_QUESTION));

    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(Text(DAYS), "12");
    EXPECT_EQ(Text(CAMERAS), "32");
    EXPECT_EQ(std::memcmp(&before, &MainForm().results, sizeof before), 0);
    EXPECT_FALSE(PumpMessages());
}

TEST_F(MainWindow, CloseRequestYesEnds)
{
    StartAnsweringBoxes(window, IDYES);
    SendMessageA(window, WM_CLOSE, 0, 0);
    StopAnsweringBoxes();
    EXPECT_EQ(SeenBoxes().size(), 1u);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(PumpMessages());
}

TEST_F(MainWindow, MessageLoopEndsWithTheWindow)
{
    // Sair posts the quit message after destroying the window; the loop returns 0.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    EXPECT_EQ(RunMessageLoop(window), 0);
    EXPECT_FALSE(IsWindow(window));
    PumpMessages();
}

void ExpectColour(const Pixels& shown, int x, int y, COLORREF colour)
{
    EXPECT_EQ(shown.At(x, y), colour) << "at " << x << ", " << y;
}

TEST_F(MainWindow, BackgroundEdgeToEdge)
{
    Pixels shown = GrabWindow(window);
    Pixels background = BackgroundPicture();
    ASSERT_EQ(shown.width, WIDTH);
    ASSERT_EQ(shown.height, HEIGHT);
    ASSERT_EQ(background.width, WIDTH);

    // The frame line on the window's border, the header, the rule, the results frame,
    // the green stripe and the white band, at their places.
    ExpectColour(shown, 0, 0, RGB(159, 159, 159));
    ExpectColour(shown, 449, 359, RGB(159, 159, 159));
    ExpectColour(shown, 0, 180, RGB(156, 156, 156));
    ExpectColour(shown, 449, 180, RGB(156, 156, 156));
    ExpectColour(shown, 440, 1, RGB(211, 211, 211));
    ExpectColour(shown, 440, 61, RGB(238, 238, 238));
    ExpectColour(shown, 60, 78, RGB(195, 195, 195));
    ExpectColour(shown, 99, 229, RGB(195, 195, 195));
    ExpectColour(shown, 349, 299, RGB(195, 195, 195));
    ExpectColour(shown, 10, 347, RGB(165, 199, 89));
    ExpectColour(shown, 440, 350, RGB(138, 192, 52));
    ExpectColour(shown, 10, 353, RGB(152, 169, 127));
    ExpectColour(shown, 225, 356, RGB(255, 255, 255));
    ExpectColour(shown, 20, 200, RGB(238, 238, 238));

    // Everywhere outside the text rows and the controls, the picture itself.
    const RECT untouched[] = {{0, 0, 449, 80}, {0, 100, 449, 110}, {0, 222, 449, 236},
                              {0, 294, 449, 305}, {0, 340, 449, 359}};
    for (const RECT& area : untouched) {
        EXPECT_EQ(CountChanged(shown, background, area), 0) << "band from y " << area.top;
    }
}

TEST_F(MainWindow, TextsBeforeAndAfterCalculate)
{
    Pixels background = BackgroundPicture();
    Pixels before = GrabWindow(window);
    EXPECT_GT(CountChanged(before, background, INSTRUCTION_ROW), 100);
    for (const RECT& row : LABEL_ROWS) {
        EXPECT_GT(CountChanged(before, background, row), 50) << "label at y " << row.top;
    }
    // Only "RESULTADO", in the middle row of the frame.
    EXPECT_EQ(CountChanged(before, background, RESULT_ROWS[0]), 0);
    EXPECT_GT(CountChanged(before, background, RESULT_ROWS[1]), 20);
    EXPECT_EQ(CountChanged(before, background, RESULT_ROWS[2]), 0);

    Click(CALCULATE);
    Pixels after = GrabWindow(window);
    for (const RECT& row : RESULT_ROWS) {
        EXPECT_GT(CountChanged(after, background, row), 50) << "result at y " << row.top;
    }
    // Each result line is centred on x 225: as much ink left of the centre as right.
    for (const RECT& row : RESULT_ROWS) {
        RECT left = {row.left, row.top, 224, row.bottom};
        RECT right = {226, row.top, row.right, row.bottom};
        int l = CountChanged(after, background, left);
        int r = CountChanged(after, background, right);
        EXPECT_NEAR(l, r, (l + r) / 4) << "result at y " << row.top;
    }
}

TEST(Texts, CarriedAsWindows1252Bytes)
{
    // The shipped program holds the accented texts as one byte a letter.
    std::FILE* file = std::fopen(MORVALEN_EXE_PATH, "rb");
    ASSERT_NE(file, nullptr) << MORVALEN_EXE_PATH;
    std::string program;
    char chunk[65536];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
        program.append(chunk, n);
    }
    std::fclose(file);
    const char* texts[] = {"Quantidade de Câmeras:", "Gravação (horas por dia):",
                           "Dias de gravação:", "Você tem certeza que deseja sair?",
                           "CONFIRMAÇÃO", "Falha na operação",
                           "A quantidade de dias não pode ser negativa."};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_NE(program.find(Cp1252(text)), std::string::npos);
        EXPECT_EQ(program.find(text), std::string::npos);  // and not as UTF-8
    }
    EXPECT_NE(program.find(std::string("C\xE2m", 3)), std::string::npos);
}

}  // namespace
