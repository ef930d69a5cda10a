// Debugger output, system message texts and the message box of the simulated Windows.
#include <cstring>
#include <map>

#include "platform/sim/sim_internal.h"

namespace sim {
namespace {

std::vector<std::string> debugOutput;
std::vector<Notice> notices;
int noticeAnswer = IDOK;

const std::map<DWORD, std::string> &MessageTexts() {
    static const std::map<DWORD, std::string> texts = {
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
        {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
        {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this "
                                  "command.\r\n"},
        {ERROR_SHARING_VIOLATION, "The process cannot access the file because it is being used "
                                  "by another process.\r\n"},
        {ERROR_DIR_NOT_EMPTY, "The directory is not empty.\r\n"},
        {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long.\r\n"},
    };
    return texts;
}

} // namespace

namespace detail {
void ResetNotices() {
    debugOutput.clear();
    notices.clear();
    noticeAnswer = IDOK;
}
} // namespace detail

const std::vector<std::string> &DebugOutput() {
    return debugOutput;
}
const std::vector<Notice> &Notices() {
    return notices;
}
void SetNoticeAnswer(int answer) {
    noticeAnswer = answer;
}

} // namespace sim

using namespace sim;
using namespace sim::detail;

void OutputDebugStringA(LPCSTR text) {
    Log("OutputDebugStringA", Shown(text));
    debugOutput.push_back(Shown(text));
}

DWORD FormatMessageA(DWORD flags, const void *source, DWORD code, DWORD language, LPSTR buffer,
                     DWORD size, void *arguments) {
    if (Enter("FormatMessageA", std::to_string(code)))
        return 0;
    const DWORD supported =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
    if (flags != supported || source != nullptr || arguments != nullptr || buffer == nullptr ||
        language != MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT)) {
        Fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    (void)size;
    auto text = MessageTexts().find(code);
    if (text == MessageTexts().end()) {
        Fail(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    void *block = AllocateBlock(text->second.size() + 1, false);
    if (block == nullptr) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    std::memcpy(block, text->second.c_str(), text->second.size() + 1);
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument is the address of a pointer.
    *reinterpret_cast<char **>(buffer) = static_cast<char *>(block);
    return static_cast<DWORD>(text->second.size());
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    if (Enter("MessageBoxA", Shown(text)))
        return 0;
    notices.push_back({owner, Shown(text), Shown(caption), style});
    return noticeAnswer;
}
