// Stands in for the host uninstaller: loads the hook, finds its two entries, calls them with
// the host's three arguments and prints what each returned. It can also write down what the
// notice box that the second entry shows looked like, for a test to compare.
//
//   hookhost <dll name or path> [--by-ordinal] [--args zero|nonzero] [--call init|uninit|both]
//            [--repeat N] [--notice-report <file>]
//   With --repeat N (N > 1) it also prints how many handles the process holds after the
//   first and after the last round.
#include "escaped_text.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>

namespace {

using Entry = int(WINAPI *)(DWORD, DWORD, DWORD);

struct EntryName {
    const char *name;
    WORD ordinal;
};
const EntryName kInitialize = {"UninstInitialize", 1};
const EntryName kUnInitialize = {"UninstUnInitialize", 2};

struct Options {
    const char *library = nullptr;
    bool byOrdinal = false;
    bool nonZeroArguments = false;
    bool callInitialize = true;
    bool callUnInitialize = true;
    unsigned long repeat = 1;
    const char *noticeReport = nullptr;
};

// Values that a hook reading its arguments by mistake would notice.
const DWORD kNonZeroArguments[3] = {0x11111111, 0xDEADBEEF, 0xFFFFFFFF};

const char *gNoticeReportPath = nullptr;
bool gNoticeSeen = false;

int Usage() {
    std::fprintf(stderr, "usage: hookhost <dll> [--by-ordinal] [--args zero|nonzero] "
                         "[--call init|uninit|both] [--repeat N] [--notice-report <file>]\n");
    return 2;
}

bool ParseOptions(int argc, char **argv, Options &options) {
    if (argc < 2)
        return false;
    options.library = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::string option = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (option == "--by-ordinal") {
            options.byOrdinal = true;
            continue;
        }
        if (value == nullptr)
            return false;
        std::string text = value;
        ++i;
        if (option == "--args" && (text == "zero" || text == "nonzero")) {
            options.nonZeroArguments = text == "nonzero";
        } else if (option == "--call" && (text == "init" || text == "uninit" || text == "both")) {
            options.callInitialize = text != "uninit";
            options.callUnInitialize = text != "init";
        } else if (option == "--repeat") {
            char *end = nullptr;
            options.repeat = std::strtoul(value, &end, 10);
            if (*end != '\0' || options.repeat == 0)
                return false;
        } else if (option == "--notice-report") {
            options.noticeReport = value;
        } else {
            return false;
        }
    }
    return true;
}

// The entry found the way the options ask; null, after saying why, when it is missing or
// when the lookup by name and the one by ordinal disagree.
Entry Resolve(HMODULE library, const EntryName &entry, bool byOrdinal) {
    FARPROC byName = GetProcAddress(library, entry.name);
    FARPROC byNumber = GetProcAddress(library, MAKEINTRESOURCEA(entry.ordinal));
    if (byName == nullptr || byNumber == nullptr) {
        std::printf("%s not found by %s\n", entry.name, byName == nullptr ? "name" : "ordinal");
        return nullptr;
    }
    if (byName != byNumber) {
        std::printf("%s by name is %p but ordinal %u is %p\n", entry.name,
                    reinterpret_cast<void *>(byName), entry.ordinal,
                    reinterpret_cast<void *>(byNumber));
        return nullptr;
    }
    // GetProcAddress knows no signatures; going through void (*)() says the cast is meant.
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(byOrdinal ? byNumber : byName));
}

std::string ClassName(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct BoxContents {
    std::string icon = "none";
    std::string buttons;
};

BOOL CALLBACK NoteControl(HWND control, LPARAM contentsAddress) {
    BoxContents &contents = *reinterpret_cast<BoxContents *>(contentsAddress);
    // Only what a user will see counts. The box itself is not shown yet when it is
    // activated, so the controls' own visibility style is what tells.
    LONG style = GetWindowLongA(control, GWL_STYLE);
    if ((style & WS_VISIBLE) == 0)
        return TRUE;
    std::string className = ClassName(control);
    if (_stricmp(className.c_str(), "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        // Message boxes show the system's shared icon, the one LoadIcon hands out.
        HICON shown = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
        contents.icon = shown == LoadIconA(nullptr, IDI_INFORMATION) ? "information" : "other";
    } else if (_stricmp(className.c_str(), "Button") == 0) {
        char line[1100];
        std::snprintf(line, sizeof line, "button=%d|%s\n", GetDlgCtrlID(control),
                      EscapedText(WindowText(control)).c_str());
        contents.buttons += line;
    }
    return TRUE;
}

void WriteNoticeReport(HWND box) {
    FILE *report = std::fopen(gNoticeReportPath, "wb");
    if (report == nullptr) {
        std::fprintf(stderr, "hookhost: cannot write %s\n", gNoticeReportPath);
        return;
    }
    HWND owner = GetWindow(box, GW_OWNER);
    if (owner == nullptr)
        std::fprintf(report, "owner=none\n");
    else
        std::fprintf(report, "owner=%p\n", static_cast<void *>(owner));
    std::fprintf(report, "caption=%s\n", EscapedText(WindowText(box)).c_str());
    std::fprintf(report, "text=%s\n", EscapedText(WindowText(GetDlgItem(box, 0xFFFF))).c_str());
    BoxContents contents;
    EnumChildWindows(box, NoteControl, reinterpret_cast<LPARAM>(&contents));
    std::fprintf(report, "icon=%s\n%s", contents.icon.c_str(), contents.buttons.c_str());
    std::fclose(report);
}

// Sees the box when it is first activated: it is then complete, and still up.
LRESULT CALLBACK WatchForNotice(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && !gNoticeSeen && ClassName(window) == "#32770") {
        gNoticeSeen = true;
        WriteNoticeReport(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The handles the process holds, counted one by one: GetProcessHandleCount answers 0 under
// Wine. A value names an open handle when it can be duplicated; the copy is closed at once,
// so it never stands in a slot that is still to be tested.
unsigned long CountOpenHandles() {
    HANDLE self = GetCurrentProcess();
    unsigned long open = 0;
    for (uintptr_t value = 4; value < 0x10000; value += 4) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(self, reinterpret_cast<HANDLE>(value), self, &copy, 0, FALSE,
                            DUPLICATE_SAME_ACCESS)) {
            CloseHandle(copy);
            ++open;
        }
    }
    return open;
}

void PrintHandles(unsigned long round) {
    std::printf("handles after round %lu: %lu\n", round, CountOpenHandles());
    std::fflush(stdout);
}

void Call(Entry entry, const EntryName &name, const DWORD (&arguments)[3]) {
    int result = entry(arguments[0], arguments[1], arguments[2]);
    std::printf("%s returned %d\n", name.name, result);
    std::fflush(stdout);
}

int Run(const Options &options) {
    HMODULE library = LoadLibraryA(options.library);
    if (library == nullptr) {
        std::printf("LoadLibraryA(%s) failed, error %lu\n", options.library, GetLastError());
        return 1;
    }
    Entry initialize = Resolve(library, kInitialize, options.byOrdinal);
    Entry unInitialize = Resolve(library, kUnInitialize, options.byOrdinal);
    if (initialize == nullptr || unInitialize == nullptr) {
        FreeLibrary(library);
        return 1;
    }
    DWORD arguments[3] = {0, 0, 0};
    if (options.nonZeroArguments)
        std::memcpy(arguments, kNonZeroArguments, sizeof arguments);

    HHOOK watch = nullptr;
    if (options.noticeReport != nullptr) {
        gNoticeReportPath = options.noticeReport;
        watch = SetWindowsHookExA(WH_CBT, WatchForNotice, nullptr, GetCurrentThreadId());
        if (watch == nullptr) {
            std::printf("SetWindowsHookExA failed, error %lu\n", GetLastError());
            FreeLibrary(library);
            return 1;
        }
    }
    for (unsigned long round = 1; round <= options.repeat; ++round) {
        if (options.callInitialize)
            Call(initialize, kInitialize, arguments);
        if (options.callUnInitialize)
            Call(unInitialize, kUnInitialize, arguments);
        // The first round may open what the system keeps for the process (the device
        // service's own handles, say); from then on the count must not grow.
        if (options.repeat > 1 && (round == 1 || round == options.repeat))
            PrintHandles(round);
    }
    int status = 0;
    if (watch != nullptr) {
        UnhookWindowsHookEx(watch);
        if (!gNoticeSeen) {
            std::printf("no notice box was shown\n");
            status = 1;
        }
    }
    if (!FreeLibrary(library)) {
        std::printf("FreeLibrary failed, error %lu\n", GetLastError());
        status = 1;
    }
    return status;
}

} // namespace

int main(int argc, char **argv) {
    // Plain "\n" line ends, so that scripts compare the lines exactly.
    _setmode(_fileno(stdout), _O_BINARY);
    Options options;
    if (!ParseOptions(argc, argv, options))
        return Usage();
    return Run(options);
}
