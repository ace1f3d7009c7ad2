// The model's test program: no widgets exist in it, so a core application is enough, and
// linking it proves that the model needs no Qt Widgets.

#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
