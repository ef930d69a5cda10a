#include <string>
#include <vector>

#include "inf/inf_cleanup.h"
#include "tests/sim_fixture.h"

namespace {

using Texts = std::vector<std::string>;

const char kInf[] = "C:\\WINDOWS\\INF\\OEM3.INF";
const char kPnf[] = "c:\\windows\\inf\\oem3.pnf";
const std::string kMatching =
    "[Manufacturer]\r\nM=Models\r\n[Models]\r\nx=USB\\VID_0982&PID_6211\r\n";

class TracedDeleteTest : public SimulatedWindows {
  protected:
    static void Examine() {
        char filePath[MAX_PATH] = "C:\\WINDOWS\\INF\\OEM3.INF";
        RemoveInfIfModelMatches("6211", "0982", filePath);
    }
};

TEST_F(TracedDeleteTest, TraceOfAMatchingFile) {
    struct {
        const char *name;
        DWORD infAttributes;
        bool companion;
        DWORD companionAttributes;
        Texts trace;
        bool infGone;
        bool companionGone;
    } cases[] = {
        {"with companion", 0, true, 0, {kInf, kPnf}, true, true},
        {"without companion", 0, false, 0, {kInf, kPnf}, true, true},
        {"read-only file",
         FILE_ATTRIBUTE_READONLY,
         true,
         0,
         {kInf, "Access is denied.\r\n", kPnf},
         false,
         true},
        {"read-only companion",
         0,
         true,
         FILE_ATTRIBUTE_READONLY,
         {kInf, kPnf, "Access is denied.\r\n"},
         true,
         false},
    };
    for (const auto &c : cases) {
        sim::Reset();
        sim::WriteFile(kInf, kMatching, c.infAttributes);
        if (c.companion)
            sim::WriteFile(kPnf, "", c.companionAttributes);
        Examine();
        EXPECT_EQ(sim::DebugOutput(), c.trace) << c.name;
        EXPECT_EQ(!sim::Exists(kInf), c.infGone) << c.name;
        EXPECT_EQ(!sim::Exists(kPnf), c.companionGone) << c.name;
        EXPECT_EQ(sim::OpenResources().heapBlocks, 0) << c.name;
    }
}

TEST_F(TracedDeleteTest, FileInUseGivesTheSystemText) {
    sim::WriteFile("C:\\x.inf", "");
    sim::SetInUse("C:\\x.inf", true);
    EXPECT_EQ(DeleteFileTraced("C:\\x.inf"), 0);
    EXPECT_EQ(sim::DebugOutput(),
              (Texts{"C:\\x.inf", "The process cannot access the file because it is being used "
                                  "by another process.\r\n"}));
}

TEST_F(TracedDeleteTest, WithoutASystemTextTheCodeIsTraced) {
    sim::WriteFile("C:\\x.inf", "", FILE_ATTRIBUTE_READONLY);
    sim::FailCall("FormatMessageA", 1, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(DeleteFileTraced("C:\\x.inf"), 0);
    EXPECT_EQ(sim::DebugOutput(), (Texts{"C:\\x.inf", "Error 5\r\n"}));
    EXPECT_EQ(CountCalls("LocalFree"), 0u);
}

TEST_F(TracedDeleteTest, CodeWithoutATextIsTracedInNumbers) {
    sim::WriteFile("C:\\x.inf", "");
    sim::FailCall("DeleteFileA", 1, 4294967295u);
    EXPECT_EQ(DeleteFileTraced("C:\\x.inf"), 0);
    EXPECT_EQ(sim::DebugOutput(), (Texts{"C:\\x.inf", "Error 4294967295\r\n"}));
}

TEST_F(TracedDeleteTest, Results) {
    sim::WriteFile("C:\\a.inf", "");
    EXPECT_EQ(DeleteFileTraced("C:\\a.inf"), 1);
    EXPECT_EQ(DeleteFileTraced("C:\\a.inf"), 0); // absent: traced, no deletion tried
    EXPECT_EQ(CountCalls("DeleteFileA"), 1u);
    EXPECT_EQ(sim::DebugOutput(), (Texts{"C:\\a.inf", "C:\\a.inf"}));
}

TEST_F(TracedDeleteTest, FileExists) {
    sim::WriteFile("C:\\D\\a.inf", "");
    EXPECT_EQ(FileExists("C:\\D\\a.inf"), 1);
    EXPECT_EQ(FileExists("c:\\d\\A.INF"), 1);
    EXPECT_EQ(FileExists("C:\\D\\b.inf"), 0);
    EXPECT_EQ(FileExists("C:\\D"), 0);
    EXPECT_EQ(FileExists("C:\\E\\a.inf"), 0);
}

} // namespace
