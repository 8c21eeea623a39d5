// A recording stand-in for the device, for code that only holds one (the font's references).
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

struct CallLog {
    std::vector<std::string> events;
};

class FakeDevice : public IDirect3DDevice9 {
public:
    explicit FakeDevice(CallLog* log) : log(log) {}
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return log->events.push_back("Release device"), --references; }
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Present(const RECT*, const RECT*, HWND, const RGNDATA*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE BeginScene() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EndScene() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override { return S_OK; }

private:
    CallLog* log;
};
