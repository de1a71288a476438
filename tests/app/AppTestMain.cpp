// The tests' entry: a QApplication set up as the program's, except while tests are only listed.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>

#include "app/Application.h"

int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i) listing |= std::strcmp(argv[i], "--gtest_list_tests") == 0;
    ::testing::InitGoogleTest(&argc, argv);
    if (listing) return RUN_ALL_TESTS();
    QApplication application(argc, argv);
    SetUpApplication(application);
    return RUN_ALL_TESTS();
}
