// Every platform call that a full UninstInitialize makes is made to fail, one at a time, on
// a machine that holds everything the hook deals with. Whatever fails, the hook must return
// 0, release everything, still run every later step, and leave every bystander as it was.
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "hook/cleanup_plan.h"
#include "tests/reliability/populated_system.h"
#include "tests/sim_fixture.h"

namespace {

// A plausible error for each call that can fail.
const std::map<std::string, DWORD> kPlausibleErrors = {
    {"SetupDiGetClassDevsA", ERROR_NOT_ENOUGH_MEMORY},
    {"SetupDiEnumDeviceInfo", ERROR_INVALID_HANDLE},
    {"SetupDiGetDeviceRegistryPropertyA", ERROR_INVALID_DATA},
    {"SetupDiRemoveDevice", ERROR_ACCESS_DENIED},
    {"SetupDiDestroyDeviceInfoList", ERROR_INVALID_HANDLE},
    {"LocalAlloc", ERROR_NOT_ENOUGH_MEMORY},
    {"LocalFree", ERROR_INVALID_HANDLE},
    {"GetWindowsDirectoryA", ERROR_ACCESS_DENIED},
    {"FindFirstFileA", ERROR_ACCESS_DENIED},
    {"FindNextFileA", ERROR_NOT_ENOUGH_MEMORY},
    {"FindClose", ERROR_INVALID_HANDLE},
    {"GetPrivateProfileSectionA", ERROR_SHARING_VIOLATION},
    {"OpenFile", ERROR_SHARING_VIOLATION},
    {"DeleteFileA", ERROR_SHARING_VIOLATION},
    {"FormatMessageA", ERROR_MR_MID_NOT_FOUND},
    {"RemoveDirectoryA", ERROR_DIR_NOT_EMPTY},
};

struct FaultPoint {
    std::string function;
    unsigned occurrence;
};

class FaultSweepTest : public SimulatedWindows {};

TEST_F(FaultSweepTest, EverySingleFaultIsSurvived) {
    populated::Plant();
    ASSERT_EQ(UninstInitialize(0, 0, 0), 0);
    ASSERT_EQ(populated::BystandersIntact(), "");
    std::vector<FaultPoint> points;
    std::map<std::string, unsigned> seen;
    for (const sim::Call &call : sim::Calls()) {
        unsigned occurrence = ++seen[call.function];
        if (kPlausibleErrors.count(call.function) != 0)
            points.push_back({call.function, occurrence});
        else
            ASSERT_TRUE(call.function == "GetLastError" || call.function == "OutputDebugStringA")
                << call.function << " has no fault of its own in the sweep";
    }
    for (const FaultPoint &point : points) {
        std::string where = point.function + " #" + std::to_string(point.occurrence);
        sim::Reset();
        populated::Plant();
        sim::FailCall(point.function, point.occurrence, kPlausibleErrors.at(point.function));
        EXPECT_EQ(UninstInitialize(0, 0, 0), 0) << where;
        EXPECT_EQ(sim::FaultsFired(), 1u) << where;
        sim::Resources open = sim::OpenResources();
        EXPECT_EQ(open.openDeviceSets, 0) << where;
        EXPECT_EQ(open.openSearches, 0) << where;
        EXPECT_EQ(open.heapBlocks, 0) << where;
        EXPECT_EQ(open.badReleases, 0) << where;
        // Every step ran: three device steps, two INF scans, the install folder last.
        EXPECT_GE(CountCalls("SetupDiGetClassDevsA"), 3u) << where;
        EXPECT_EQ(CountCalls("GetWindowsDirectoryA"), 2u) << where;
        EXPECT_EQ(sim::Calls().back().function + " " + sim::Calls().back().text,
                  "RemoveDirectoryA C:\\HB\\K582T")
            << where;
        EXPECT_EQ(populated::BystandersIntact(), "") << where;
    }
    std::cout << "fault points covered: " << points.size() << "\n";
    RecordProperty("fault_points", static_cast<int>(points.size()));
    EXPECT_GT(points.size(), 100u);
}

} // namespace
