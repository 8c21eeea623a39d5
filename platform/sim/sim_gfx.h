// The sim's controls for Direct3D: the adapter list, the formats a device type accepts,
// scripted cooperative levels and Present results, and the frames that were presented.
#pragma once

#include <d3d9.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace sim {

struct Adapter {
    std::string description;
    std::string deviceName;
};
// Replaces the displays as the adapter list (an empty list: no adapters at all).
void SetAdapters(const std::vector<Adapter>& adapters);
void UseDisplayAdapters();

// The back-buffer formats that CheckDeviceType and CreateDevice accept for a device type, on
// every adapter. By default HAL and Reference accept all four.
void SetAcceptedFormats(D3DDEVTYPE type, const std::vector<D3DFORMAT>& formats);

// Results handed out, one per call, before the device's own: TestCooperativeLevel answers
// the next scripted level; a scripted Present result is returned instead of presenting, and a
// D3DERR_DEVICELOST one really loses the device (it then needs a Reset).
void ScriptCooperativeLevels(const std::vector<HRESULT>& results);
void ScriptPresentResults(const std::vector<HRESULT>& results);

// Presented frames as A8R8G8B8 rows (alpha forced to 255), kept only while asked for.
struct PresentedFrame {
    int width = 0;
    int height = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    std::vector<uint32_t> pixels;
};
void KeepPresentedFrames(bool keep);
const PresentedFrame& LastPresentedFrame();
// Writes a frame as an RGB PNG; false with a reason on failure.
bool WriteFramePng(const PresentedFrame& frame, const std::string& path, std::string* error);

// Objects of the gfx room alive right now (created and not yet freed).
int LiveDirect3DObjects();
int LiveDevices();

namespace detail {
// What the sim steers in the gfx room, read by the Direct3D object and the device.
struct GfxState {
    bool adaptersOverridden = false;
    std::vector<Adapter> adapters;
    std::vector<D3DFORMAT> acceptedHal;
    std::vector<D3DFORMAT> acceptedReference;
    std::deque<HRESULT> cooperativeLevels;
    std::deque<HRESULT> presentResults;
    bool keepFrames = false;
    PresentedFrame lastFrame;
    int liveDirect3D = 0;
    int liveDevices = 0;
};
GfxState& Gfx();
}  // namespace detail

}  // namespace sim
