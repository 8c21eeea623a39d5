// The main loop: redraw flat out until the quit flag is set, waiting out a lost device.
#pragma once

#include <windows.h>
#include <d3d9.h>

// Lost: tell the font, wait 500 ms. Not reset: tell the font it is lost if no loss was seen
// since its last reset, reset with the kept parameters and, when that worked, tell the font. Returns the reset's status when one was tried, else `status`.
HRESULT fwHandleDeviceLoss(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters, HRESULT status);

// One pass: pump messages, test the device, draw or handle its loss; a render failure sets the
// quit flag and logs "Error rendering".
void RunMainLoopPass();

// Passes until the quit flag is set; it is tested before each pass.
void RunMainLoop();
