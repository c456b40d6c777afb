#include "query/QueryFunctions.h"
#include "store/Store.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    srk::Store::addConnectionHook(&srk::registerQueryFunctions);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
