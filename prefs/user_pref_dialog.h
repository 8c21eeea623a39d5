// The start-up window that asks full screen or windowed, HAL or Reference, and which adapter.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <cstdint>

typedef D3DADAPTER_IDENTIFIER9 AdapterRecord;

class UserPrefDialog {
public:
    static const UINT kMaxAdapters = 9;

    explicit UserPrefDialog(const char* title);

    // Lists the adapters, shows the window and blocks until it is gone. True when "Okay" was pressed.
    bool Run();

    // The choices; the defaults (windowed, HAL, adapter 0) until "Okay" stores others.
    bool IsFullScreen() const;
    int32_t GetDeviceType() const;
    int32_t GetAdapter() const;

    bool EnumerateAdapters();
    bool CreatePrefWindow();
    bool RegisterPrefWindowClass();
    bool CreateControls();
    bool CreateFullScreenGroup();
    bool CreateDeviceTypeGroup();
    bool CreateAdapterGroup();

    static LRESULT CALLBACK UserPrefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND createControl(const char* className, const char* text, DWORD style, int x, int y, int width,
                       int height, int id);

    const char* title;  // not owned; may be null
    HWND window;
    HWND fullScreenGroup;
    HWND windowedRadio;
    HWND okayButton;
    HWND cancelButton;
    HWND deviceTypeGroup;
    HWND referenceRadio;
    HWND adapterGroup;
    UINT adapterCount;
    AdapterRecord adapters[kMaxAdapters];

    // The window procedure gets no object pointer, so all it touches is class-wide.
    static HWND fullScreenRadio;
    static HWND halRadio;
    static HWND adapterList;
    static bool fullScreenChoice;
    static bool confirmed;
    static int32_t adapterChoice;
    static int32_t deviceTypeChoice;
    static const char* const className;
};
