// Call log, fault injection, last error and resource accounting of the simulated Windows.
#include <algorithm>

#include "platform/sim/sim_internal.h"

namespace sim {
namespace {

struct Fault {
    std::string function;
    unsigned occurrence;
    DWORD error;
    unsigned seen;
};

std::vector<Fault> faults;
unsigned faultsFired = 0;
std::vector<Call> calls;
DWORD lastError = 0;
int badReleases = 0;

} // namespace

namespace detail {

void Log(const char *function, const std::string &text) {
    // The address of this frame stands for the caller's stack depth.
    calls.push_back(
        {function, text, false, reinterpret_cast<uintptr_t>(__builtin_frame_address(0))});
}

bool Enter(const char *function, const std::string &text) {
    Log(function, text);
    for (Fault &fault : faults) {
        if (fault.function != function)
            continue;
        ++fault.seen;
        if (fault.occurrence == 0 || fault.seen == fault.occurrence) {
            ++faultsFired;
            Fail(fault.error);
            return true;
        }
    }
    return false;
}

void Fail(DWORD error) {
    if (!calls.empty())
        calls.back().failed = true;
    lastError = error;
}

void SetLastErrorCode(DWORD error) {
    lastError = error;
}

void Annotate(const std::string &text) {
    if (!calls.empty())
        calls.back().text = text;
}
void CountBadRelease() {
    ++badReleases;
}

std::string Lower(const std::string &text) {
    std::string lowered = text;
    for (char &c : lowered)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 0x20);
    return lowered;
}

std::string Shown(const char *text) {
    return text ? std::string(text) : std::string("(null)");
}

} // namespace detail

void Reset() {
    faults.clear();
    faultsFired = 0;
    calls.clear();
    lastError = 0;
    badReleases = 0;
    detail::ResetDevices();
    detail::ResetFiles();
    detail::ResetMemory();
    detail::ResetNotices();
}

void FailCall(const std::string &function, unsigned occurrence, DWORD error) {
    faults.push_back({function, occurrence, error, 0});
}

unsigned FaultsFired() {
    return faultsFired;
}
const std::vector<Call> &Calls() {
    return calls;
}

std::vector<std::string> CalledFunctions() {
    std::vector<std::string> names;
    names.reserve(calls.size());
    for (const Call &call : calls)
        names.push_back(call.function);
    return names;
}

Resources OpenResources() {
    return {detail::OpenDeviceSetCount(), detail::OpenSearchCount(), detail::HeapBlockCount(),
            badReleases};
}

} // namespace sim

DWORD GetLastError(void) {
    sim::detail::Log("GetLastError", "");
    return sim::lastError;
}
