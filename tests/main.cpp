#include <QApplication>
#include <gtest/gtest.h>

#include "testsupport/TestEnvironment.h"

// Widgets need an application object; the services are replaced by
// scripted doubles before any test runs.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    corvane::test::installTestEnvironment();
    return RUN_ALL_TESTS();
}
