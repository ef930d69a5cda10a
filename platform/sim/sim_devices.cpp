// The device tree and the SetupAPI calls of the simulated Windows. A set lists the nodes
// present when it was built; removing a node takes it out of the tree and out of the set,
// so the members after it move down by one index, as they do in a real set.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/sim/sim_internal.h"

namespace sim {
namespace {

struct DeviceSet {
    std::vector<DWORD> members; // node numbers
};

std::map<DWORD, DeviceNode> tree; // node number -> node, in the order added
DWORD nextNodeNumber = 1;
std::map<HDEVINFO, std::unique_ptr<DeviceSet>> sets;
unsigned setsBuilt = 0;

DeviceSet *FindSet(HDEVINFO handle) {
    auto found = sets.find(handle);
    return found == sets.end() ? nullptr : found->second.get();
}

// The node that a record names, when it is still a member of the set.
DeviceNode *FindMember(DeviceSet &set, PSP_DEVINFO_DATA record) {
    if (record == nullptr || record->cbSize != sizeof(SP_DEVINFO_DATA))
        return nullptr;
    if (std::find(set.members.begin(), set.members.end(), record->DevInst) == set.members.end())
        return nullptr;
    auto node = tree.find(record->DevInst);
    return node == tree.end() ? nullptr : &node->second;
}

// The set and the member node that a call names; null, with the error set, when either is
// unknown.
DeviceNode *MemberOrFail(HDEVINFO handle, PSP_DEVINFO_DATA record, DeviceSet **set) {
    *set = FindSet(handle);
    if (*set == nullptr) {
        detail::Fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    DeviceNode *node = FindMember(**set, record);
    if (node == nullptr)
        detail::Fail(ERROR_NO_SUCH_DEVINST);
    return node;
}

} // namespace

namespace detail {
void ResetDevices() {
    tree.clear();
    nextNodeNumber = 1;
    sets.clear();
    setsBuilt = 0;
}
int OpenDeviceSetCount() {
    return static_cast<int>(sets.size());
}
} // namespace detail

DeviceNode MakeDevice(const std::string &instanceId, const std::vector<std::string> &hardwareIds,
                      const std::string &description, bool attached) {
    DeviceNode node;
    node.instanceId = instanceId;
    node.attached = attached;
    if (!hardwareIds.empty()) {
        node.hasHardwareIds = true;
        for (const std::string &id : hardwareIds)
            node.hardwareIdBytes += id + '\0';
        node.hardwareIdBytes += '\0';
    }
    if (!description.empty()) {
        node.hasDescription = true;
        node.descriptionBytes = description + '\0';
    }
    return node;
}

void AddDevice(const DeviceNode &node) {
    tree.emplace(nextNodeNumber++, node);
}

std::vector<std::string> DeviceIds() {
    std::vector<std::string> ids;
    for (const auto &entry : tree)
        ids.push_back(entry.second.instanceId);
    return ids;
}

unsigned DeviceSetsBuilt() {
    return setsBuilt;
}

} // namespace sim

using namespace sim;
using namespace sim::detail;

HDEVINFO SetupDiGetClassDevsA(const GUID *classGuid, LPCSTR enumerator, HWND parent, DWORD flags) {
    if (Enter("SetupDiGetClassDevsA", std::to_string(flags)))
        return INVALID_HANDLE_VALUE;
    // Without a class, only a request for all classes names any node.
    if (classGuid == nullptr && (flags & DIGCF_ALLCLASSES) == 0) {
        Fail(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    (void)enumerator;
    (void)parent;
    auto set = std::make_unique<DeviceSet>();
    for (const auto &entry : tree)
        if ((flags & DIGCF_PRESENT) == 0 || entry.second.attached)
            set->members.push_back(entry.first);
    HDEVINFO handle = set.get();
    sets.emplace(handle, std::move(set));
    ++setsBuilt;
    return handle;
}

BOOL SetupDiEnumDeviceInfo(HDEVINFO handle, DWORD index, PSP_DEVINFO_DATA record) {
    if (Enter("SetupDiEnumDeviceInfo", std::to_string(index)))
        return FALSE;
    DeviceSet *set = FindSet(handle);
    if (set == nullptr) {
        Fail(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (record == nullptr || record->cbSize != sizeof(SP_DEVINFO_DATA)) {
        Fail(ERROR_INVALID_USER_BUFFER);
        return FALSE;
    }
    if (index >= set->members.size()) {
        Fail(ERROR_NO_MORE_ITEMS);
        return FALSE;
    }
    std::memset(&record->ClassGuid, 0, sizeof(record->ClassGuid));
    record->DevInst = set->members[index];
    record->Reserved = 0;
    return TRUE;
}

BOOL SetupDiGetDeviceRegistryPropertyA(HDEVINFO handle, PSP_DEVINFO_DATA record, DWORD property,
                                       PDWORD dataType, PBYTE buffer, DWORD size,
                                       PDWORD requiredSize) {
    if (Enter("SetupDiGetDeviceRegistryPropertyA", std::to_string(property)))
        return FALSE;
    DeviceSet *set = nullptr;
    DeviceNode *node = MemberOrFail(handle, record, &set);
    if (node == nullptr)
        return FALSE;
    const std::string *value = nullptr;
    DWORD type = 0;
    if (property == SPDRP_HARDWAREID && node->hasHardwareIds) {
        value = &node->hardwareIdBytes;
        type = REG_MULTI_SZ;
    } else if (property == SPDRP_DEVICEDESC && node->hasDescription) {
        value = &node->descriptionBytes;
        type = REG_SZ;
    }
    if (value == nullptr) {
        Fail(ERROR_INVALID_DATA);
        return FALSE;
    }
    DWORD length = static_cast<DWORD>(value->size());
    if (requiredSize != nullptr)
        *requiredSize = length;
    if (dataType != nullptr)
        *dataType = type;
    if (buffer == nullptr || size < length) {
        Fail(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(buffer, value->data(), length);
    return TRUE;
}

BOOL SetupDiRemoveDevice(HDEVINFO handle, PSP_DEVINFO_DATA record) {
    if (Enter("SetupDiRemoveDevice", ""))
        return FALSE;
    DeviceSet *set = nullptr;
    DeviceNode *node = MemberOrFail(handle, record, &set);
    if (node == nullptr)
        return FALSE;
    Annotate(node->instanceId);
    switch (node->removal) {
    case Removal::Fails:
        Fail(ERROR_ACCESS_DENIED);
        return FALSE;
    case Removal::ReportsSuccessButStays:
        return TRUE;
    case Removal::Succeeds:
        break;
    }
    DWORD number = record->DevInst;
    tree.erase(number);
    set->members.erase(std::find(set->members.begin(), set->members.end(), number));
    return TRUE;
}

BOOL SetupDiDestroyDeviceInfoList(HDEVINFO handle) {
    bool reportFailure = Enter("SetupDiDestroyDeviceInfoList", "");
    if (sets.erase(handle) == 0) {
        CountBadRelease();
        Fail(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return reportFailure ? FALSE : TRUE;
}
