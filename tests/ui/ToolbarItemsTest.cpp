// The toolbar's item lists, their stored configuration and the recent files.
#include "ui/ToolbarItems.h"
#include "support/TemporaryFolder.h"
#include "ui/RecentFiles.h"
#include "ui/ToolbarConfiguration.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <fstream>

namespace velo {
namespace {

using Ids = std::vector<std::string>;
using namespace toolbar;

TEST(ToolbarItems, defaultAndAllowedSetsInOrder) {
    EXPECT_EQ(defaultItemIdentifiers(),
              (Ids{kToggleDrawer, kShowColors, kToggleImage, kFlexibleSpace, kCustomize}));
    EXPECT_EQ(allowedItemIdentifiers(),
              (Ids{kToggleDrawer, kToggleImage, kZoom, kBgColor, kInfluence, kSplit, kShowColors,
                   kCustomize, kPrint, kSeparator, kSpace, kFlexibleSpace}));
}

TEST(ToolbarItems, sanitizingDropsUnknownItemsAndRepeatsButKeepsSpacing) {
    Ids damaged{kZoom, "gone", kSeparator, kZoom, kSpace, kSeparator, "", kSpace, kPrint, kZoom};
    EXPECT_EQ(sanitizedItemIdentifiers(damaged),
              (Ids{kZoom, kSeparator, kSpace, kSeparator, kSpace, kPrint}));
    EXPECT_EQ(sanitizedItemIdentifiers(defaultItemIdentifiers()), defaultItemIdentifiers());
}

TEST(ToolbarItems, availableItemsLeaveOutThosePlacedExceptSpacing) {
    EXPECT_EQ(
        availableItemIdentifiers(defaultItemIdentifiers()),
        (Ids{kZoom, kBgColor, kInfluence, kSplit, kPrint, kSeparator, kSpace, kFlexibleSpace}));
    EXPECT_EQ(availableItemIdentifiers({}), allowedItemIdentifiers());
}

struct StoredSettings : ::testing::Test {
    test::TemporaryFolder folder;
    QSettings settings{QString::fromStdString((folder / "velo.ini").string()),
                       QSettings::IniFormat};
};

using ToolbarConfiguration = StoredSettings;

TEST_F(ToolbarConfiguration, defaultSetUntilSomethingUsableOrNothingIsSaved) {
    EXPECT_EQ(loadToolbarItemIdentifiers(settings), defaultItemIdentifiers());

    settings.setValue("toolbar/VeloDocument/items", QStringList{"gone", "older"});
    EXPECT_EQ(loadToolbarItemIdentifiers(settings), defaultItemIdentifiers());

    settings.setValue("toolbar/VeloDocument/items", QStringList{"print", "gone", "zoom", "print"});
    EXPECT_EQ(loadToolbarItemIdentifiers(settings), (Ids{kPrint, kZoom}));

    saveToolbarItemIdentifiers(settings, {kBgColor, kSpace, kToggleDrawer});
    settings.sync();
    QSettings reread(settings.fileName(), QSettings::IniFormat);
    EXPECT_EQ(loadToolbarItemIdentifiers(reread), (Ids{kBgColor, kSpace, kToggleDrawer}));

    // An emptied toolbar stays empty.
    saveToolbarItemIdentifiers(settings, {});
    settings.sync();
    QSettings emptied(settings.fileName(), QSettings::IniFormat);
    EXPECT_EQ(loadToolbarItemIdentifiers(emptied), Ids{});
}

using RecentFilesList = StoredSettings;

TEST_F(RecentFilesList, latestFirstOnceAtMostTenAndOnlyExistingFiles) {
    QStringList images;
    for (int n = 0; n < 12; ++n) {
        std::filesystem::path path = folder / ("image" + std::to_string(n) + ".png");
        std::ofstream(path) << "x";
        images << QString::fromStdString(path.string());
    }
    RecentFiles recent(settings);
    for (const QString& image : images) {
        recent.add(image);
    }
    recent.add(images[5]);
    QStringList files = recent.files();
    ASSERT_EQ(files.size(), RecentFiles::kMaximumCount);
    EXPECT_EQ(files.front(), images[5]);
    EXPECT_EQ(files.count(images[5]), 1);
    EXPECT_EQ(files[1], images[11]);
    EXPECT_FALSE(files.contains(images[1]));

    std::filesystem::remove(images[11].toStdString());
    files = RecentFiles(settings).files();
    EXPECT_EQ(files.size(), RecentFiles::kMaximumCount - 1);
    EXPECT_FALSE(files.contains(images[11]));

    recent.clear();
    EXPECT_TRUE(recent.files().isEmpty());
}

} // namespace
} // namespace velo
