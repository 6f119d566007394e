#include <QCoreApplication>
#include <gtest/gtest.h>

#include "testsupport/ServiceDoubles.h"

namespace {

// Every test starts from the state the program starts in, whatever test ran
// before it (the order is shuffled with --gtest_shuffle).
class ResetBeforeEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { corvane::test::resetServices(); }
};

}  // namespace

// The tests of stores and rules run without a widget: a core application
// and the scripted services are all they get.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    corvane::test::installServiceDoubles();
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetBeforeEachTest);
    return RUN_ALL_TESTS();
}
