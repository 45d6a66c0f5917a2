#include <QCoreApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// Qt's SQL drivers and codecs want an application object.
int main(int argc, char **argv)
{
    // Native settings of tests go to a test folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
