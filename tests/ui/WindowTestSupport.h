#pragma once

#include "platform/SettingsUserDefaults.h"
#include "support/Corpus.h"
#include "support/TemporaryFolder.h"
#include "ui/BitmapView.h"
#include "ui/DocumentMainWindow.h"
#include "ui/VeloApplication.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

namespace velo::test {

// A whole application with its settings in a folder of the test's own.
class WindowTest : public ::testing::Test {
  protected:
    WindowTest()
        : defaults(folder.path()),
          settings(QString::fromStdString((folder / "ui.conf").string()), QSettings::IniFormat),
          application(defaults, settings, 2) {}
    ~WindowTest() override {
        for (DocumentMainWindow* window : application.windows()) {
            window->document().markUnchanged();
            delete window;
        }
    }

    DocumentMainWindow* open(const std::filesystem::path& path) {
        DocumentMainWindow* window = application.openFile(QString::fromStdString(path.string()));
        if (window) {
            settle(window);
        }
        return window;
    }

    // Shown, laid out and with the first result complete.
    static void settle(DocumentMainWindow* window) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        window->document().waitUntilComplete();
        QApplication::processEvents();
        window->imageView().refreshFinishedStripes();
        QApplication::processEvents();
    }

    // Writes a picture for a person to look at.
    // VELO_SCREENSHOT_SUFFIX tells runs apart (a scale factor, a language).
    static void screenshot(QWidget& widget, const QString& name) {
        QDir().mkpath(VELO_SCREENSHOT_DIR);
        QString suffix = qEnvironmentVariable("VELO_SCREENSHOT_SUFFIX");
        widget.grab().save(QDir(VELO_SCREENSHOT_DIR).filePath(name + suffix + ".png"));
    }

    TemporaryFolder folder;
    SettingsUserDefaults defaults;
    QSettings settings;
    VeloApplication application;
};

} // namespace velo::test
