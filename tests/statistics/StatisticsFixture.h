#pragma once
// The statistics fixture with the windows it opens closed after each test.

#include "app/MainWindowHooks.h"
#include "testsupport/TestEnvironment.h"
#include "tests/statistics/core/StatisticsData.h"

namespace corvane::test {

class StatisticsTest : public StatisticsDataTest {
protected:
    void TearDown() override
    {
        FormRegistry::instance().unloadAll();
        mainWindowHooks() = MainWindowHooks();
        StatisticsDataTest::TearDown();
    }
};

}  // namespace corvane::test
