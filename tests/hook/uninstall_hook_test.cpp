#include "hook/cleanup_plan.h"

#include <string>
#include <vector>

#include "tests/sim_fixture.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID);

namespace {

using Ids = std::vector<std::string>;

class UninstallHookTest : public SimulatedWindows {
  protected:
    // Tree order is the reverse of the plan's order, so the order of removals shows the
    // order of the steps.
    static void PlantCameraNodes() {
        sim::AddDevice(sim::MakeDevice("DESC", {"USB\\VID_1111&PID_0001"}, "5.0 M Lumacorder"));
        sim::AddDevice(sim::MakeDevice("CAM6210", {"USB\\VID_0982&PID_6210"}, ""));
        sim::AddDevice(sim::MakeDevice("CAM6211", {"USB\\VID_0982&PID_6211"}, ""));
        sim::AddDevice(sim::MakeDevice("OTHER", {"USB\\VID_0982&PID_6212"}, "Other camera"));
    }

    static Ids Removed() {
        Ids removed;
        for (const sim::Call &call : sim::Calls())
            if (call.function == "SetupDiRemoveDevice" && !call.failed)
                removed.push_back(call.text);
        return removed;
    }
};

TEST_F(UninstallHookTest, RunsTheDeviceStepsInPlanOrderAndReturnsZero) {
    struct {
        DWORD a, b, c;
    } argumentSets[] = {{0, 0, 0}, {0x11111111, 0xDEADBEEF, 0xFFFFFFFF}};
    for (const auto &args : argumentSets) {
        sim::Reset();
        PlantCameraNodes();
        EXPECT_EQ(UninstInitialize(args.a, args.b, args.c), 0);
        EXPECT_EQ(Removed(), (Ids{"CAM6211", "CAM6210", "DESC"}));
        EXPECT_EQ(sim::DeviceIds(), Ids{"OTHER"});
    }
}

TEST_F(UninstallHookTest, InfStepsFollowTheDeviceStepsProduct6211First) {
    PlantCameraNodes();
    // Listed first, the 6210 file would be deleted first if both products were one step.
    sim::WriteFile("C:\\WINDOWS\\INF\\a.inf",
                   "[Manufacturer]\r\nM=Models\r\n[Models]\r\nx=USB\\VID_0982&PID_6210\r\n");
    sim::WriteFile("C:\\WINDOWS\\INF\\b.inf",
                   "[Manufacturer]\r\nM=Models\r\n[Models]\r\nx=USB\\VID_0982&PID_6211\r\n");
    EXPECT_EQ(UninstInitialize(0, 0, 0), 0);
    Ids steps;
    for (const sim::Call &call : sim::Calls()) {
        if (call.function == "SetupDiGetClassDevsA" || call.function == "GetWindowsDirectoryA")
            if (steps.empty() || steps.back() != call.function)
                steps.push_back(call.function);
        if (call.function == "DeleteFileA")
            steps.push_back(call.text);
    }
    EXPECT_EQ(steps, (Ids{"SetupDiGetClassDevsA", "GetWindowsDirectoryA", "C:\\WINDOWS\\INF\\b.inf",
                          "GetWindowsDirectoryA", "C:\\WINDOWS\\INF\\a.inf"}));
    EXPECT_EQ(CountCalls("GetWindowsDirectoryA"), 2u);
}

TEST_F(UninstallHookTest, InstallFolderGoesLast) {
    sim::WriteFile("C:\\HB\\K582T\\bin\\cam.dll", "");
    sim::WriteFile("C:\\HB\\K582T2\\keep.txt", "");
    EXPECT_EQ(UninstInitialize(0, 0, 0), 0);
    EXPECT_FALSE(sim::Exists("C:\\HB\\K582T"));
    EXPECT_TRUE(sim::Exists("C:\\HB\\K582T2\\keep.txt"));
    EXPECT_EQ(sim::Calls().back().function + " " + sim::Calls().back().text,
              "RemoveDirectoryA C:\\HB\\K582T");
}

TEST_F(UninstallHookTest, ConstantsKeepTheirValues) {
    PlantCameraNodes();
    UninstInitialize(0, 0, 0);
    EXPECT_STREQ(kVendorId, "0982");
    EXPECT_STREQ(kFirstProductId, "6211");
    EXPECT_STREQ(kSecondProductId, "6210");
    EXPECT_STREQ(kDeviceDescription, "5.0 M Lumacorder");
    EXPECT_STREQ(kInstallFolder, "C:\\HB\\K582T");
}

TEST_F(UninstallHookTest, EveryStepRunsOnAnEmptyMachineAndOnEveryCall) {
    for (int call = 1; call <= 2; ++call) {
        EXPECT_EQ(UninstInitialize(0, 0, 0), 0);
        // One pass for each of the three device steps, one scan for each INF step, one
        // attempt at the install folder.
        EXPECT_EQ(sim::DeviceSetsBuilt(), 3u * call);
        EXPECT_EQ(CountCalls("GetWindowsDirectoryA"), 2u * call);
        EXPECT_EQ(CountCalls("RemoveDirectoryA"), 1u * call);
    }
}

TEST_F(UninstallHookTest, AFailedStepDoesNotStopTheLaterOnes) {
    PlantCameraNodes();
    sim::FailCall("SetupDiGetClassDevsA", 1, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(UninstInitialize(0, 0, 0), 0);
    EXPECT_EQ(Removed(), (Ids{"CAM6210", "DESC"}));
}

TEST_F(UninstallHookTest, NoticeAsksForARestart) {
    EXPECT_EQ(UninstUnInitialize(0, 0, 0), 0);
    ASSERT_EQ(sim::Notices().size(), 1u);
    const sim::Notice &notice = sim::Notices()[0];
    EXPECT_EQ(notice.owner, nullptr);
    EXPECT_EQ(notice.text, "Please restart your computer!");
    EXPECT_EQ(notice.caption, "Information");
    EXPECT_EQ(notice.style, 0x40u);
    EXPECT_EQ(sim::CalledFunctions(), Ids{"MessageBoxA"});
}

TEST_F(UninstallHookTest, NoticeAnswerChangesNothing) {
    sim::SetNoticeAnswer(2);
    EXPECT_EQ(UninstUnInitialize(1, 2, 3), 0);
    sim::FailCall("MessageBoxA", 0, ERROR_ACCESS_DENIED);
    EXPECT_EQ(UninstUnInitialize(0, 0, 0), 0);
    EXPECT_EQ(CountCalls("MessageBoxA"), 2u);
}

TEST_F(UninstallHookTest, EntryPointsInAnyOrder) {
    PlantCameraNodes();
    EXPECT_EQ(UninstUnInitialize(0, 0, 0), 0);
    EXPECT_EQ(UninstInitialize(0, 0, 0), 0);
    EXPECT_EQ(UninstUnInitialize(0, 0, 0), 0);
    EXPECT_EQ(sim::Notices().size(), 2u);
    EXPECT_EQ(sim::DeviceIds(), Ids{"OTHER"});
}

TEST_F(UninstallHookTest, LoadAndUnloadAlwaysSucceedAndDoNothing) {
    for (DWORD reason :
         {DLL_PROCESS_ATTACH, DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_DETACH})
        EXPECT_EQ(DllMain(nullptr, reason, nullptr), TRUE);
    EXPECT_TRUE(sim::Calls().empty());
}

} // namespace
