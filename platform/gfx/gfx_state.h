// What the sim steers in the gfx room, read by the Direct3D object and the device.
#pragma once

#include <d3d9.h>

#include <deque>
#include <vector>

#include "sim/sim_gfx.h"

namespace gfx {

struct SimState {
    bool adaptersOverridden = false;
    std::vector<sim::Adapter> adapters;
    std::vector<D3DFORMAT> acceptedHal;
    std::vector<D3DFORMAT> acceptedReference;
    std::deque<HRESULT> cooperativeLevels;
    std::deque<HRESULT> presentResults;
    bool keepFrames = false;
    sim::PresentedFrame lastFrame;
    int liveDirect3D = 0;
    int liveDevices = 0;
};

SimState& Sim();

// The formats a back buffer may have here, and whether a device type accepts one.
bool IsBackBufferFormat(D3DFORMAT format);
bool AcceptsFormat(D3DDEVTYPE type, D3DFORMAT format);

}  // namespace gfx

namespace gfx {
// Back to a fresh process's state (sim::Reset, and once before the first object).
void ResetSimState();
// Defined with the sim's gfx controls; called from Direct3DCreate9 so that they are linked.
void LinkSimControls();
}  // namespace gfx
