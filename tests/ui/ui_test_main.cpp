#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// The window tests need a QApplication; without a display they run on the offscreen platform,
// whoever starts them.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
