// Every test starts on an empty simulated machine and ends with everything released.
#pragma once

#include <gtest/gtest.h>

#include "platform/sim/sim_control.h"

class SimulatedWindows : public ::testing::Test {
  protected:
    void SetUp() override { sim::Reset(); }
    void TearDown() override {
        sim::Resources open = sim::OpenResources();
        EXPECT_EQ(open.openDeviceSets, 0);
        EXPECT_EQ(open.openSearches, 0);
        EXPECT_EQ(open.heapBlocks, 0);
        EXPECT_EQ(open.badReleases, 0);
    }

    static size_t CountCalls(const std::string &function) {
        size_t count = 0;
        for (const sim::Call &call : sim::Calls())
            count += call.function == function;
        return count;
    }
};
