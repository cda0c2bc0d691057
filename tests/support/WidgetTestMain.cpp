#include <QApplication>

#include <cstdlib>
#include <gtest/gtest.h>

// Widget tests run on Qt's offscreen platform unless a display is chosen.
int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName("VeloTest");
    QApplication::setApplicationName("VeloTest");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
