// What the program shows: the text page loaded once from "text.txt", and one frame of it
// under the frame-rate line.
#pragma once

#include <windows.h>

// Creates the font on the device, reads "text.txt" into the text buffer, restarts the
// frame-rate counter. The font's status when the file was read; E_FAIL when it could not be opened.
HRESULT LoadTextPage();

// Clears, draws the frame-rate line and the page, presents and counts the frame. The first
// failing status of Clear or BeginScene, otherwise that of Present.
HRESULT RenderFrame();
