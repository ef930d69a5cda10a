#include "devices/remove_devices.h"

#include <string>
#include <vector>

#include "tests/sim_fixture.h"

namespace {

using Ids = std::vector<std::string>;

class RemoveDevicesTest : public SimulatedWindows {
  protected:
    // A machine with the camera's nodes and the bystanders that must survive.
    static void PlantMixedTree() {
        sim::AddDevice(sim::MakeDevice("CAM6211", {"USB\\VID_0982&PID_6211&MI_00"}, "Camera"));
        sim::AddDevice(sim::MakeDevice("CAM6210", {"usb\\vid_0982&pid_6210"}, "Camera", true));
        sim::AddDevice(sim::MakeDevice(
            "SECOND", {"USB\\VID_1234&PID_0002", "USB\\VID_0982&PID_6211"}, "Other"));
        sim::AddDevice(
            sim::MakeDevice("DESC", {"USB\\VID_1234&PID_0001"}, "Acme 5.0 m LUMACORDER Deluxe"));
        sim::AddDevice(sim::MakeDevice("P6212", {"USB\\VID_0982&PID_6212"}, "5.0 M Lumacord"));
        sim::AddDevice(sim::MakeDevice("V0983", {"USB\\VID_0983&PID_6211"}, ""));
        sim::AddDevice(sim::MakeDevice("NOIDS", {}, ""));
    }
};

struct OperationCase {
    const char *name;
    void (*run)();
    Ids remaining;
};
void PrintTo(const OperationCase &c, std::ostream *os) {
    *os << c.name;
}

class RemoveDevicesTable : public RemoveDevicesTest,
                           public ::testing::WithParamInterface<OperationCase> {};

TEST_P(RemoveDevicesTable, RemovesExactlyTheMatchingNodes) {
    PlantMixedTree();
    GetParam().run();
    EXPECT_EQ(sim::DeviceIds(), GetParam().remaining);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RemoveDevicesTable,
    ::testing::Values(
        OperationCase{"Product6211",
                      [] { RemoveDevicesByHardwareId("6211", "0982"); },
                      {"CAM6210", "SECOND", "DESC", "P6212", "V0983", "NOIDS"}},
        OperationCase{"Product6210",
                      [] { RemoveDevicesByHardwareId("6210", "0982"); },
                      {"CAM6211", "SECOND", "DESC", "P6212", "V0983", "NOIDS"}},
        OperationCase{"Description",
                      [] { RemoveDevicesByDescription("5.0 M Lumacorder"); },
                      {"CAM6211", "CAM6210", "SECOND", "P6212", "V0983", "NOIDS"}},
        OperationCase{"PairTooLongForThePattern",
                      [] { RemoveDevicesByHardwareId("62110", "098200"); },
                      {"CAM6211", "CAM6210", "SECOND", "DESC", "P6212", "V0983", "NOIDS"}},
        OperationCase{"EmptyDescription",
                      [] { RemoveDevicesByDescription(""); },
                      {"CAM6211", "CAM6210", "SECOND", "DESC", "P6212", "V0983", "NOIDS"}}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST_F(RemoveDevicesTest, RefusedPatternsTouchNothing) {
    PlantMixedTree();
    RemoveDevicesByHardwareId("62110", "098200");
    RemoveDevicesByDescription("");
    EXPECT_EQ(sim::DeviceSetsBuilt(), 0u);
}

TEST_F(RemoveDevicesTest, LongestPairThatFitsStillWorks) {
    // 9 fixed characters, 10 of identifiers and the terminator fill the 20 bytes.
    sim::AddDevice(sim::MakeDevice("LONG", {"USB\\VID_09820&PID_62110"}, ""));
    RemoveDevicesByHardwareId("62110", "09820");
    EXPECT_TRUE(sim::DeviceIds().empty());
}

TEST_F(RemoveDevicesTest, PassCounts) {
    struct {
        const char *name;
        sim::Removal removal;
        bool matching;
        unsigned passes;
    } cases[] = {
        {"no match", sim::Removal::Succeeds, false, 1},
        {"removed", sim::Removal::Succeeds, true, 2},
        {"removal refused", sim::Removal::Fails, true, 1},
        {"reports success but stays", sim::Removal::ReportsSuccessButStays, true,
         kMaxRemovalPasses},
    };
    for (const auto &c : cases) {
        sim::Reset();
        sim::DeviceNode node = sim::MakeDevice(
            "N", {c.matching ? "USB\\VID_0982&PID_6211" : "USB\\VID_0982&PID_6212"}, "");
        node.removal = c.removal;
        sim::AddDevice(node);
        RemoveDevicesByHardwareId("6211", "0982");
        EXPECT_EQ(sim::DeviceSetsBuilt(), c.passes) << c.name;
        EXPECT_EQ(CountCalls("SetupDiDestroyDeviceInfoList"), c.passes) << c.name;
    }
}

TEST_F(RemoveDevicesTest, OnePassCallSequence) {
    sim::AddDevice(sim::MakeDevice("A", {"USB\\VID_0982&PID_6212"}, ""));
    RemoveDevicesByDescription("5.0 M Lumacorder");
    // The node has no description: skipped after the size query.
    EXPECT_EQ(sim::CalledFunctions(),
              (Ids{"SetupDiGetClassDevsA", "SetupDiEnumDeviceInfo",
                   "SetupDiGetDeviceRegistryPropertyA", "GetLastError", "SetupDiEnumDeviceInfo",
                   "GetLastError", "SetupDiDestroyDeviceInfoList"}));
    // All classes, attached or not: DIGCF_ALLCLASSES alone.
    EXPECT_EQ(sim::Calls()[0].text, "4");
}

TEST_F(RemoveDevicesTest, MatchingNodeCallSequence) {
    sim::AddDevice(sim::MakeDevice("A", {"USB\\VID_0982&PID_6211"}, ""));
    RemoveDevicesByHardwareId("6211", "0982");
    Ids called = sim::CalledFunctions();
    Ids firstPass(called.begin(), called.begin() + 9);
    EXPECT_EQ(firstPass, (Ids{"SetupDiGetClassDevsA", "SetupDiEnumDeviceInfo",
                              "SetupDiGetDeviceRegistryPropertyA", "GetLastError", "LocalAlloc",
                              "SetupDiGetDeviceRegistryPropertyA", "SetupDiRemoveDevice",
                              "LocalFree", "SetupDiEnumDeviceInfo"}));
    // The block is twice the reported size: "USB\VID_0982&PID_6211" and two zeros.
    EXPECT_EQ(sim::Calls()[4].text, "46");
}

TEST_F(RemoveDevicesTest, DescriptionCopyIsReleasedBeforeTheBlock) {
    sim::AddDevice(sim::MakeDevice("A", {"X"}, "5.0 M LUMACORDER"));
    RemoveDevicesByDescription("5.0 M Lumacorder");
    Ids expected = {"LocalAlloc",          "SetupDiGetDeviceRegistryPropertyA",
                    "LocalAlloc",          "LocalFree",
                    "SetupDiRemoveDevice", "LocalFree"};
    Ids called = sim::CalledFunctions();
    Ids got(called.begin() + 4, called.begin() + 10);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(sim::Calls()[6].text, "17"); // the description and its terminator
}

TEST_F(RemoveDevicesTest, CallerTextsAreLeftUnchanged) {
    char product[] = "6211";
    char vendor[] = "0982";
    char description[] = "5.0 M Lumacorder";
    sim::AddDevice(sim::MakeDevice("A", {"USB\\VID_0982&PID_6211"}, "5.0 M LUMACORDER"));
    sim::AddDevice(sim::MakeDevice("B", {"X"}, "5.0 M LUMACORDER"));
    RemoveDevicesByHardwareId(product, vendor);
    RemoveDevicesByDescription(description);
    EXPECT_STREQ(product, "6211");
    EXPECT_STREQ(vendor, "0982");
    EXPECT_STREQ(description, "5.0 M Lumacorder");
    EXPECT_TRUE(sim::DeviceIds().empty());
}

TEST_F(RemoveDevicesTest, SkippedNodesDoNotStopThePass) {
    struct {
        const char *name;
        const char *failingCall;
        unsigned occurrence;
        DWORD error;
    } cases[] = {
        {"property missing", nullptr, 0, 0},
        {"size query fails", "SetupDiGetDeviceRegistryPropertyA", 1, ERROR_INVALID_DATA},
        {"no property block", "LocalAlloc", 1, ERROR_NOT_ENOUGH_MEMORY},
        {"no description copy", "LocalAlloc", 2, ERROR_NOT_ENOUGH_MEMORY},
    };
    for (const auto &c : cases) {
        sim::Reset();
        // The first node is the one skipped; the second matches.
        sim::AddDevice(c.failingCall == nullptr
                           ? sim::MakeDevice("SKIPPED", {"X"}, "")
                           : sim::MakeDevice("SKIPPED", {"X"}, "5.0 M Lumacorder"));
        sim::AddDevice(sim::MakeDevice("LATER", {"Y"}, "5.0 M Lumacorder"));
        if (c.failingCall != nullptr)
            sim::FailCall(c.failingCall, c.occurrence, c.error);
        RemoveDevicesByDescription("5.0 M Lumacorder");
        // The skipped node stays through the first pass; the next pass removes it unless
        // it was skipped for want of a description.
        Ids expected = c.failingCall == nullptr ? Ids{"SKIPPED"} : Ids{};
        EXPECT_EQ(sim::DeviceIds(), expected) << c.name;
        EXPECT_EQ(CountCalls("SetupDiRemoveDevice"), c.failingCall == nullptr ? 1u : 2u) << c.name;
        sim::Resources open = sim::OpenResources();
        EXPECT_EQ(open.heapBlocks, 0) << c.name;
        EXPECT_EQ(open.openDeviceSets, 0) << c.name;
    }
}

TEST_F(RemoveDevicesTest, EnumerationEndings) {
    struct {
        const char *name;
        DWORD error;
        unsigned passes;
    } cases[] = {
        {"end of list with error 0", ERROR_SUCCESS, 3},
        {"unexpected error", ERROR_INVALID_HANDLE, 1},
    };
    for (const auto &c : cases) {
        sim::Reset();
        sim::AddDevice(sim::MakeDevice("A", {"USB\\VID_0982&PID_6211"}, ""));
        sim::AddDevice(sim::MakeDevice("B", {"USB\\VID_0982&PID_6211"}, ""));
        // The first pass removes A, then B moves to index 0 and the enumeration of index 1
        // ends the list with the error given. A normal end lets the next pass remove B.
        sim::FailCall("SetupDiEnumDeviceInfo", 2, c.error);
        RemoveDevicesByHardwareId("6211", "0982");
        EXPECT_EQ(sim::DeviceSetsBuilt(), c.passes) << c.name;
        EXPECT_EQ(CountCalls("SetupDiDestroyDeviceInfoList"), c.passes) << c.name;
        EXPECT_EQ(sim::DeviceIds().size(), c.passes == 1 ? 1u : 0u) << c.name;
    }
}

TEST_F(RemoveDevicesTest, NoSetMeansNothingEnumerated) {
    PlantMixedTree();
    sim::FailCall("SetupDiGetClassDevsA", 1, ERROR_NOT_ENOUGH_MEMORY);
    RemoveDevicesByHardwareId("6211", "0982");
    EXPECT_EQ(CountCalls("SetupDiEnumDeviceInfo"), 0u);
    EXPECT_EQ(CountCalls("SetupDiDestroyDeviceInfoList"), 0u);
    EXPECT_EQ(sim::DeviceIds().size(), 7u);
}

TEST_F(RemoveDevicesTest, NoSetOnALaterPassKeepsWhatWasRemoved) {
    PlantMixedTree();
    sim::FailCall("SetupDiGetClassDevsA", 2, ERROR_NOT_ENOUGH_MEMORY);
    RemoveDevicesByHardwareId("6211", "0982");
    EXPECT_EQ(sim::DeviceIds().size(), 6u);
    EXPECT_EQ(CountCalls("SetupDiGetClassDevsA"), 2u);
}

TEST_F(RemoveDevicesTest, OddPropertyValues) {
    struct {
        const char *name;
        std::string hardwareIdBytes;
        bool removed;
    } cases[] = {
        {"unterminated", "USB\\VID_0982&PID_6211", true},
        {"empty value", "", false},
        {"only zeros", std::string(8, '\0'), false},
        {"camera ID second", std::string("A\0USB\\VID_0982&PID_6211\0\0", 26), false},
        {"high bytes around", "\xFF\x80USB\\VID_0982&PID_6211\xC4", true},
    };
    for (const auto &c : cases) {
        sim::Reset();
        sim::DeviceNode node;
        node.instanceId = "N";
        node.hasHardwareIds = true;
        node.hardwareIdBytes = c.hardwareIdBytes;
        sim::AddDevice(node);
        RemoveDevicesByHardwareId("6211", "0982");
        EXPECT_EQ(sim::DeviceIds().empty(), c.removed) << c.name;
        EXPECT_EQ(sim::OpenResources().heapBlocks, 0) << c.name;
    }
}

TEST_F(RemoveDevicesTest, ManyMatchingNodesAreAllRemoved) {
    // Each removal moves the next node into the index just examined, so passes repeat.
    for (int i = 0; i < 10; ++i)
        sim::AddDevice(sim::MakeDevice("N" + std::to_string(i), {"USB\\VID_0982&PID_6210"}, ""));
    RemoveDevicesByHardwareId("6210", "0982");
    EXPECT_TRUE(sim::DeviceIds().empty());
    EXPECT_GE(sim::DeviceSetsBuilt(), 2u);
}

} // namespace
