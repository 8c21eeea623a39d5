// A headless window and the Direct3D object, for the device's tests.
#pragma once

#include <d3d9.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/sim/sim.h"
#include "platform/sim/sim_gfx.h"
#include "platform/sim/sim_user.h"

inline LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("FONTLOOM_HEADLESS", "1", 1);
        sim::Reset();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.lpszClassName = "DeviceTestWindow";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
        // An overlapped window whose client area is 640 x 480, as the program makes it.
        RECT outer = {0, 0, 640, 480};
        window = CreateWindowExA(0, "DeviceTestWindow", "device", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 0, 100,
                                 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        RECT client;
        GetClientRect(window, &client);
        MoveWindow(window, 0, 0, 100 + (outer.right - client.right), 100 + (outer.bottom - client.bottom), TRUE);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
    }
    void TearDown() override {
        if (device) device->Release();
        if (d3d) d3d->Release();
        EXPECT_EQ(sim::LiveDevices(), 0);
        EXPECT_EQ(sim::LiveDirect3DObjects(), 0);
        DestroyWindow(window);
        sim::Reset();
    }

    D3DPRESENT_PARAMETERS Parameters(bool fullScreen, D3DFORMAT format) const {
        D3DPRESENT_PARAMETERS p{};
        p.BackBufferWidth = fullScreen ? 640 : 0;
        p.BackBufferHeight = fullScreen ? 480 : 0;
        p.BackBufferFormat = format;
        p.BackBufferCount = 1;
        p.SwapEffect = D3DSWAPEFFECT_DISCARD;
        p.hDeviceWindow = window;
        p.Windowed = fullScreen ? FALSE : TRUE;
        p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        return p;
    }

    HRESULT Create(D3DPRESENT_PARAMETERS* p, D3DDEVTYPE type = D3DDEVTYPE_HAL) {
        return d3d->CreateDevice(D3DADAPTER_DEFAULT, type, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, p, &device);
    }

    void Pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};
