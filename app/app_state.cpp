#include "app/app_state.h"

// Constructed before WinMain runs, so the counter carries its name from the start.
AppState g_app;
