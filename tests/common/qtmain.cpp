// The main of the GoogleTest programs that need widgets: one QApplication for
// the whole run. CTest runs them on the offscreen platform; run by hand they
// default to it as well.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
