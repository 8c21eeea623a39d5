// Recording stand-ins for the Direct3D object, the device and the font, for testing the
// program's own logic apart from the platform's rasteriser. Every call lands in `events`.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <set>
#include <string>
#include <vector>

struct CallLog {
    std::vector<std::string> events;
    // add("Clear", 0, 1): "Clear 0 1".
    template <typename... Parts>
    void add(std::string event, Parts... parts) {
        ((event += " " + text(parts)), ...);
        events.push_back(event);
    }
    static std::string text(const std::string& s) { return s; }
    static std::string text(const char* s) { return s; }
    static std::string text(const RECT& r) {
        return text(r.left) + "," + text(r.top) + "," + text(r.right) + "," + text(r.bottom);
    }
    template <typename T>
    static std::string text(T value) { return std::to_string(value); }
};

class FakeD3D : public IDirect3D9 {
public:
    explicit FakeD3D(CallLog* log) : log(log) {}
    std::set<D3DFORMAT> acceptedFormats;
    HRESULT createStatus = S_OK;
    IDirect3DDevice9* deviceToCreate = nullptr;
    D3DPRESENT_PARAMETERS seenParameters{};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return log->add("Release d3d"), 0; }
    UINT STDMETHODCALLTYPE GetAdapterCount() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT, DWORD, D3DADAPTER_IDENTIFIER9*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT display, D3DFORMAT back,
                                              BOOL windowed) override {
        log->add("CheckDeviceType", adapter, type, display, back, windowed);
        return acceptedFormats.count(display) ? S_OK : D3DERR_NOTAVAILABLE;
    }
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE type, HWND, DWORD flags,
                                           D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override {
        log->add("CreateDevice", adapter, type, flags);
        seenParameters = *parameters;
        *device = SUCCEEDED(createStatus) ? deviceToCreate : nullptr;
        return createStatus;
    }

private:
    CallLog* log;
};

class FakeDevice : public IDirect3DDevice9 {
public:
    explicit FakeDevice(CallLog* log) : log(log) {}
    HRESULT clearStatus = S_OK;
    HRESULT beginSceneStatus = S_OK;
    HRESULT presentStatus = S_OK;
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return log->add("Release device"), --references; }
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Present(const RECT*, const RECT*, HWND, const RGNDATA*) override {
        return log->add("Present"), presentStatus;
    }
    HRESULT STDMETHODCALLTYPE BeginScene() override { return log->add("BeginScene"), beginSceneStatus; }
    HRESULT STDMETHODCALLTYPE EndScene() override { return log->add("EndScene"), S_OK; }
    HRESULT STDMETHODCALLTYPE Clear(DWORD count, const D3DRECT*, DWORD flags, D3DCOLOR color, float z,
                                    DWORD stencil) override {
        return log->add("Clear", count, flags, color, z, stencil), clearStatus;
    }

private:
    CallLog* log;
};

class FakeFont : public ID3DXFont {
public:
    explicit FakeFont(CallLog* log) : log(log) {}
    INT drawResult = 22;  // what a non-empty text returns; an empty one always gives 0

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return log->add("Release font"), 0; }
    INT STDMETHODCALLTYPE DrawTextA(LPD3DXSPRITE, LPCSTR text, INT count, LPRECT rect, DWORD format,
                                    D3DCOLOR color) override {
        log->add("DrawTextA", "'" + std::string(text) + "'", count, *rect, format, color);
        return text[0] == '\0' ? 0 : drawResult;
    }
    HRESULT STDMETHODCALLTYPE OnLostDevice() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnResetDevice() override { return S_OK; }

private:
    CallLog* log;
};
