#include <string>
#include <vector>

#include "inf/inf_cleanup.h"
#include "tests/sim_fixture.h"

namespace {

using Texts = std::vector<std::string>;

const char kInf[] = "C:\\WINDOWS\\INF\\OEM3.INF";
const char kPnf[] = "C:\\WINDOWS\\INF\\oem3.pnf";

class ModelMatchTest : public SimulatedWindows {
  protected:
    // Runs the match on a copy of the path, as the folder scan hands it over.
    static std::string Examine(const char *product, const char *path = kInf) {
        char filePath[MAX_PATH];
        std::snprintf(filePath, sizeof filePath, "%s", path);
        RemoveInfIfModelMatches(product, "0982", filePath);
        return filePath;
    }
};

struct InfCase {
    const char *name;
    const char *product;
    std::string content;
    bool deleted;
};

void PrintTo(const InfCase &c, std::ostream *os) {
    *os << c.name;
}

class ModelMatchTable : public ModelMatchTest, public ::testing::WithParamInterface<InfCase> {};

TEST_P(ModelMatchTable, DeletesOnlyFilesThatNameTheCamera) {
    sim::WriteFile(kInf, GetParam().content);
    sim::WriteFile(kPnf, "compiled");
    Examine(GetParam().product);
    EXPECT_EQ(!sim::Exists(kInf), GetParam().deleted);
    EXPECT_EQ(!sim::Exists(kPnf), GetParam().deleted);
    // Nothing is traced for a file that does not match.
    EXPECT_EQ(sim::DebugOutput().empty(), !GetParam().deleted);
}

const std::string kModels = "[Models]\r\n%Cam%=Install,USB\\VID_0982&PID_6211&MI_00\r\n";

INSTANTIATE_TEST_SUITE_P(
    Table, ModelMatchTable,
    ::testing::Values(
        InfCase{"Plain", "6211", "[Manufacturer]\r\n%Mfg%=Models\r\n" + kModels, true},
        InfCase{"NoManufacturerSection", "6211", kModels, false},
        InfCase{"EmptyManufacturerSection", "6211", "[Manufacturer]\r\n" + kModels, false},
        InfCase{"CommentedManufacturerEntry", "6211",
                "[Manufacturer]\r\n;%Mfg%=Models\r\n" + kModels, false},
        InfCase{"EntryWithoutEqualsIsPassedOver", "6211",
                "[Manufacturer]\r\nstray\r\n%Mfg%=Models\r\n" + kModels, true},
        InfCase{"DecoratedSectionName", "6211",
                "[Manufacturer]\r\n%Mfg%=Models,NTx86\r\n[Models,NTx86]\r\nx=USB\\VID_0982&"
                "PID_6211\r\n",
                true},
        InfCase{"MissingSectionEndsTheExamination", "6211",
                "[Manufacturer]\r\n%Mfg%=Models,NTx86\r\n%Mfg%=Models\r\n" + kModels, false},
        InfCase{"EmptyModelSectionEndsTheExamination", "6211",
                "[Manufacturer]\r\nA=Empty\r\nB=Models\r\n[Empty]\r\n" + kModels, false},
        InfCase{"SecondEqualsBelongsToTheName", "6211",
                "[Manufacturer]\r\na=b=c\r\n[b=c]\r\nx=usb\\vid_0982&pid_6211\r\n", true},
        InfCase{"HitOnlyInTheKey", "6211",
                "[Manufacturer]\r\nM=Models\r\n[Models]\r\nUSB\\VID_0982&PID_6211 = Install\r\n",
                true},
        InfCase{"CommentedModelEntry", "6211",
                "[Manufacturer]\r\nM=Models\r\n[Models]\r\n;x=USB\\VID_0982&PID_6211\r\n", false},
        InfCase{"CommentsBeforeTheHit", "6211",
                "[Manufacturer]\r\n; c\r\nM=Models\r\n[Models]\r\n; c\r\n" + kModels.substr(10),
                true},
        InfCase{"SubstringRuleMatchesALongerProduct", "6210",
                "[Manufacturer]\r\nM=Models\r\n[Models]\r\nx=USB\\VID_0982&PID_62101\r\n", true},
        InfCase{"OtherProductDoesNotMatch", "6210", "[Manufacturer]\r\nM=Models\r\n" + kModels,
                false},
        InfCase{"OtherVendorDoesNotMatch", "6211",
                "[Manufacturer]\r\nM=Models\r\n[Models]\r\nx=USB\\VID_0983&PID_6211\r\n", false},
        InfCase{"HitOnlyInTheSecondModelSection", "6211",
                "[Manufacturer]\r\nA=First\r\nB=Models\r\n[First]\r\nx=USB\\VID_0982&PID_6212\r\n"
                "y=USB\\VID_0982&PID_6213\r\n" +
                    kModels,
                true},
        InfCase{"NameLongerThan63IsPassedOver", "6211",
                "[Manufacturer]\r\nA=" + std::string(64, 'n') + "\r\nB=Models\r\n[" +
                    std::string(64, 'n') + "]\r\n" + kModels.substr(10) + kModels,
                true},
        InfCase{"NameOf63Fits", "6211",
                "[Manufacturer]\r\nA=" + std::string(63, 'n') + "\r\n[" + std::string(63, 'n') +
                    "]\r\n" + kModels.substr(10),
                true},
        InfCase{"OnlyWhatFitsTheManufacturerBufferIsRead", "6211",
                "[Manufacturer]\r\n" + std::string(1100, 'x') + "\r\nM=Models\r\n" + kModels,
                false},
        InfCase{"OnlyWhatFitsTheModelBufferIsRead", "6211",
                "[Manufacturer]\r\nM=Models\r\n[Models]\r\nfiller=" + std::string(1100, 'x') +
                    "\r\n" + kModels.substr(10),
                false}));

TEST_F(ModelMatchTest, ExactlyOnePairOfDeletionsPerFile) {
    sim::WriteFile(kInf, "[Manufacturer]\r\nA=Models\r\nB=Models\r\n[Models]\r\n"
                         "a=USB\\VID_0982&PID_6211\r\nb=USB\\VID_0982&PID_6211&MI_01\r\n");
    Examine("6211");
    EXPECT_EQ(CountCalls("DeleteFileA"), 1u); // the companion is absent: no deletion tried
    EXPECT_EQ(sim::DebugOutput(), (Texts{kInf, "c:\\windows\\inf\\oem3.pnf"}));
}

TEST_F(ModelMatchTest, CompanionPathEndsAfterPnf) {
    const char path[] = "C:\\D\\Drv.INF.old";
    sim::WriteFile(path, "[Manufacturer]\r\nM=Models\r\n" + kModels);
    sim::WriteFile("C:\\D\\drv.pnf", "");
    EXPECT_EQ(Examine("6211", path), "c:\\d\\drv.inf.old");
    EXPECT_EQ(sim::DebugOutput(), (Texts{path, "c:\\d\\drv.pnf"}));
    EXPECT_FALSE(sim::Exists("C:\\D\\drv.pnf"));
}

TEST_F(ModelMatchTest, PathWithoutInfHasNoCompanion) {
    const char path[] = "C:\\D\\driver.txt";
    sim::WriteFile(path, "[Manufacturer]\r\nM=Models\r\n" + kModels);
    Examine("6211", path);
    EXPECT_EQ(sim::DebugOutput(), Texts{path});
    EXPECT_FALSE(sim::Exists(path));
}

TEST_F(ModelMatchTest, PathIsLowerCasedOnlyOnAHit) {
    sim::WriteFile(kInf, "[Manufacturer]\r\nM=Models\r\n[Models]\r\nx=USB\\VID_0982&PID_6212\r\n");
    EXPECT_EQ(Examine("6211"), kInf);
}

TEST_F(ModelMatchTest, OverlongIdentifiersAreRefused) {
    sim::WriteFile(kInf, "[Manufacturer]\r\nM=Models\r\n" + kModels);
    char filePath[MAX_PATH] = "C:\\WINDOWS\\INF\\OEM3.INF";
    std::string product(91, '1'); // with vendor "0982", 95 + 9 bytes do not fit in 100
    RemoveInfIfModelMatches(product.c_str(), "0982", filePath);
    EXPECT_TRUE(sim::Exists(kInf));
    EXPECT_EQ(CountCalls("GetPrivateProfileSectionA"), 0u);
}

} // namespace
