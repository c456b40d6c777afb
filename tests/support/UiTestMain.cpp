#include "query/QueryFunctions.h"
#include "store/Store.h"

#include <QApplication>
#include <gtest/gtest.h>

// Widget tests run offscreen unless told otherwise.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    srk::Store::addConnectionHook(&srk::registerQueryFunctions);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
