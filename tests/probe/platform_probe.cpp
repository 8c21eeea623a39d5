// Asks the platform what the program depends on and writes the answers down, one per line, the
// same way on both targets: platform_probe_test.sh runs the Windows build under Wine and the
// native build, and compares the two recordings. Plain Win32, like the program.
//   rects     window and client rectangles for the program's window styles and their neighbours
//   windows   the last error main starts with, classes, the messages of creation and
//             destruction, the queue and TranslateMessage
//   text      what ID3DXFont::DrawTextA answers for the program's flags over hostile texts
//   dialog N  the program's preferences window, once for each of the N key sequences the script
//             plays: it shows window "Probe n", writes ready.n, and ends the sequence at the
//             script's end marker (F9 or F8: "all keys are in") or when a command ends the
//             window; then waits for sent.n
// Vertical sizes that hold a caption are written less SM_CYCAPTION (as "N+caption"), so that a
// caption of another height shows in the metrics line alone.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "framework/d3d_setup.h"
#include "framework/main_window.h"
#include "prefs/user_pref_dialog.h"

namespace {

// ---- rects

std::string str(long long value) { return std::to_string(value); }

bool captioned(DWORD style) { return !(style & (WS_POPUP | WS_CHILD)) || (style & WS_CAPTION) == WS_CAPTION; }

// A height that holds the caption `sign` times (1: a frame's outside, -1: a client area).
std::string height(LONG value, bool caption, int sign = 1) {
    if (!caption) return std::to_string(value);
    return std::to_string(value - sign * GetSystemMetrics(SM_CYCAPTION)) + (sign > 0 ? "+caption" : "-caption");
}

int moves = 0, sizes = 0;  // WM_MOVE and WM_SIZE that plainProc received

LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    moves += message == WM_MOVE;
    sizes += message == WM_SIZE;
    return DefWindowProcA(window, message, wParam, lParam);
}

// Writes what plainProc was told since the last call.
void told() {
    std::printf(" (%d WM_MOVE, %d WM_SIZE)", moves, sizes);
    moves = sizes = 0;
}

HWND create(DWORD exStyle, DWORD style, int x, int y, int width, int height, HWND parent) {
    return CreateWindowExA(exStyle, "Probe Class", "Probe", style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// The frame and border sizes the rectangles below are made of.
void probeMetrics() {
    std::printf("metrics SM_CYCAPTION %d\nmetrics", GetSystemMetrics(SM_CYCAPTION));
    for (int index : {SM_CXBORDER, SM_CYBORDER, SM_CXFIXEDFRAME, SM_CYFIXEDFRAME, SM_CXSIZEFRAME, SM_CYSIZEFRAME,
                      SM_CXDLGFRAME, SM_CYDLGFRAME, SM_CXSCREEN, SM_CYSCREEN})
        std::printf(" %d", GetSystemMetrics(index));
}

struct WindowStyle {
    const char* name;
    DWORD style, exStyle;
};

// The rectangles of a window as made with the style, of its child where the preferences window
// has its Okay button, and of a bordered child's client area.
void probeMadeRects(const WindowStyle& c, HWND window, HWND child, HWND bordered) {
    const bool caption = captioned(c.style);
    RECT outer{}, client{}, adjusted{0, 0, 640, 480}, inner{}, borderedClient{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    AdjustWindowRectEx(&adjusted, c.style, FALSE, c.exStyle);
    GetWindowRect(child, &inner);
    GetClientRect(bordered, &borderedClient);
    std::printf("\n%s: window %dx%d client %dx%s adjusts 640x480 to %d,%s,%d,%d; child at %d,%s, bordered child client %dx%d",
                c.name, int(outer.right - outer.left), int(outer.bottom - outer.top), int(client.right),
                height(client.bottom, caption, -1).c_str(), int(adjusted.left),
                height(adjusted.top, (c.style & WS_CAPTION) == WS_CAPTION, -1).c_str(), int(adjusted.right),
                int(adjusted.bottom), int(inner.left - outer.left), height(inner.top - outer.top, caption).c_str(),
                int(borderedClient.right), int(borderedClient.bottom));
}

// The same window fitted by the program (its client area becomes 640 x 480), moved where it
// is, then off the screen, and what it was told each time.
void probeFittedAndMoved(HWND window, HWND child, bool caption) {
    RECT outer{}, client{}, inner{};
    moves = sizes = 0;
    fwFitClientArea(window);
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    GetWindowRect(child, &inner);
    const LONG width = outer.right - outer.left, high = outer.bottom - outer.top;
    const bool centred = 2 * outer.left + width == GetSystemMetrics(SM_CXSCREEN) &&
                         std::abs(2 * outer.top + high - GetSystemMetrics(SM_CYSCREEN)) <= 1;
    std::printf("; fitted window %dx%s%s, client %dx%d, child at %d,%s", int(width), height(high, caption).c_str(),
                centred ? " centred" : " off centre", int(client.right), int(client.bottom),
                int(inner.left - outer.left), height(inner.top - outer.top, caption).c_str());
    told();
    MoveWindow(window, outer.left, outer.top, width, high, TRUE);
    std::printf("; moved where it is");
    told();
    MoveWindow(window, -3, -13, width, high, TRUE);  // off the screen
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    std::printf("; moved to -3,-13: window at %d,%d, client %dx%d", int(outer.left), int(outer.top),
                int(client.right), int(client.bottom));
    told();
}

void probeRects() {
    probeMetrics();
    const WindowStyle styles[] = {
        {"main window, windowed: WS_OVERLAPPED|WS_SYSMENU", WS_OVERLAPPED | WS_SYSMENU, 0},
        {"main window, full screen: WS_POPUP", WS_POPUP, 0},
        {"preferences: WS_CAPTION, APPWINDOW|DLGMODALFRAME", WS_CAPTION, WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME},
        {"WS_OVERLAPPED", WS_OVERLAPPED, 0},
        {"WS_OVERLAPPEDWINDOW", WS_OVERLAPPEDWINDOW, 0},
        {"WS_CAPTION|WS_SYSMENU", WS_CAPTION | WS_SYSMENU, 0},
        {"WS_CAPTION", WS_CAPTION, 0},
        {"WS_POPUP|WS_CAPTION", WS_POPUP | WS_CAPTION, 0},
        {"WS_POPUP|WS_BORDER", WS_POPUP | WS_BORDER, 0},
        {"WS_POPUP|WS_DLGFRAME", WS_POPUP | WS_DLGFRAME, 0},
        {"WS_POPUP|WS_THICKFRAME", WS_POPUP | WS_THICKFRAME, 0},
        {"WS_POPUP, DLGMODALFRAME", WS_POPUP, WS_EX_DLGMODALFRAME},
    };
    for (const WindowStyle& c : styles) {
        HWND window = create(c.exStyle, c.style, 0, 0, 640, 480, nullptr);
        HWND child = create(0, WS_CHILD | WS_VISIBLE, 80, 240, 100, 25, window);
        HWND bordered = create(0, WS_CHILD | WS_BORDER, 10, 10, 50, 20, window);
        probeMadeRects(c, window, child, bordered);
        probeFittedAndMoved(window, child, captioned(c.style));
        DestroyWindow(window);
    }
    std::printf("\n");
}

// ---- windows

DWORD startError = 0;  // the last error as main found it, before any call of ours

// The probe's windows by name; a window is named as it is made (pendingName), so that what it
// hears before CreateWindowExA returns carries its name too.
const int kMaxNamed = 16;
HWND namedWindows[kMaxNamed];
std::string windowNames[kMaxNamed];
int namedCount = 0;
std::string pendingName, heard;
std::map<UINT, LRESULT> answers;  // given once in place of DefWindowProcA's

const char* name(HWND window) {
    if (!window) return "none";
    for (int i = 0; i < namedCount; ++i)
        if (namedWindows[i] == window) return windowNames[i].c_str();
    return "other";
}

LRESULT CALLBACK listeningProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (std::strcmp(name(window), "other") == 0 && namedCount < kMaxNamed) {
        namedWindows[namedCount] = window;
        windowNames[namedCount++] = pendingName;
    }
    const struct {
        UINT message;
        const char* text;
    } watched[] = {{WM_NCCREATE, "NCCREATE"}, {WM_CREATE, "CREATE"}, {WM_SHOWWINDOW, "SHOWWINDOW"},
                   {WM_CLOSE, "CLOSE"},       {WM_DESTROY, "DESTROY"}, {WM_NCDESTROY, "NCDESTROY"}};
    for (const auto& w : watched)
        if (w.message == message) heard += std::string(" ") + name(window) + ":" + w.text;
    const auto answer = answers.find(message);
    if (answer == answers.end()) return DefWindowProcA(window, message, wParam, lParam);
    const LRESULT given = answer->second;
    answers.erase(answer);
    return given;
}

HWND make(const std::string& called, DWORD style, HWND parent = nullptr, int id = 0) {
    pendingName = called;
    heard.clear();
    return CreateWindowExA(0, "Listening Class", called.c_str(), style, 0, 0, 100, 50, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

// Writes the answer of the call made as the argument and the last error it left.
void withError(long answer) { std::printf("%ld (error %d)", answer, static_cast<int>(GetLastError())); }

// Writes what a window made here answers, the messages it heard on the way, and with `error`
// the last error its creation left.
void made(const char* what, const std::string& called, DWORD style, bool error = false, HWND parent = nullptr, int id = 0) {
    const HWND window = make(called, style, parent, id);
    const int lastError = static_cast<int>(GetLastError());
    std::printf("%s: %s:%s", what, name(window), heard.c_str());
    if (error) std::printf(" (error %d)", lastError);
    std::printf("\n");
}

// Registering a class: once, again under another case, with a wrong cbSize; and a window of a
// class that is not there.
void probeClasses() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = listeningProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Listening Class";
    std::printf("class registered %d, again in capitals ", RegisterClassExA(&windowClass) != 0);
    WNDCLASSEXA upper = windowClass, wrongSize = windowClass;
    upper.lpszClassName = "LISTENING CLASS";
    wrongSize.lpszClassName = "Other Class";
    wrongSize.cbSize = 48;
    withError(RegisterClassExA(&upper) != 0);
    std::printf(", with cbSize 48 %d, unknown class makes %s\n", RegisterClassExA(&wrongSize) != 0,
                name(CreateWindowExA(0, "No Such Class", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr)));
}

// A family of windows made, the ways creation is refused, then the family destroyed: the
// messages on the way, and what is left of each window afterwards.
void probeCreationAndDestruction() {
    made("a pop-up", "A", WS_POPUP | WS_VISIBLE);
    const HWND a = namedWindows[namedCount - 1];
    made("a visible child", "A1", WS_CHILD | WS_VISIBLE, false, a, IDOK);
    const HWND a1 = namedWindows[namedCount - 1], a1a = make("A1a", WS_CHILD | WS_VISIBLE, a1, 3);
    const HWND a2 = make("A2", WS_CHILD, a, IDCANCEL);
    std::printf("GetDlgItem(A, IDCANCEL) %s, next after A1 %s, first child of A %s, parent of A1a %s\n",
                name(GetDlgItem(a, IDCANCEL)), name(GetWindow(a1, GW_HWNDNEXT)), name(GetWindow(a, GW_CHILD)),
                name(GetParent(a1a)));
    SetLastError(0);
    made("a child without a parent", "orphan", WS_CHILD, true);
    answers[WM_NCCREATE] = FALSE;
    made("WM_NCCREATE answered FALSE", "refused", WS_POPUP);
    answers[WM_CREATE] = -1;
    made("WM_CREATE answered -1", "refused later", WS_POPUP);
    std::printf("unregistering with windows ");
    withError(UnregisterClassA("Listening Class", GetModuleHandleA(nullptr)));
    heard.clear();
    std::printf("; destroying A %d:", DestroyWindow(a));
    std::printf("%s\n", heard.c_str());
    for (HWND gone : {a, a1, a1a, a2, HWND(nullptr)}) {
        RECT rect{};
        // Wine answers a DestroyWindow of a window that is gone with ERROR_ACCESS_DENIED, as it
        // does for another thread's window, so only GetWindowRect's error is compared.
        std::printf("%s after: IsWindow %d", name(gone), IsWindow(gone));
        std::printf(", DestroyWindow %d, GetWindowRect ", DestroyWindow(gone));
        SetLastError(0);
        withError(GetWindowRect(gone, &rect));
        std::printf("\n");
    }
}

// The default procedure: the text it keeps, and SC_CLOSE, which asks the window with WM_CLOSE.
void probeDefaultProcedure() {
    const HWND b = make("B", WS_POPUP);
    char text[8] = "";
    DefWindowProcA(b, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other"));
    std::printf("WM_SETTEXT then GetWindowTextA into 5 bytes: %d", GetWindowTextA(b, text, 5));
    heard.clear();
    std::printf(" \"%s\"; SC_CLOSE %d:", text, static_cast<int>(DefWindowProcA(b, WM_SYSCOMMAND, SC_CLOSE, 0)));
    std::printf("%s, then IsWindow %d\n", heard.c_str(), IsWindow(b));
}

// The queue: filters take their messages in order, WM_QUIT comes last and once.
void probeQueue(HWND c, HWND d, HWND c1) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    PostQuitMessage(7);
    const HWND targets[] = {c, d, c1, nullptr};
    for (UINT i : {3, 0, 1, 2}) PostMessageA(targets[i], WM_USER + i, i, 0);
    const struct {
        const char* what;
        HWND filter;
        UINT low, high, flags;
    } takes[] = {
        {"looking up to WM_USER+2", nullptr, 0, WM_USER + 2, PM_NOREMOVE}, {"D's", d, 0, 0, PM_REMOVE},
        {"the thread's", reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE},  {"WM_USER alone", nullptr, WM_USER, WM_USER, PM_REMOVE},
        {"C's", c, 0, 0, PM_REMOVE},                                    {"anything", nullptr, 0, 0, PM_REMOVE},
        {"anything", nullptr, 0, 0, PM_REMOVE},
    };
    std::printf("queue:");
    for (const auto& t : takes) {
        msg = MSG{};
        std::printf(" %s ", t.what);
        if (!PeekMessageA(&msg, t.filter, t.low, t.high, t.flags))
            std::printf("none;");
        else if (msg.message == WM_QUIT)
            std::printf("WM_QUIT %d;", static_cast<int>(msg.wParam));
        else
            std::printf("WM_USER+%d to %s;", static_cast<int>(msg.message - WM_USER), name(msg.hwnd));
    }
    PostQuitMessage(8);
    std::printf(" GetMessageA %d", GetMessageA(&msg, nullptr, 0, 0));
    std::printf(" wParam %d, for a made-up window ", static_cast<int>(msg.wParam));
    SetLastError(0);
    withError(GetMessageA(&msg, reinterpret_cast<HWND>(0x4321), 0, 0));
    std::printf("\n");
}

// TranslateMessage: the character for a key press, and where it stands in the queue.
void probeTranslate(HWND c) {
    MSG msg;
    std::printf("translated:");
    for (WPARAM key : {WPARAM('A'), WPARAM('1'), WPARAM(VK_RETURN), WPARAM(VK_ESCAPE), WPARAM(VK_LEFT)}) {
        PostMessageA(c, WM_USER, 0, 0);
        MSG down{c, WM_KEYDOWN, key, 1, 0, {0, 0}};
        std::printf(" %d %d", static_cast<int>(key), TranslateMessage(&down));
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message == WM_CHAR)
                std::printf(" WM_CHAR %d", static_cast<int>(msg.wParam));
            else
                std::printf(msg.message == WM_USER ? " WM_USER" : " %u", msg.message);
        std::printf(";");
    }
    MSG up{c, WM_KEYUP, 'A', 0, 0, {0, 0}}, other{c, WM_USER, 'A', 0, 0, {0, 0}};
    std::printf(" WM_KEYUP %d", TranslateMessage(&up));
    std::printf(", WM_USER %d", TranslateMessage(&other));
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) std::printf(" then %d", static_cast<int>(msg.message));
    std::printf("\n");
}

// What waits for a window that is destroyed goes with it (C1 is C's child).
void probeDestroyedWithTheirMessages(HWND c, HWND d, HWND c1) {
    MSG msg;
    PostMessageA(c1, WM_USER + 4, 0, 0);
    PostMessageA(d, WM_USER + 5, 0, 0);
    PostMessageA(c, WM_USER + 6, 0, 0);
    DestroyWindow(c);
    std::printf("after C was destroyed:");
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        std::printf(" WM_USER+%d to %s", static_cast<int>(msg.message - WM_USER), name(msg.hwnd));
    DestroyWindow(d);
    std::printf("\n");
}

void probeWindows() {
    std::printf("last error at start: %d\n", static_cast<int>(startError));
    probeClasses();
    probeCreationAndDestruction();
    probeDefaultProcedure();
    const HWND c = make("C", WS_POPUP), d = make("D", WS_POPUP), c1 = make("C1", WS_CHILD, c, 1);
    probeQueue(c, d, c1);
    probeTranslate(c);
    probeDestroyedWithTheirMessages(c, d, c1);
    std::printf("unregistering %d\n", UnregisterClassA("listening class", GetModuleHandleA(nullptr)));
}

// ---- text

// The text as C would write it, its first 24 bytes.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size() && i < 24; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        char escape[8];
        std::snprintf(escape, sizeof escape, c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : c < 32 || c > 126 ? "\\x%02x" : "%c", c);
        out += escape;
    }
    return out + (text.size() > 24 ? "...\"" : "\"");
}

// The program's device and font, on a window of the page's size.
struct ProgramDrawing {
    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    ID3DXFont* font = nullptr;
};

bool openProgramDrawing(ProgramDrawing* drawing) {
    drawing->window = create(0, WS_POPUP, 0, 0, 640, 480, nullptr);
    drawing->d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS parameters;
    fwInitPresentParameters(false, drawing->window, 640, 480, D3DFMT_X8R8G8B8, D3DFMT_UNKNOWN, &parameters);
    return drawing->d3d &&
           SUCCEEDED(fwCreateDevice(drawing->d3d, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, drawing->window, &parameters,
                                    &drawing->device)) &&
           SUCCEEDED(D3DXCreateFontA(drawing->device, 22, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                     ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial", &drawing->font));
}

void closeProgramDrawing(const ProgramDrawing& drawing) {
    if (drawing.font) drawing.font->Release();
    if (drawing.device) drawing.device->Release();
    if (drawing.d3d) drawing.d3d->Release();
    DestroyWindow(drawing.window);
}

// What DrawTextA answers for each text, with each of the program's flags, in the page and in two
// narrow boxes.
void probeDrawTextAnswers(ID3DXFont* font) {
    std::string words, letters(4000, 'x');
    while (words.size() < 4000) words += "word ";
    words.resize(4000);
    const std::string texts[] = {"", "     ", "\n\n\n", "one\r\ntwo\r\n", "one\rtwo", "line\n", "x\n\n", "\n", "a",
                                 "ab  ", "  ab", "ab \n", "&a && a&", "\t", "a\tb\t\tc", "Fontloom 59.94 fps",
                                 "A Pneumonoultramicroscopicsilicovolcanoconiosis word", "well-known words",
                                 "\x80\x85\x91\x93\x94\x96\x97\x99\xa0\xe9\xff \x81\x8d\x8f\x90\x9d",
                                 "one two three four five six seven eight nine ten eleven twelve",
                                 "Fontloom draws this page again and again", "a b c d e f", "WWWWWWWWWWWWWWWW",
                                 "one two   three", "    Four", "ab  \nc", "Alone        x", "ab\fcd",
                                 std::string(40, 'x') + "\f" + std::string(40, 'y'),
                                 std::string(40, 'x') + "-\x81" + std::string(40, 'y'), words, letters};
    const struct {
        const char* name;
        DWORD flags;
    } formats[] = {
        {"DT_NOCLIP", DT_NOCLIP},
        {"DT_WORDBREAK", DT_WORDBREAK},
        {"DT_CALCRECT|DT_NOCLIP", DT_CALCRECT | DT_NOCLIP},
        {"DT_CALCRECT|DT_WORDBREAK", DT_CALCRECT | DT_WORDBREAK},
        {"DT_CALCRECT|DT_WORDBREAK|DT_NOCLIP", DT_CALCRECT | DT_WORDBREAK | DT_NOCLIP},
    };
    const RECT places[] = {{0, 30, 640, 480}, {10, 0, 130, 110}, {10, 20, 110, 400}};  // the page, two narrow boxes
    for (const std::string& text : texts)
        for (const auto& format : formats)
            for (const RECT& place : places) {
                RECT rect = place;
                const INT drawn = font->DrawTextA(nullptr, text.c_str(), -1, &rect, format.flags, 0xFFFFFFFF);
                std::printf("%s (%d bytes), %s, in %d,%d,%d,%d: %d", quoted(text).c_str(), static_cast<int>(text.size()),
                            format.name, int(place.left), int(place.top), int(place.right), int(place.bottom), drawn);
                if (format.flags & DT_CALCRECT)
                    std::printf(" rect %d,%d,%d,%d", int(rect.left), int(rect.top), int(rect.right), int(rect.bottom));
                std::printf("\n");
            }
}

// Where lines break around control characters: each text wrapped where its first part and a
// few pixels fit, so that the line breaks right after that part, before it, or further back.
// VT and FF break a line that must wrap and vanish there; the other controls hold to what
// comes before them. Counted, so that NUL is one of them.
void probeLineBreaks(ID3DXFont* font) {
    std::string dashed;  // a line each: a control after "x-", where the line may break only after both
    for (int c = 0; c < 0xA0; ++c)
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r') || c == 0x7F || c == 0x81 ||
            c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D)
            dashed += std::string("x-") + static_cast<char>(c) + "yy\n";
    const struct {
        std::string text, fits;
        int more;
    } breaks[] = {
        {"ab\fcd ef", "ab\fcd e", 2},  // the last place a line may break, not the first
        {"ab\vcd ef", "ab\vcd e", 2},
        {"xx ab\f  cdefg", "xx ab\f", 2},     // the next line starts a blank later
        {"xx ab\v \fcdefg", "xx ab\v", 2},
        {"xx ab\f\fcdefg", "xx ab\f", 2},
        {"xx ab \fcdefg", "xx ab ", 2},        // never before VT or FF, not even after a space
        {"xx ab\x01\fcdefg", "xx ab\x01", 2},
        {"\fabcdefgh", "", 30},                 // a line of nothing
        {"x\fyyyy", "x", 2},                    // FF where the line overflows
        {"\f\x01" "cdefgh", "\f\x01" "c", 2},
        {dashed, "x-\x01", 2},
        {"xx ab/\x81" "cdefg", "xx ab/\x81", 2},
        {"xx ab!\x81" "cdefg", "xx ab!\x81", 2},
        {"xx ab\t\x81" "cdefg", "xx ab\t\x81", 2},
        {"xx ab$\x81\x01" "cdefg", "xx ab$\x81\x01", 2},  // '$' and '%' break from a control
        {"xx ab%\x81" "cdefg", "xx ab%\x81", 2},
        {"xx ab! \x81" "cdefg", "xx ab! ", 2},    // after a space, or starting a line: a letter
        {"xxxxxx!\x01xxxxxxxxx", "xxxxxx!", 2},
    };
    for (const auto& test : breaks) {
        RECT rect = {0, 0, 640, 480};
        font->DrawTextA(nullptr, test.fits.data(), static_cast<INT>(test.fits.size()), &rect, DT_CALCRECT | DT_NOCLIP,
                        0xFFFFFFFF);
        const LONG width = (test.fits.empty() ? 0 : rect.right) + test.more;
        rect = {0, 0, width, 480};
        const INT height = font->DrawTextA(nullptr, test.text.data(), static_cast<INT>(test.text.size()), &rect,
                                           DT_CALCRECT | DT_WORDBREAK, 0xFFFFFFFF);
        std::printf("%s (%d bytes) wrapped at %d px: %d, %d px wide\n", quoted(test.text).c_str(),
                    static_cast<int>(test.text.size()), static_cast<int>(width), height, static_cast<int>(rect.right));
    }
}

// The lines of a text wrapped where its first `fitting` bytes and two pixels fit, as
// "height,width": the height counts the lines, the width is the widest of them.
std::string wrappedAfter(ID3DXFont* font, const std::string& text, size_t fitting) {
    RECT rect = {0, 0, 640, 480};
    font->DrawTextA(nullptr, text.data(), static_cast<INT>(fitting), &rect, DT_CALCRECT | DT_NOCLIP, 0xFFFFFFFF);
    rect = {0, 0, rect.right + 2, 480};
    const INT lines = font->DrawTextA(nullptr, text.data(), static_cast<INT>(text.size()), &rect,
                                      DT_CALCRECT | DT_WORDBREAK, 0xFFFFFFFF);
    return str(lines) + "," + str(rect.right);
}

// Every character's place in line breaking: may a line break before it after a letter, after it
// before a letter, and between '/' and it. A character of the wrong class answers differently
// in one of the three.
void probeBreakClasses(ID3DXFont* font) {
    for (int first = 0x20; first < 0x100; first += 16) {
        std::printf("breaks around 0x%02X-0x%02X:", first, first + 15);
        for (int c = first; c < first + 16; ++c) {
            const std::string ch(1, static_cast<char>(c));
            std::printf(" %s %s %s", wrappedAfter(font, "xx ab" + ch + "cdefg", 5).c_str(),
                        wrappedAfter(font, "xx a" + ch + "bcdefg", 5).c_str(),
                        wrappedAfter(font, "xx a/" + ch + "bcdefg", 5).c_str());
        }
        std::printf("\n");
    }
}

// A windowed device takes its window's client size; a window without a client area.
void probeEmptyWindowDevice(IDirect3D9* d3d) {
    HWND empty = create(0, WS_POPUP, 0, 0, 0, 0, nullptr);
    D3DPRESENT_PARAMETERS sized;
    fwInitPresentParameters(false, empty, 640, 480, D3DFMT_UNKNOWN, D3DFMT_UNKNOWN, &sized);
    IDirect3DDevice9* second = nullptr;
    const HRESULT made = fwCreateDevice(d3d, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, empty, &sized, &second);
    std::printf("windowed device on a 0 x 0 window: %s, %u x %u, format %d\n", SUCCEEDED(made) ? "made" : "refused",
                static_cast<unsigned>(sized.BackBufferWidth), static_cast<unsigned>(sized.BackBufferHeight),
                static_cast<int>(sized.BackBufferFormat));
    if (second) second->Release();
    second = nullptr;
    // No back buffer asked for means one, and the parameters say so.
    fwInitPresentParameters(false, empty, 640, 480, D3DFMT_UNKNOWN, D3DFMT_UNKNOWN, &sized);
    sized.BackBufferCount = 0;
    const HRESULT counted = fwCreateDevice(d3d, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, empty, &sized, &second);
    std::printf("windowed device asked for 0 back buffers: %s, %u of them\n", SUCCEEDED(counted) ? "made" : "refused",
                static_cast<unsigned>(sized.BackBufferCount));
    if (second) second->Release();
    DestroyWindow(empty);
}

// A count of bytes in place of -1 (NUL-terminated), and other negative ones; then each character
// alone, measured on one line.
void probeCountsAndAdvances(ID3DXFont* font) {
    std::printf("counts:");
    for (INT count : {2, 0, -1, -2, -100}) {
        RECT rect = {0, 0, 640, 480};
        std::printf(" %d: %d", count, font->DrawTextA(nullptr, "ab\ncd", count, &rect, DT_CALCRECT | DT_NOCLIP, 0xFFFFFFFF));
    }
    std::printf("\nadvances of 32-255:");
    for (int c = 32; c < 256; ++c) {
        const char text[2] = {static_cast<char>(c), 0};
        RECT rect = {0, 0, 640, 480};
        font->DrawTextA(nullptr, text, -1, &rect, DT_CALCRECT | DT_NOCLIP, 0xFFFFFFFF);
        std::printf(" %d", static_cast<int>(rect.right - rect.left));
    }
    std::printf("\n");
}

void probeText() {
    ProgramDrawing drawing;
    if (!openProgramDrawing(&drawing)) {
        std::printf("text: no device or font\n");
        closeProgramDrawing(drawing);
        return;
    }
    drawing.device->BeginScene();
    probeDrawTextAnswers(drawing.font);
    probeLineBreaks(drawing.font);
    probeBreakClasses(drawing.font);
    probeEmptyWindowDevice(drawing.d3d);
    probeCountsAndAdvances(drawing.font);
    drawing.device->EndScene();
    closeProgramDrawing(drawing);
}

// ---- dialog

// The preferences window's controls in creation order.
const char* const kControlNames[] = {"FullScreenGroup", "FullScreen", "Windowed", "DeviceTypeGroup", "HAL",
                                     "Reference",       "AdapterGroup", "List",   "Okay",            "Cancel"};
const int kControls = 10, kList = 7;

HWND dialogWindow = nullptr;
HWND controls[kControls];
WNDPROC dialogProc = nullptr;
std::string ending;  // the command and the state as it came

std::string nameOf(HWND window) {
    if (!window) return "none";
    if (window == dialogWindow) return "window";
    for (int i = 0; i < kControls; ++i)
        if (controls[i] == window) return kControlNames[i];
    return "other";
}

std::string state() {
    std::string checks = "checked", stops = "tab stops";
    for (int i : {1, 2, 4, 5})
        if (SendMessageA(controls[i], BM_GETCHECK, 0, 0) == BST_CHECKED) checks += std::string(" ") + kControlNames[i];
    for (int i = 0; i < kControls; ++i)
        if (GetWindowLongA(controls[i], GWL_STYLE) & WS_TABSTOP) stops += std::string(" ") + kControlNames[i];
    return checks + "; " + stops + "; list " + str(SendMessageA(controls[kList], CB_GETCURSEL, 0, 0)) +
           (SendMessageA(controls[kList], CB_GETDROPPEDSTATE, 0, 0) ? " open" : " closed") + "; focus " +
           nameOf(GetFocus());
}

// Where the preferences window stands and where its controls stand in it. The list's height is
// left out: Windows answers a drop-down list with its closed field's (24 px under Wine), while
// ours keeps the height it was made with and opens the list inside it, which neither the program
// nor its user can tell apart.
std::string layout() {
    RECT outer{}, rect{};
    GetWindowRect(dialogWindow, &outer);
    std::string line = "layout: window at " + str(outer.left) + "," + str(outer.top) + " " +
                       str(outer.right - outer.left) + "x" + str(outer.bottom - outer.top);
    for (int i = 0; i < kControls; ++i) {
        GetWindowRect(controls[i], &rect);
        line += std::string("; ") + kControlNames[i] + " at " + str(rect.left - outer.left) + "," +
                height(rect.top - outer.top, true) + " " + str(rect.right - rect.left) +
                (i == kList ? "" : "x" + str(rect.bottom - rect.top));
    }
    return line;
}

// Watches the preferences window's commands: the first Okay or Cancel is the sequence's end.
LRESULT CALLBACK watchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && ending.empty() && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
        ending = std::string(LOWORD(wParam) == IDOK ? "Okay" : "Cancel") + "; " + state();
    return CallWindowProcA(dialogProc, window, message, wParam, lParam);
}

// Opens the file (to write, creating it, or only to see whether it is there).
bool file(const std::string& name, const char* mode) {
    FILE* file = std::fopen(name.c_str(), mode);
    if (file) std::fclose(file);
    return file != nullptr;
}

// Takes messages as the dialog's loop does, for at most `milliseconds`; false once WM_QUIT came.
// The script ends odd sequences with F9 and even ones with F8: a marker that comes late, after a
// command closed its own window, is the other one, and dropped.
UINT markerKey = VK_F9;

bool pump(DWORD milliseconds, bool* marker) {
    const DWORD start = timeGetTime();
    while (timeGetTime() - start < milliseconds) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return false;
            if (msg.message == WM_KEYDOWN && (msg.wParam == VK_F9 || msg.wParam == VK_F8)) {
                if (marker && msg.wParam == markerKey) *marker = true;
                continue;
            }
            if (!IsDialogMessageA(dialogWindow, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (marker && *marker) return true;
        Sleep(5);
    }
    return true;
}

void drop(DWORD milliseconds) {
    const DWORD start = timeGetTime();
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        Sleep(5);
    } while (timeGetTime() - start < milliseconds);
}

int probeDialog(int sequences) {
    for (int n = 1; n <= sequences; ++n) {
        const std::string title = "Probe " + std::to_string(n);
        UserPrefDialog dialog(title.c_str());  // no adapters listed: Direct3D costs Wine a second a time
        if (!dialog.CreatePrefWindow() || !(dialogWindow = FindWindowA("fwUserPrefWndClass", nullptr))) {
            std::printf("%d: no preferences window\n", n);
            return 1;
        }
        HWND child = GetWindow(dialogWindow, GW_CHILD);
        for (int i = 0; i < kControls; ++i, child = GetWindow(child, GW_HWNDNEXT)) controls[i] = child;
        // Six entries of our own, the same in both, give the page keys room. The first time, what
        // the list answers on the way.
        char text[16] = "";
        const LPARAM buffer = reinterpret_cast<LPARAM>(text);
        const struct {
            UINT message;
            WPARAM wParam;
            LPARAM lParam;
        } calls[] = {{CB_GETCURSEL, 0, 0},        {CB_SETCURSEL, 0, 0},  {CB_ADDSTRING, 0, LPARAM("One")},
                     {CB_ADDSTRING, 0, LPARAM("Two")}, {CB_ADDSTRING, 0, LPARAM("Three")},
                     {CB_ADDSTRING, 0, LPARAM("Four")}, {CB_ADDSTRING, 0, LPARAM("Five")},
                     {CB_ADDSTRING, 0, LPARAM("Six")}, {CB_GETCOUNT, 0, 0},  {CB_GETCURSEL, 0, 0},
                     {CB_SETCURSEL, 2, 0},        {CB_GETCURSEL, 0, 0},  {CB_SETCURSEL, WPARAM(-1), 0},
                     {CB_GETCURSEL, 0, 0},        {CB_GETLBTEXTLEN, 2, 0}, {CB_GETLBTEXT, 6, buffer},
                     {CB_GETLBTEXT, 1, buffer},   {CB_SETCURSEL, 2, 0},  {CB_SETCURSEL, 6, 0},
                     {CB_GETCURSEL, 0, 0},        {CB_SETCURSEL, 0, 0}};
        std::string answers = "list answers";
        for (const auto& call : calls)
            answers += (&call == &calls[18] ? "; past the end: " : " ") +  // where Wine keeps the selection
                       str(SendMessageA(controls[kList], call.message, call.wParam, call.lParam));
        answers += std::string("; ") + text;
        if (n == 1) std::printf("%s\n%s\n", answers.c_str(), layout().c_str());
        dialogProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(dialogWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchProc)));
        ending.clear();
        std::string start = state();
        start = start.substr(0, start.rfind("; focus"));  // the focus waits for the desktop's activation
        file("ready." + std::to_string(n), "wb");

        markerKey = n % 2 ? VK_F9 : VK_F8;
        bool marker = false, open = pump(20000, &marker);
        if (open && ending.empty()) ending = std::string(marker ? "none; " : "no end marker in 20 s; ") + state();
        if (open) {
            DestroyWindow(dialogWindow);
            while (pump(50, nullptr)) {  // up to the WM_QUIT it posts
            }
        }
        std::printf("%d from %s\n%d: %s; stored %s %s adapter %d\n", n, start.c_str(), n, ending.c_str(),
                    dialog.IsFullScreen() ? "FullScreen" : "Windowed",
                    dialog.GetDeviceType() == D3DDEVTYPE_HAL ? "HAL" : "Reference", static_cast<int>(dialog.GetAdapter()));
        std::fflush(stdout);
        UnregisterClassA("fwUserPrefWndClass", GetModuleHandleA(nullptr));
        // Keys sent after a command closed the window must not reach the next one: drop them.
        for (int wait = 0; wait < 2000 && !file("sent." + std::to_string(n), "rb"); ++wait) drop(10);
        drop(100);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    startError = GetLastError();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = plainProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Probe Class";
    RegisterClassA(&windowClass);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "rects") == 0) probeRects();
        if (std::strcmp(argv[i], "windows") == 0) probeWindows();
        if (std::strcmp(argv[i], "text") == 0) probeText();
        if (std::strcmp(argv[i], "dialog") == 0 && i + 1 < argc && probeDialog(std::atoi(argv[++i])) != 0) return 1;
        std::fflush(stdout);
    }
    return 0;
}
