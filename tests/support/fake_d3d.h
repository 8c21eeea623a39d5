// Recording stand-ins for the Direct3D object, the device and the font, for testing the
// program's own logic apart from the platform's rasteriser. Every call lands in `events`.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

struct CallLog {
    std::vector<std::string> events;
    void add(const std::string& event) { events.push_back(event); }
};

class FakeD3D : public IDirect3D9 {
public:
    explicit FakeD3D(CallLog* log) : log(log) {}
    std::set<D3DFORMAT> acceptedFormats;
    HRESULT createStatus = S_OK;
    IDirect3DDevice9* deviceToCreate = nullptr;
    D3DPRESENT_PARAMETERS seenParameters{};
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        log->add("Release d3d");
        return --references;
    }
    UINT STDMETHODCALLTYPE GetAdapterCount() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT, DWORD, D3DADAPTER_IDENTIFIER9*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT display, D3DFORMAT back,
                                              BOOL windowed) override {
        log->add("CheckDeviceType " + std::to_string(adapter) + " " + std::to_string(type) + " " +
                 std::to_string(display) + " " + std::to_string(back) + " " + std::to_string(windowed));
        return acceptedFormats.count(display) ? S_OK : D3DERR_NOTAVAILABLE;
    }
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE type, HWND, DWORD flags,
                                           D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override {
        log->add("CreateDevice " + std::to_string(adapter) + " " + std::to_string(type) + " " +
                 std::to_string(flags));
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
    std::deque<HRESULT> cooperativeLevels;  // S_OK once they run out
    HRESULT clearStatus = S_OK;
    HRESULT beginSceneStatus = S_OK;
    HRESULT presentStatus = S_OK;
    HRESULT resetStatus = S_OK;
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        log->add("Release device");
        return --references;
    }
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override {
        log->add("TestCooperativeLevel");
        if (cooperativeLevels.empty()) return S_OK;
        const HRESULT level = cooperativeLevels.front();
        cooperativeLevels.pop_front();
        return level;
    }
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS*) override {
        log->add("Reset");
        return resetStatus;
    }
    HRESULT STDMETHODCALLTYPE Present(const RECT*, const RECT*, HWND, const RGNDATA*) override {
        log->add("Present");
        return presentStatus;
    }
    HRESULT STDMETHODCALLTYPE BeginScene() override {
        log->add("BeginScene");
        return beginSceneStatus;
    }
    HRESULT STDMETHODCALLTYPE EndScene() override {
        log->add("EndScene");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clear(DWORD count, const D3DRECT*, DWORD flags, D3DCOLOR color, float z,
                                    DWORD stencil) override {
        log->add("Clear " + std::to_string(count) + " " + std::to_string(flags) + " " + std::to_string(color) +
                 " " + std::to_string(z) + " " + std::to_string(stencil));
        return clearStatus;
    }

private:
    CallLog* log;
};

class FakeFont : public ID3DXFont {
public:
    explicit FakeFont(CallLog* log) : log(log) {}
    INT drawResult = 22;  // what a non-empty text returns; an empty one always gives 0
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        log->add("Release font");
        return --references;
    }
    INT STDMETHODCALLTYPE DrawTextA(LPD3DXSPRITE, LPCSTR text, INT count, LPRECT rect, DWORD format,
                                    D3DCOLOR color) override {
        log->add("DrawTextA '" + std::string(text) + "' " + std::to_string(count) + " " + rectText(*rect) + " " +
                 std::to_string(format) + " " + std::to_string(color));
        return text[0] == '\0' ? 0 : drawResult;
    }
    HRESULT STDMETHODCALLTYPE OnLostDevice() override {
        log->add("OnLostDevice");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnResetDevice() override {
        log->add("OnResetDevice");
        return S_OK;
    }

private:
    static std::string rectText(const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    }
    CallLog* log;
};
