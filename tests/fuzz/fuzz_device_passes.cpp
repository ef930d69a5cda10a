// The three device steps over generated nodes whose hardware-ID lists and descriptions may
// be empty, unterminated or full of odd bytes. Exactly the matching nodes whose removal
// succeeds are removed; the caller's texts stay as they were; every block and set is released.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "devices/remove_devices.h"
#include "platform/sim/sim_control.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The text a property block holds: the value up to its first zero, lower-cased.
std::string FirstText(const std::string &bytes) {
    std::string text = bytes.substr(0, bytes.find('\0'));
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 0x20);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ByteReader reader(data, size);
    sim::Reset();
    std::vector<std::string> expectedLeft;
    for (int i = 0; i < 16 && !reader.Empty(); ++i) {
        sim::DeviceNode node;
        node.instanceId = "NODE" + std::to_string(i);
        uint8_t flags = reader.Byte();
        node.hasHardwareIds = flags & 1u;
        node.hardwareIdBytes = reader.Bytes(reader.Byte() % 48);
        node.hasDescription = flags & 2u;
        node.descriptionBytes = reader.Bytes(reader.Byte() % 48);
        node.attached = flags & 4u;
        node.removal = flags & 8u ? sim::Removal::Fails : sim::Removal::Succeeds;
        sim::AddDevice(node);
        std::string id = FirstText(node.hardwareIdBytes);
        std::string description = FirstText(node.descriptionBytes);
        bool matches =
            (node.hasHardwareIds && (id.find("vid_0982&pid_6211") != std::string::npos ||
                                     id.find("vid_0982&pid_6210") != std::string::npos)) ||
            (node.hasDescription && description.find("5.0 m lumacorder") != std::string::npos);
        if (!matches || node.removal == sim::Removal::Fails)
            expectedLeft.push_back(node.instanceId);
    }
    char *product1 = strdup("6211");
    char *product2 = strdup("6210");
    char *vendor = strdup("0982");
    char *description = strdup("5.0 M Lumacorder");

    RemoveDevicesByHardwareId(product1, vendor);
    RemoveDevicesByHardwareId(product2, vendor);
    RemoveDevicesByDescription(description);

    Require(sim::DeviceIds() == expectedLeft, "exactly the matching nodes removed");
    Require(strcmp(product1, "6211") == 0 && strcmp(product2, "6210") == 0 &&
                strcmp(vendor, "0982") == 0 && strcmp(description, "5.0 M Lumacorder") == 0,
            "inputs unchanged");
    sim::Resources open = sim::OpenResources();
    Require(open.heapBlocks == 0 && open.openDeviceSets == 0 && open.badReleases == 0,
            "everything released");
    free(product1);
    free(product2);
    free(vendor);
    free(description);
    return 0;
}
