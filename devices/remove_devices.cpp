#include "devices/remove_devices.h"

#include "common/id_pair.h"
#include "common/match.h"
#include "common/text.h"
#include "platform/win32_api.h"

namespace {

// "Vid_%s&Pid_%s" with four-digit identifiers fills 18 of these bytes.
constexpr unsigned kPatternBufferSize = 20;
// The node record's size: 28 bytes on 32-bit Windows, as in the simulated platform.
constexpr DWORD kNodeRecordSize = sizeof(SP_DEVINFO_DATA);
static_assert(kNodeRecordSize == 28, "SP_DEVINFO_DATA laid out as on 32-bit Windows");

// What a removal compares: either a pattern buffer of the operation's own, lower-cased in
// place, or a caller's text, copied for each comparison so that it is never written.
struct RemovalRule {
    DWORD property;
    char *patternBuffer;
    const char *callerText;
};

// The node's property in a zero-filled block of twice the reported size, or null when the
// node is to be skipped (no such property, no memory, nothing to compare).
char *ReadNodeProperty(HDEVINFO set, SP_DEVINFO_DATA *node, DWORD property) {
    DWORD dataType = 0;
    DWORD requiredSize = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(set, node, property, &dataType, nullptr, 0,
                                           &requiredSize) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return nullptr;
    // An empty value is an empty text, which matches no pattern; a size whose double does
    // not fit in 32 bits is no real property.
    if (requiredSize == 0 || requiredSize > 0x7FFFFFFFu)
        return nullptr;
    requiredSize *= 2;
    DWORD blockSize = requiredSize;
    char *block = static_cast<char *>(LocalAlloc(LPTR, blockSize));
    if (block == nullptr)
        return nullptr;
    SetupDiGetDeviceRegistryPropertyA(set, node, property, &dataType,
                                      reinterpret_cast<PBYTE>(block), blockSize, &requiredSize);
    // The text must end inside the block even if the value grew since the size query.
    block[blockSize - 1] = '\0';
    return block;
}

bool PropertyMatches(const RemovalRule &rule, char *property) {
    if (rule.patternBuffer != nullptr)
        return MatchesNoCase(rule.patternBuffer, property);
    unsigned copySize = TextLength(rule.callerText) + 1;
    char *copy = static_cast<char *>(LocalAlloc(LMEM_FIXED, copySize));
    if (copy == nullptr)
        return false;
    CopyText(copy, copySize, rule.callerText);
    bool matches = MatchesNoCase(copy, property);
    LocalFree(copy);
    return matches;
}

// One pass over a freshly built set; answers whether another pass is due.
bool RunRemovalPass(const RemovalRule &rule) {
    bool removed = false;
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVINFO_DATA node;
    node.cbSize = kNodeRecordSize;
    DWORD index = 0;
    while (SetupDiEnumDeviceInfo(set, index, &node)) {
        char *property = ReadNodeProperty(set, &node, rule.property);
        if (property != nullptr) {
            if (PropertyMatches(rule, property) && SetupDiRemoveDevice(set, &node))
                removed = true;
            LocalFree(property);
        }
        ++index;
    }
    DWORD error = GetLastError();
    SetupDiDestroyDeviceInfoList(set);
    return removed && (error == ERROR_SUCCESS || error == ERROR_NO_MORE_ITEMS);
}

void RunRemovalPasses(const RemovalRule &rule) {
    for (unsigned pass = 0; pass < kMaxRemovalPasses; ++pass)
        if (!RunRemovalPass(rule))
            return;
}

} // namespace

void RemoveDevicesByHardwareId(const char *product, const char *vendor) {
    char pattern[kPatternBufferSize];
    if (!FormatIdPairPattern(pattern, sizeof pattern, "Vid_%s&Pid_%s", product, vendor))
        return;
    RunRemovalPasses({SPDRP_HARDWAREID, pattern, nullptr});
}

void RemoveDevicesByDescription(const char *description) {
    if (description[0] == '\0')
        return;
    RunRemovalPasses({SPDRP_DEVICEDESC, nullptr, description});
}
