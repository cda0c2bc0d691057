// The window in the desktop's dark palette.
#include "ui/WindowTestSupport.h"

#include "ui/ThemedIcon.h"
#include "ui/ToolbarItems.h"

#include <QAction>
#include <QToolButton>

namespace velo {
namespace {

QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::AlternateBase, QColor(50, 50, 54));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(55, 55, 58));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(60, 110, 224));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

// How many opaque pixels of the icon have about this colour.
int pixelsNear(const QIcon& icon, const QColor& colour) {
    QImage image = icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QColor pixel = image.pixelColor(x, y);
            count += pixel.alpha() > 200 && std::abs(pixel.red() - colour.red()) < 20 &&
                     std::abs(pixel.green() - colour.green()) < 20 &&
                     std::abs(pixel.blue() - colour.blue()) < 20;
        }
    }
    return count;
}

// Outlines that read on a light window must read on a dark one: the
// toolbar's artwork takes the palette's text colour, and changes with it.
class DarkTheme : public test::WindowTest {};

TEST_F(DarkTheme, ToolbarIconsReadOnADarkThemeAsOnALightOne) {
    QImage image(90, 60, QImage::Format_RGB32);
    image.fill(QColor(200, 120, 40));
    image.save(QString::fromStdString((folder / "photo.png").string()));
    DocumentMainWindow* window = open(folder / "photo.png");
    ASSERT_TRUE(window);
    auto drawerIcon = [&] {
        for (QToolButton* button : window->findChildren<QToolButton*>()) {
            QAction* action = button->defaultAction();
            if (action && action->objectName() == toolbar::kToggleDrawer) {
                return action->icon();
            }
        }
        return QIcon();
    };
    QPalette light = QApplication::palette();
    QColor lightText = light.color(QPalette::WindowText);
    QColor slate(kOutline);
    EXPECT_GT(pixelsNear(drawerIcon(), lightText), 15);
    EXPECT_GT(pixelsNear(QIcon(":/images/showdrawer.svg"), slate), 15);

    QApplication::setPalette(darkPalette());
    QApplication::processEvents();
    QColor darkText = darkPalette().color(QPalette::WindowText);
    EXPECT_GT(pixelsNear(drawerIcon(), darkText), 15) << "the outlines follow the palette";
    // No dark outline is left to vanish on the dark window.
    EXPECT_LT(pixelsNear(drawerIcon(), slate), 3);
    screenshot(*window, "window-dark");
    QApplication::setPalette(light);
}

} // namespace
} // namespace velo
