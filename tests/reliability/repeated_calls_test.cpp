// The entry points may be called alone, in either order, any number of times: each call does
// its full work and leaves nothing open behind it.
#include <string>
#include <vector>

#include "hook/cleanup_plan.h"
#include "tests/reliability/populated_system.h"
#include "tests/sim_fixture.h"

namespace {

class RepeatedCallsTest : public SimulatedWindows {};

TEST_F(RepeatedCallsTest, OverAThousandCallsInEveryOrder) {
    // Every sequence of eight calls, each on a freshly laid-out machine: 256 x 8 calls.
    constexpr unsigned kLength = 8;
    unsigned calls = 0;
    for (unsigned sequence = 0; sequence < (1u << kLength); ++sequence) {
        sim::Reset();
        populated::Plant();
        unsigned initializeCalls = 0;
        for (unsigned step = 0; step < kLength; ++step, ++calls) {
            bool initialize = (sequence >> step) & 1u;
            initializeCalls += initialize;
            EXPECT_EQ(initialize ? UninstInitialize(calls, 0, ~calls)
                                 : UninstUnInitialize(~calls, calls, 0),
                      0);
            sim::Resources open = sim::OpenResources();
            ASSERT_EQ(open.openDeviceSets + open.openSearches + open.heapBlocks + open.badReleases,
                      0)
                << "sequence " << sequence << ", call " << step;
        }
        EXPECT_EQ(sim::Notices().size(), kLength - initializeCalls) << sequence;
        EXPECT_EQ(populated::BystandersIntact(), "") << sequence;
        for (const std::string &file : populated::CameraFiles())
            EXPECT_EQ(sim::Exists(file), initializeCalls == 0) << sequence << " " << file;
        EXPECT_EQ(sim::DeviceIds().size(),
                  populated::BystanderDevices().size() + (initializeCalls == 0 ? 3u : 0u))
            << sequence;
    }
    EXPECT_EQ(calls, 2048u);
}

} // namespace
