// The view shows a photo in the screen's colours, converted from the profile
// its file carries, and the raw values once View ▸ Match Colors to Display is
// off, in every window and the next start.
#include "ui/WindowTestSupport.h"

#include "display/BitmapDisplay.h"
#include "display/ColorProfileFixtures.h"
#include "display/ScreenProfile.h"

#include <QAction>
#include <QColorSpace>
#include <QGuiApplication>
#include <xcb/xcb.h>

namespace velo {
namespace {

// The root window's _ICC_PROFILE, as a colour manager sets it, for as long as
// this lives.
class RootWindowProfile {
  public:
    RootWindowProfile(xcb_connection_t* connection, const IccProfile& profile)
        : connection_(connection),
          root_(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, 12, "_ICC_PROFILE"), nullptr);
        atom_ = reply->atom;
        std::free(reply);
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, root_, atom_, XCB_ATOM_CARDINAL, 8,
                            static_cast<std::uint32_t>(profile.size()), profile.data());
        xcb_flush(connection);
    }
    ~RootWindowProfile() {
        xcb_delete_property(connection_, root_, atom_);
        xcb_flush(connection_);
    }

  private:
    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_atom_t atom_ = XCB_ATOM_NONE;
};

class ColorManagedViewTest : public test::WindowTest {
  protected:
    // A corner of a colourful photo, tagged with `profile` or untagged.
    std::filesystem::path photo(const IccProfile* profile) {
        QImage image(QString::fromStdString(
            (test::corpusDir() / "tiff_rgb8_lzw_pred2_contig_plasma_Kite.tif").string()));
        image = image.copy(0, 0, 240, 160).convertToFormat(QImage::Format_RGB888);
        image.setColorSpace(QColorSpace());
        if (profile) {
            image.setColorSpace(QColorSpace::fromIccProfile(
                QByteArray(reinterpret_cast<const char*>(profile->data()),
                           static_cast<int>(profile->size()))));
        }
        std::filesystem::path path = folder / (profile ? "tagged.png" : "untagged.png");
        EXPECT_TRUE(image.save(QString::fromStdString(path.string())));
        return path;
    }

    // The shown bitmap's own values at the view's size.
    static QImage rawValues(DocumentMainWindow& window) {
        const Bitmap& shown = *window.imageView().bitmap();
        QImage raw = newDisplayImage(QSize(shown.pixelsWide(), shown.pixelsHigh()));
        drawRowsInto(raw, shown, 0, raw.height());
        return raw;
    }

    // What Little CMS makes of the raw values for the screen, from `from`
    // (null: sRGB).
    static QImage converted(const QImage& raw, const IccProfile* from) {
        std::shared_ptr<const IccProfile> screen = screenIccProfile();
        test::ReferenceConversion reference(from, screen.get());
        QImage expected = raw.copy();
        for (int y = 0; y < raw.height(); ++y) {
            for (int x = 0; x < raw.width(); ++x) {
                expected.setPixel(x, y, reference(raw.pixel(x, y)));
            }
        }
        return expected;
    }
};

TEST_F(ColorManagedViewTest, AWideGamutPhotoShowsInTheScreensColoursUntilMatchingIsOff) {
    VELO_REQUIRE_CORPUS();
    IccProfile wide = test::wideGamutProfile();
    if (wide.empty()) {
        GTEST_SKIP() << "icc-profiles-free is not installed";
    }
    std::filesystem::path path = photo(&wide);
    DocumentMainWindow* window = open(path);
    ASSERT_TRUE(window);
    ASSERT_TRUE(window->document().sourceBitmap()->iccProfile());
    ASSERT_EQ(*window->document().sourceBitmap()->iccProfile(), wide);
    const QImage& shown = window->imageView().display().image();
    QImage raw = rawValues(*window);
    ASSERT_EQ(shown.size(), raw.size()); // one image pixel per display pixel
    QImage expected = converted(raw, &wide);
    EXPECT_GT(test::largestDifference(raw, expected), 10);
    EXPECT_LE(test::largestDifference(shown, expected), 1);

    QAction* match = window->action("matchColors");
    ASSERT_TRUE(match && match->isChecked());
    match->trigger();
    EXPECT_EQ(window->imageView().display().image(), raw);
    // Kept for the next start.
    VeloApplication next(defaults, settings, 2);
    std::unique_ptr<DocumentMainWindow> later(next.openFile(QString::fromStdString(path.string())));
    ASSERT_TRUE(later);
    settle(later.get());
    later->updateActions();
    EXPECT_FALSE(later->action("matchColors")->isChecked());
    EXPECT_EQ(later->imageView().display().image(), raw);

    match->trigger();
    EXPECT_LE(test::largestDifference(window->imageView().display().image(), expected), 1);
    // Shown the original, the source converts the same way.
    window->action("toggleImage")->trigger();
    EXPECT_LE(test::largestDifference(window->imageView().display().image(),
                                      converted(rawValues(*window), &wide)),
              1);
}

TEST_F(ColorManagedViewTest, AnUntaggedPhotoShowsItsOwnValuesOnAnSrgbScreen) {
    VELO_REQUIRE_CORPUS();
    if (screenIccProfile()) {
        GTEST_SKIP() << "the screen has a profile of its own";
    }
    DocumentMainWindow* window = open(photo(nullptr));
    ASSERT_TRUE(window);
    EXPECT_EQ(window->imageView().display().image(), rawValues(*window));
}

TEST_F(ColorManagedViewTest, OnXTheProfileSetOnTheRootWindowIsTheScreens) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) {
        GTEST_SKIP() << "not on X11";
    }
    VELO_REQUIRE_CORPUS();
    IccProfile wide = test::wideGamutProfile();
    if (wide.empty()) {
        GTEST_SKIP() << "icc-profiles-free is not installed";
    }
    RootWindowProfile screen(x11->connection(), wide);
    std::shared_ptr<const IccProfile> read = screenIccProfile();
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, wide);
    DocumentMainWindow* window = open(photo(nullptr));
    ASSERT_TRUE(window);
    QImage raw = rawValues(*window);
    QImage expected = converted(raw, nullptr);
    EXPECT_GT(test::largestDifference(raw, expected), 10);
    EXPECT_LE(test::largestDifference(window->imageView().display().image(), expected), 1);
}

} // namespace
} // namespace velo
