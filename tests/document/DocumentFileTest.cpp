#include "document/DocumentSupport.h"
#include "document/FileTypes.h"
#include "platform/Archiver.h"
#include "platform/SettingsUserDefaults.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <random>

namespace velo {
namespace {

namespace fs = std::filesystem;

std::vector<PropertyValue> pListsOf(const VeloDocument::Adjustments& list) {
    std::vector<PropertyValue> out;
    for (const auto& a : list) {
        out.push_back(a->pList());
    }
    return out;
}

std::vector<std::uint8_t> pixelsOf(const Bitmap& b) {
    return {b.plane(0), b.plane(0) + b.bytesPerPlane()};
}

PropertyValue::Data archiveOf(VeloDocument& document) {
    EncodedData data = document.dataRepresentationOfType(kVeloDocumentType);
    EXPECT_TRUE(data.data) << data.error;
    return data.data.value_or(PropertyValue::Data{});
}

PropertyValue rootOf(const PropertyValue::Data& bytes) {
    return *unarchiveObjectWithData(bytes).value;
}

PropertyValue::Data withRoot(PropertyValue::Dictionary root) {
    return archivedDataWithRootObject(PropertyValue(std::move(root)));
}

TEST(DocumentFile, RoundTripsEverythingBitForBit) {
    VeloDocument original(nullptr, 2);
    original.setSourceImage(test::randomImage(23, 17, 4, 8));
    const auto& all = original.colorAdjustments();
    all[0]->setTargetColor(Color::colorWithCalibratedRed(0.1234567f, 0.7f, 1e-7f, 0.5f));
    all[0]->setColorModel(ColorModel::OKLab);
    all[0]->setReach(Reach::range(0.3f, 0.08f, 0.12f));
    all[2]->setUsesHSB(true);
    all[2]->setComponentsMask(6);
    all[1]->setColorModel(ColorModel::OKLab);
    all[1]->setReach(Reach::ball(0.2f));
    original.setBackgroundColor(Color::colorWithCalibratedWhite(0.5f, 1));
    original.toggleImageAlpha();
    // A, B, C with B switched off (as the table does): the file lists A, C then B.
    PropertyValue::Dictionary root = *rootOf(archiveOf(original)).asDictionary();
    PropertyValue::Array active = *root["activeColorAdjustments"].asArray();
    root["activeColorAdjustments"] = PropertyValue::Array{active[0], active[2]};
    root["inactiveColorAdjustments"] = PropertyValue::Array{active[1]};

    VeloDocument first(nullptr, 1);
    ASSERT_TRUE(first.loadDataRepresentation(withRoot(root), kVeloDocumentType).ok);
    EXPECT_EQ(pListsOf(first.activeColorAdjustments()),
              (std::vector<PropertyValue>{all[0]->pList(), all[2]->pList()}));
    EXPECT_EQ(pListsOf(first.colorAdjustments()),
              (std::vector<PropertyValue>{all[0]->pList(), all[2]->pList(), all[1]->pList()}));

    test::TemporaryFolder folder;
    ASSERT_FALSE(first.writeToFile(folder / "a.velo", kVeloDocumentType));
    VeloDocument second(nullptr, 1);
    VeloDocument::LoadResult loaded = second.readFromFile(folder / "a.velo", kVeloDocumentType);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(pListsOf(second.activeColorAdjustments()), pListsOf(first.activeColorAdjustments()));
    EXPECT_EQ(pListsOf(second.colorAdjustments()), pListsOf(first.colorAdjustments()));
    EXPECT_EQ(pixelsOf(*second.sourceBitmap()), pixelsOf(*original.sourceBitmap()));
    EXPECT_EQ(second.sourceBitmap()->samplesPerPixel(), 4);
    EXPECT_TRUE(second.destinationBitmap()->hasAlpha() != original.sourceBitmap()->hasAlpha());
    EXPECT_TRUE(second.backgroundColor()->isEqual(*Color::colorWithCalibratedWhite(0.5f, 1)));
    second.finishSetUp();
    EXPECT_EQ(test::resultOf(second), test::referenceResult(second));
}

TEST(DocumentFile, EveryLayoutOfTheSourceSurvivesAtEitherDepth) {
    for (int bits : {8, 16}) {
        for (int samples = 1; samples <= 4; ++samples) {
            VeloDocument document(nullptr, 1);
            document.setSourceImage(test::randomImage(9, 7, samples, samples, bits));
            VeloDocument back(nullptr, 1);
            ASSERT_TRUE(back.loadDataRepresentation(archiveOf(document), kVeloDocumentType).ok);
            EXPECT_EQ(back.sourceBitmap()->samplesPerPixel(), samples);
            EXPECT_EQ(back.sourceBitmap()->bitsPerSample(), bits);
            EXPECT_EQ(pixelsOf(*back.sourceBitmap()), pixelsOf(*document.sourceBitmap()));
            back.finishSetUp();
            EXPECT_EQ(test::resultOf(back), test::referenceResult(back));
        }
    }
}

TEST(DocumentFile, AnEmptyDocumentWritesEmptyListsAndNoImage) {
    VeloDocument empty(nullptr, 1);
    for (auto adjustment : VeloDocument::Adjustments(empty.colorAdjustments())) {
        empty.deleteColorAdjustment(adjustment);
    }
    PropertyValue root = rootOf(archiveOf(empty));
    EXPECT_EQ(*root.find("activeColorAdjustments"), PropertyValue(PropertyValue::Array{}));
    EXPECT_EQ(*root.find("version"), PropertyValue("1"));
    EXPECT_FALSE(root.find("sourceImage"));
    EXPECT_FALSE(root.find("backgroundColor"));

    VeloDocument back(nullptr, 1);
    ASSERT_TRUE(back.loadDataRepresentation(archiveOf(empty), kVeloDocumentType).ok);
    EXPECT_TRUE(back.colorAdjustments().empty());
    EXPECT_FALSE(back.sourceImage());
}

TEST(DocumentFile, AlphaFollowsColorSpaceThenHasAlpha) {
    VeloDocument withImage(nullptr, 1);
    withImage.setSourceImage(test::randomImage(4, 4, 3));
    PropertyValue::Dictionary root = *rootOf(archiveOf(withImage)).asDictionary();
    root.erase("hasAlpha");
    auto alphaAfter = [&](PropertyValue::Dictionary changes) {
        PropertyValue::Dictionary file = root;
        for (auto& [key, value] : changes) {
            file[key] = value;
        }
        VeloDocument document(nullptr, 1);
        EXPECT_TRUE(document.loadDataRepresentation(withRoot(file), kVeloDocumentType).ok);
        return document.destinationBitmap()->hasAlpha();
    };
    EXPECT_FALSE(alphaAfter({{"colorSpace", 3}, {"hasAlpha", false}}));
    EXPECT_FALSE(alphaAfter({{"colorSpace", 2}}));
    EXPECT_TRUE(alphaAfter({{"colorSpace", 1}}));
    EXPECT_TRUE(alphaAfter({{"hasAlpha", true}, {"version", "7"}}));

    // No image: no alpha change, and the document keeps what it had.
    VeloDocument noImage(nullptr, 1);
    EXPECT_TRUE(noImage
                    .loadDataRepresentation(withRoot({{"hasAlpha", true}, {"colorSpace", 1}}),
                                            kVeloDocumentType)
                    .ok);
    EXPECT_FALSE(noImage.destinationBitmap());
    EXPECT_TRUE(noImage.colorAdjustments().empty());
}

TEST(DocumentFile, MalformedDocumentsFailAndChangeNothing) {
    VeloDocument source(nullptr, 1);
    source.setSourceImage(test::randomImage(6, 5, 3));
    PropertyValue::Data good = archiveOf(source);
    PropertyValue::Dictionary root = *rootOf(good).asDictionary();

    std::vector<PropertyValue::Data> bad;
    for (std::size_t length : {std::size_t{0}, std::size_t{2}, good.size() / 3, good.size() - 1}) {
        bad.emplace_back(good.begin(), good.begin() + length);
    }
    const PropertyValue wrongKinds[] = {"text", 3, PropertyValue::Array{"x"},
                                        PropertyValue::Data{1, 2}, PropertyValue::Dictionary{}};
    for (const char* key : {"version", "activeColorAdjustments", "inactiveColorAdjustments",
                            "sourceImage", "hasAlpha", "backgroundColor", "colorSpace"}) {
        for (const PropertyValue& wrong : wrongKinds) {
            PropertyValue::Dictionary file = root;
            file[key] = wrong;
            bool acceptable =
                (std::string(key) == "version" && wrong.asString()) ||
                ((std::string(key) == "hasAlpha" || std::string(key) == "colorSpace") &&
                 wrong.asInteger());
            if (!acceptable) {
                bad.push_back(withRoot(file));
            }
        }
    }
    PropertyValue::Dictionary badAdjustment = *source.colorAdjustments()[0]->pList().asDictionary();
    badAdjustment["componentsMask"] = "fifteen";
    PropertyValue::Dictionary file = root;
    file["activeColorAdjustments"] = PropertyValue::Array{PropertyValue(badAdjustment)};
    bad.push_back(withRoot(file));
    bad.push_back(archivedDataWithRootObject(PropertyValue::Array{}));

    std::mt19937 random(5);
    for (int i = 0; i < 200; ++i) {
        PropertyValue::Data flipped = good;
        flipped[random() % flipped.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        bad.push_back(flipped);
    }

    auto image = test::randomImage(3, 3, 4);
    int refused = 0;
    for (const auto& bytes : bad) {
        VeloDocument target(nullptr, 1);
        target.setSourceImage(image);
        auto adjustments = target.colorAdjustments();
        VeloDocument::LoadResult result = target.loadDataRepresentation(bytes, kVeloDocumentType);
        if (result.ok) {
            continue; // a flip may land on pixel data or a colour's low bits
        }
        ++refused;
        EXPECT_FALSE(result.error.empty());
        EXPECT_TRUE(target.sourceImage() == image);
        EXPECT_TRUE(target.colorAdjustments() == adjustments);
    }
    EXPECT_GT(refused, 60);
}

TEST(DocumentFile, ImageFilesOpenAsImagesAndBadOnesFail) {
    VeloDocument source(nullptr, 1);
    source.setSourceImage(test::randomImage(5, 4, 3));
    EncodedData png = source.dataRepresentationOfType("png");
    ASSERT_TRUE(png.data);
    VeloDocument document(nullptr, 1);
    EXPECT_TRUE(document.loadDataRepresentation(*png.data, "png").ok);
    EXPECT_EQ(pixelsOf(*document.sourceBitmap()), pixelsOf(*source.sourceBitmap()));
    VeloDocument::LoadResult garbage =
        document.loadDataRepresentation(PropertyValue::Data(50, 7), "public.image");
    EXPECT_FALSE(garbage.ok);
    EXPECT_EQ(pixelsOf(*document.sourceBitmap()), pixelsOf(*source.sourceBitmap()));
}

TEST(DocumentFile, DefaultsHoldTheActiveAdjustmentsOnly) {
    test::TemporaryFolder folder;
    SettingsUserDefaults defaults(folder.path());
    VeloDocument document(nullptr, 1);
    document.colorAdjustments()[2]->setUsesHSB(true);
    document.saveColorAdjustmentsAsDefault(defaults);
    VeloDocument fresh(&defaults, 1);
    EXPECT_EQ(pListsOf(fresh.colorAdjustments()), pListsOf(document.activeColorAdjustments()));

    for (auto adjustment : VeloDocument::Adjustments(document.colorAdjustments())) {
        document.deleteColorAdjustment(adjustment);
    }
    document.saveColorAdjustmentsAsDefault(defaults);
    EXPECT_TRUE(VeloDocument(&defaults, 1).colorAdjustments().empty());
    defaults.removeObjectForKey("activeColorAdjustments");
    EXPECT_EQ(VeloDocument(&defaults, 1).colorAdjustments().size(), 5u);
}

// Another program may change or remove the file while the document is open.
TEST(DocumentFile, ChangesOnDiskOfferRevertAndRemovalCountsAsUnsaved) {
    test::TemporaryFolder folder;
    fs::path path = folder / "a.velo";
    VeloDocument other(nullptr, 1);
    other.setSourceImage(test::randomImage(5, 4, 3));
    ASSERT_FALSE(other.writeToFile(path, kVeloDocumentType));
    VeloDocument document(nullptr, 1);
    ASSERT_TRUE(document.readFromFile(path, kVeloDocumentType).ok);
    document.setFileName(path.string());
    document.finishSetUp();
    EXPECT_FALSE(document.fileChangedOnDisk());
    EXPECT_FALSE(document.validateUserInterfaceItem(Command::Revert));

    other.colorAdjustments()[0]->setUsesHSB(true);
    other.setSourceImage(test::randomImage(6, 4, 3));
    ASSERT_FALSE(other.writeToFile(path, kVeloDocumentType));
    EXPECT_TRUE(document.fileChangedOnDisk());
    EXPECT_TRUE(document.validateUserInterfaceItem(Command::Revert)) << "the new content";
    document.markUnchanged();
    EXPECT_FALSE(document.fileChangedOnDisk()) << "saved or reverted";

    fs::remove(path);
    EXPECT_TRUE(document.fileChangedOnDisk());
    EXPECT_FALSE(document.validateUserInterfaceItem(Command::Revert)) << "nothing to revert to";
    EXPECT_FALSE(document.isDocumentEdited());
    document.markEdited();
    EXPECT_TRUE(document.isDocumentEdited());
    document.undoManager()->undo();
    EXPECT_TRUE(document.isDocumentEdited()) << "no history makes it saved";
}

} // namespace
} // namespace velo
