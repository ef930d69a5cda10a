// Loading and unloading do nothing of the library's own.
#include "platform/win32_api.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
