// Runs a program as a debugger would and prints the text it passes to OutputDebugString, so
// that the hook's trace can be read (and compared by a script) without a separate debugger.
// The program's own output passes through unchanged.
//
//   debugcapture <program> [args...]
//   prints "ODS: <text>" per debug string (escaped, see escaped_text.h), then
//   "EXIT: <program's exit code>"; exits non-zero only when it cannot run the program.
#include "escaped_text.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

namespace {

// More than any trace line needs; a longer string is cut here rather than read unbounded.
constexpr DWORD kMaxDebugStringBytes = 64 * 1024;

// The command line after this program's own name, as it was given, so that the program's
// arguments reach it with their quoting untouched.
std::string ProgramCommandLine() {
    const char *cursor = GetCommandLineA();
    if (*cursor == '"') {
        for (++cursor; *cursor != '\0' && *cursor != '"'; ++cursor) {
        }
        if (*cursor == '"')
            ++cursor;
    } else {
        while (*cursor != '\0' && *cursor != ' ' && *cursor != '\t')
            ++cursor;
    }
    while (*cursor == ' ' || *cursor == '\t')
        ++cursor;
    return cursor;
}

std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO &info) {
    DWORD units = info.nDebugStringLength;
    if (units == 0)
        return "";
    DWORD unitSize = info.fUnicode ? sizeof(WCHAR) : 1;
    if (units > kMaxDebugStringBytes / unitSize)
        units = kMaxDebugStringBytes / unitSize;
    std::vector<char> bytes(units * unitSize + sizeof(WCHAR), '\0');
    SIZE_T read = 0;
    ReadProcessMemory(process, info.lpDebugStringData, bytes.data(), units * unitSize, &read);
    if (!info.fUnicode)
        return bytes.data();
    // A wide string is shown in the ANSI code page, as an ANSI trace would be.
    const WCHAR *wide = reinterpret_cast<const WCHAR *>(bytes.data());
    int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return "";
    std::vector<char> ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi.data(), size, nullptr, nullptr);
    return ansi.data();
}

// Both channels print through here, one line at a time.
CRITICAL_SECTION gPrinting;

void PrintTrace(const std::string &text) {
    EnterCriticalSection(&gPrinting);
    std::printf("ODS: %s\n", EscapedText(text).c_str());
    std::fflush(stdout);
    LeaveCriticalSection(&gPrinting);
}

void PrintDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO &info) {
    PrintTrace(ReadDebugString(process, info));
}

// The second channel: a debug string that no debugger took goes to the system-wide monitor
// buffer that DebugView-like tools serve. Wine's 32-bit side under emulation sends its
// strings there rather than to the debugger, so the program's strings are taken from there
// too; on Windows the debugger takes them all and this buffer stays quiet.
struct Monitor {
    DWORD programId = 0;
    HANDLE bufferReady = nullptr;
    HANDLE dataReady = nullptr;
    HANDLE stop = nullptr;
    const char *buffer = nullptr; // the process id, then the text
};

// Serves the buffer until told to stop. A string already handed over is printed first: the
// wait gives the lower index precedence.
DWORD WINAPI ServeMonitor(LPVOID parameter) {
    Monitor &monitor = *static_cast<Monitor *>(parameter);
    HANDLE waits[2] = {monitor.dataReady, monitor.stop};
    for (;;) {
        SetEvent(monitor.bufferReady);
        DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0)
            return 0;
        DWORD sender = 0;
        std::memcpy(&sender, monitor.buffer, sizeof sender);
        if (sender == monitor.programId)
            PrintTrace(std::string(monitor.buffer + sizeof sender,
                                   strnlen(monitor.buffer + sizeof sender, 4096 - sizeof sender)));
    }
}

// Opens the monitor buffer and serves it from a thread; null when it cannot (another monitor
// holds it), in which case the debugger channel alone is used.
HANDLE StartMonitor(Monitor &monitor) {
    monitor.bufferReady = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
    monitor.dataReady = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
    monitor.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "DBWIN_BUFFER");
    if (monitor.bufferReady == nullptr || monitor.dataReady == nullptr || mapping == nullptr ||
        GetLastError() == ERROR_ALREADY_EXISTS)
        return nullptr;
    monitor.buffer = static_cast<const char *>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 4096));
    if (monitor.buffer == nullptr)
        return nullptr;
    return CreateThread(nullptr, 0, ServeMonitor, &monitor, 0, nullptr);
}

// Lets the program use this tool's standard handles, whatever they are (console, pipe, file).
void ShareStandardHandles(STARTUPINFOA &startup) {
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
            SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
}

// Follows the program until it exits and sets its exit code; false when the debugging fails.
bool FollowProgram(HANDLE process, DWORD &exitCode) {
    bool sawLoaderBreakpoint = false;
    for (;;) {
        DEBUG_EVENT event;
        if (!WaitForDebugEvent(&event, INFINITE)) {
            std::fprintf(stderr, "debugcapture: WaitForDebugEvent failed, error %lu\n",
                         GetLastError());
            return false;
        }
        DWORD continueStatus = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile != nullptr)
                CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile != nullptr)
                CloseHandle(event.u.LoadDll.hFile);
            break;
        case OUTPUT_DEBUG_STRING_EVENT:
            PrintDebugString(process, event.u.DebugString);
            break;
        case EXCEPTION_DEBUG_EVENT: {
            const EXCEPTION_RECORD &record = event.u.Exception.ExceptionRecord;
            // A debug string can also arrive as the exception that carries it (Wine's 32-bit
            // side under emulation delivers it so): its text length and address.
            if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2) {
                OUTPUT_DEBUG_STRING_INFO info = {};
                info.lpDebugStringData = reinterpret_cast<LPSTR>(record.ExceptionInformation[1]);
                info.nDebugStringLength = static_cast<WORD>(record.ExceptionInformation[0] > 0xFFFF
                                                                ? 0xFFFF
                                                                : record.ExceptionInformation[0]);
                PrintDebugString(process, info);
                break;
            }
            // The loader's breakpoint is for the debugger; every other exception goes back to
            // the program, to be handled as it would be with no debugger attached.
            if (!sawLoaderBreakpoint && record.ExceptionCode == EXCEPTION_BREAKPOINT)
                sawLoaderBreakpoint = true;
            else
                continueStatus = DBG_EXCEPTION_NOT_HANDLED;
            break;
        }
        case EXIT_PROCESS_DEBUG_EVENT:
            exitCode = event.u.ExitProcess.dwExitCode;
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
            return true;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    }
}

} // namespace

int main() {
    // Plain "\n" line ends, so that scripts compare the lines exactly.
    _setmode(_fileno(stdout), _O_BINARY);
    InitializeCriticalSection(&gPrinting);
    std::string commandLine = ProgramCommandLine();
    if (commandLine.empty()) {
        std::fprintf(stderr, "usage: debugcapture <program> [args...]\n");
        return 2;
    }
    std::vector<char> writableCommandLine(commandLine.begin(), commandLine.end());
    writableCommandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ShareStandardHandles(startup);
    PROCESS_INFORMATION program = {};
    if (!CreateProcessA(nullptr, writableCommandLine.data(), nullptr, nullptr, TRUE,
                        DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &program)) {
        std::fprintf(stderr, "debugcapture: cannot start %s, error %lu\n", commandLine.c_str(),
                     GetLastError());
        return 1;
    }
    CloseHandle(program.hThread);
    Monitor monitor;
    monitor.programId = program.dwProcessId;
    HANDLE monitorThread = StartMonitor(monitor);
    DWORD exitCode = 0;
    bool followed = FollowProgram(program.hProcess, exitCode);
    CloseHandle(program.hProcess);
    if (monitorThread != nullptr) {
        SetEvent(monitor.stop);
        WaitForSingleObject(monitorThread, INFINITE);
    }
    if (!followed)
        return 1;
    std::printf("EXIT: %lu\n", exitCode);
    return 0;
}
