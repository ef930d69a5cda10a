// Deletion with a trace on the debugger output: the path, and the system's text for a
// refusal.
#include "inf/inf_cleanup.h"
#include "platform/win32_api.h"

namespace {

// "Error <code>\r\n", for when the system has no text for the code.
void TraceErrorCode(DWORD error) {
    char digits[10];
    unsigned count = 0;
    do {
        digits[count++] = static_cast<char>('0' + error % 10);
        error /= 10;
    } while (error != 0);
    char text[20] = {'E', 'r', 'r', 'o', 'r', ' '};
    unsigned used = 6;
    while (count > 0)
        text[used++] = digits[--count];
    text[used++] = '\r';
    text[used++] = '\n';
    text[used] = '\0';
    OutputDebugStringA(text);
}

} // namespace

int DeleteFileTraced(const char *path) {
    OutputDebugStringA(path);
    if (!FileExists(path))
        return 0;
    if (DeleteFileA(path))
        return 1;
    DWORD error = GetLastError();
    char *message = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                      FORMAT_MESSAGE_FROM_SYSTEM,
                                  nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<LPSTR>(&message), 0, nullptr);
    // Without a text the platform set no pointer: nothing to write from or release.
    if (length == 0 || message == nullptr) {
        TraceErrorCode(error);
        return 0;
    }
    OutputDebugStringA(message);
    LocalFree(message);
    return 0;
}

int FileExists(const char *path) {
    OFSTRUCT record;
    return OpenFile(path, &record, OF_EXIST) != HFILE_ERROR ? 1 : 0;
}
