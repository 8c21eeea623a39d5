#include "prefs/user_pref_dialog.h"

#include <cstring>
#include <string>

#include "diag/format.h"
#include "diag/log.h"

namespace {

const int kWindowWidth = 420;
const int kWindowHeight = 300;

const DWORD kGroupBoxStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | BS_GROUPBOX;
const DWORD kFirstRadioStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON;
const DWORD kSecondRadioStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON;
const DWORD kAdapterListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_GROUP | WS_TABSTOP | CBS_DROPDOWNLIST;
const DWORD kPushButtonStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON;

HINSTANCE moduleInstance() { return GetModuleHandleA(nullptr); }

void check(HWND radio) { SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0); }

}  // namespace

HWND UserPrefDialog::fullScreenRadio = nullptr;
HWND UserPrefDialog::halRadio = nullptr;
HWND UserPrefDialog::adapterList = nullptr;
bool UserPrefDialog::fullScreenChoice = false;
bool UserPrefDialog::confirmed = false;
int32_t UserPrefDialog::adapterChoice = 0;
int32_t UserPrefDialog::deviceTypeChoice = D3DDEVTYPE_HAL;
const char* const UserPrefDialog::className = "fwUserPrefWndClass";

UserPrefDialog::UserPrefDialog(const char* title) : title(title), window(nullptr), adapterCount(0) {}

bool UserPrefDialog::IsFullScreen() const { return fullScreenChoice; }
int32_t UserPrefDialog::GetDeviceType() const { return deviceTypeChoice; }
int32_t UserPrefDialog::GetAdapter() const { return adapterChoice; }

bool UserPrefDialog::Run() {
    EnumerateAdapters();
    if (!CreatePrefWindow()) return false;

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    UnregisterClassA(className, moduleInstance());
    return confirmed;
}

bool UserPrefDialog::EnumerateAdapters() {
    adapterCount = 0;
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (d3d == nullptr) return true;  // nothing to list: the window shows an empty list

    adapterCount = d3d->GetAdapterCount();
    if (adapterCount > kMaxAdapters) adapterCount = kMaxAdapters;
    for (UINT i = 0; i < adapterCount; ++i) {
        // A failed query must still leave text that can be formatted.
        std::memset(&adapters[i], 0, sizeof(adapters[i]));
        d3d->GetAdapterIdentifier(i, 0, &adapters[i]);
        adapters[i].Description[sizeof(adapters[i].Description) - 1] = '\0';
        adapters[i].DeviceName[sizeof(adapters[i].DeviceName) - 1] = '\0';
    }
    d3d->Release();
    return true;
}

bool UserPrefDialog::CreatePrefWindow() {
    if (!RegisterPrefWindowClass()) return false;

    std::string caption;
    if (title != nullptr) {
        FormatInto(caption, "%s : User Preferences", title);
    } else {
        caption = "User Preferences";
    }

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    window = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME, className, caption.c_str(),
                             WS_VISIBLE | WS_CAPTION, (screenWidth - kWindowWidth) / 2,
                             (screenHeight - kWindowHeight) / 2, kWindowWidth, kWindowHeight, nullptr, nullptr,
                             moduleInstance(), nullptr);
    if (window == nullptr) {
        // No window means no WM_QUIT would ever end the loop.
        UnregisterClassA(className, moduleInstance());
        return false;
    }
    CreateControls();
    return true;
}

bool UserPrefDialog::RegisterPrefWindowClass() {
    WNDCLASSEXA windowClass;
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = 0;
    windowClass.lpfnWndProc = UserPrefWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = moduleInstance();
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className;
    windowClass.hIconSm = nullptr;

    if (RegisterClassExA(&windowClass) == 0) {
        LogMessage("Error registering window class", 0);
        return false;
    }
    return true;
}

HWND UserPrefDialog::createControl(const char* controlClass, const char* text, DWORD style, int x, int y,
                                   int width, int height, int id) {
    return CreateWindowExA(0, controlClass, text, style, x, y, width, height, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), moduleInstance(), nullptr);
}

bool UserPrefDialog::CreateControls() {
    CreateFullScreenGroup();
    CreateDeviceTypeGroup();
    CreateAdapterGroup();
    okayButton = createControl("button", "Okay", kPushButtonStyle, 80, 240, 100, 25, IDOK);
    cancelButton = createControl("button", "Cancel", kPushButtonStyle, 240, 240, 100, 25, IDCANCEL);
    return true;
}

bool UserPrefDialog::CreateFullScreenGroup() {
    fullScreenGroup = createControl("button", "Full Screen?", kGroupBoxStyle, 80, 20, 120, 70, 0);
    fullScreenRadio = createControl("button", "Full Screen", kFirstRadioStyle, 90, 40, 100, 15, 0);
    windowedRadio = createControl("button", "Windowed", kSecondRadioStyle, 90, 65, 100, 20, 0);
    check(fullScreenChoice ? fullScreenRadio : windowedRadio);
    return true;
}

bool UserPrefDialog::CreateDeviceTypeGroup() {
    deviceTypeGroup = createControl("button", "Device Type", kGroupBoxStyle, 220, 20, 120, 70, 0);
    halRadio = createControl("button", "HAL", kFirstRadioStyle, 230, 40, 100, 15, 0);
    referenceRadio = createControl("button", "Reference", kSecondRadioStyle, 230, 65, 100, 20, 0);
    check(deviceTypeChoice == D3DDEVTYPE_HAL ? halRadio : referenceRadio);
    return true;
}

bool UserPrefDialog::CreateAdapterGroup() {
    adapterGroup = createControl("button", "Adapter", kGroupBoxStyle, 45, 105, 320, 70, 0);
    adapterList = createControl("COMBOBOX", "Adapter", kAdapterListStyle, 55, 135, 300, 60, 0);
    std::string entry;
    for (UINT i = 0; i < adapterCount; ++i) {
        FormatInto(entry, "%s (%s)", adapters[i].Description, adapters[i].DeviceName);
        SendMessageA(adapterList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    SendMessageA(adapterList, CB_SETCURSEL, 0, 0);
    return true;
}

LRESULT CALLBACK UserPrefDialog::UserPrefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        confirmed = false;
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            fullScreenChoice = SendMessageA(fullScreenRadio, BM_GETCHECK, 0, 0) == BST_CHECKED;
            deviceTypeChoice = SendMessageA(halRadio, BM_GETCHECK, 0, 0) != 0 ? D3DDEVTYPE_HAL : D3DDEVTYPE_REF;
            adapterChoice = static_cast<int32_t>(SendMessageA(adapterList, CB_GETCURSEL, 0, 0));
            confirmed = true;
            DestroyWindow(window);
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(window);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
