#include <QApplication>
#include <gtest/gtest.h>

#include "testsupport/TestEnvironment.h"

namespace {

// Every test starts from the state the program starts in, whatever test ran
// before it (the order is shuffled with --gtest_shuffle).
class ResetBeforeEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { corvane::test::resetServices(); }
};

}  // namespace

// Widgets need an application object; the services are replaced by
// scripted doubles before any test runs.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    corvane::test::installTestEnvironment();
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetBeforeEachTest);
    return RUN_ALL_TESTS();
}
