// Plants device nodes that no device is attached to, and lists every node that the system
// knows, so that a test can set up the nodes a removal should and should not touch and
// compare the system before and after.
//
//   devnodes plant <instance-id> <description or -> <hwid> [<hwid> ...]
//   devnodes list      one line per node: <instance id>|<first hardware id>|<description>
#include <windows.h>

#include <cfgmgr32.h>
#include <setupapi.h>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

namespace {

// Planted nodes go into the Image class, where a camera's nodes live.
const GUID kImageClass = {
    0x6bdd1fc6, 0x810f, 0x11d0, {0xbe, 0xc7, 0x08, 0x00, 0x2b, 0xe2, 0x09, 0x2f}};

const char kNoDescription[] = "-";

int Fail(const char *step) {
    std::fprintf(stderr, "devnodes: %s failed, error %lu\n", step, GetLastError());
    return 1;
}

// A REG_MULTI_SZ value: each ID with its terminator, then one more terminator.
std::string MultiString(char **ids, int count) {
    std::string value;
    for (int i = 0; i < count; ++i) {
        value += ids[i];
        value += '\0';
    }
    value += '\0';
    return value;
}

int Plant(const char *instanceId, const char *description, char **hardwareIds, int idCount) {
    HDEVINFO set = SetupDiCreateDeviceInfoList(&kImageClass, nullptr);
    if (set == INVALID_HANDLE_VALUE)
        return Fail("SetupDiCreateDeviceInfoList");
    SP_DEVINFO_DATA node;
    node.cbSize = sizeof node;
    int result = 0;
    if (!SetupDiCreateDeviceInfoA(set, instanceId, &kImageClass, nullptr, nullptr, 0, &node))
        result = Fail("SetupDiCreateDeviceInfoA");
    else if (!SetupDiRegisterDeviceInfo(set, &node, 0, nullptr, nullptr, nullptr))
        result = Fail("SetupDiRegisterDeviceInfo");
    if (result == 0) {
        std::string ids = MultiString(hardwareIds, idCount);
        if (!SetupDiSetDeviceRegistryPropertyA(set, &node, SPDRP_HARDWAREID,
                                               reinterpret_cast<const BYTE *>(ids.data()),
                                               static_cast<DWORD>(ids.size())))
            result = Fail("SetupDiSetDeviceRegistryPropertyA(SPDRP_HARDWAREID)");
    }
    if (result == 0 && std::strcmp(description, kNoDescription) != 0 &&
        !SetupDiSetDeviceRegistryPropertyA(set, &node, SPDRP_DEVICEDESC,
                                           reinterpret_cast<const BYTE *>(description),
                                           static_cast<DWORD>(std::strlen(description) + 1)))
        result = Fail("SetupDiSetDeviceRegistryPropertyA(SPDRP_DEVICEDESC)");
    SetupDiDestroyDeviceInfoList(set);
    return result;
}

// The property's text (for a list, its first entry), or "" when the node has none.
std::string TextProperty(HDEVINFO set, SP_DEVINFO_DATA *node, DWORD property) {
    DWORD size = 0;
    SetupDiGetDeviceRegistryPropertyA(set, node, property, nullptr, nullptr, 0, &size);
    if (size == 0)
        return "";
    // Zero-filled and one byte longer, so that the text always ends inside the buffer.
    std::vector<char> value(size + 1, '\0');
    if (!SetupDiGetDeviceRegistryPropertyA(set, node, property, nullptr,
                                           reinterpret_cast<BYTE *>(value.data()), size, nullptr))
        return "";
    return value.data();
}

int List() {
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE)
        return Fail("SetupDiGetClassDevsA");
    SP_DEVINFO_DATA node;
    node.cbSize = sizeof node;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &node); ++index) {
        char instanceId[MAX_DEVICE_ID_LEN];
        if (!SetupDiGetDeviceInstanceIdA(set, &node, instanceId, sizeof instanceId, nullptr)) {
            SetupDiDestroyDeviceInfoList(set);
            return Fail("SetupDiGetDeviceInstanceIdA");
        }
        std::printf("%s|%s|%s\n", instanceId, TextProperty(set, &node, SPDRP_HARDWAREID).c_str(),
                    TextProperty(set, &node, SPDRP_DEVICEDESC).c_str());
    }
    DWORD error = GetLastError();
    SetupDiDestroyDeviceInfoList(set);
    if (error != ERROR_NO_MORE_ITEMS) {
        SetLastError(error);
        return Fail("SetupDiEnumDeviceInfo");
    }
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: devnodes plant <instance-id> <description or -> <hwid> [<hwid> "
                         "...]\n       devnodes list\n");
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    // Plain "\n" line ends, so that scripts compare the lines exactly.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc == 2 && std::strcmp(argv[1], "list") == 0)
        return List();
    if (argc >= 5 && std::strcmp(argv[1], "plant") == 0)
        return Plant(argv[2], argv[3], argv + 4, argc - 4);
    return Usage();
}
