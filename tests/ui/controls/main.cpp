// Widget tests need a QApplication for their whole run.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Without a display the tests still run, also while CTest lists them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
