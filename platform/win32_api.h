// The one door through which the hook reaches Windows. The Windows build sees the
// real headers; the host build sees the simulated Windows in platform/sim.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <setupapi.h>
#else
#include "platform/sim/sim_api.h"
#endif
