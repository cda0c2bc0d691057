#include "platform/Archiver.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>

namespace velo {
namespace {

PropertyValue sampleTree() {
    return PropertyValue::Dictionary{
        {"version", 1},
        {"name", "Velo"},
        {"ratio", 0.96},
        {"flag", true},
        {"none", nullptr},
        {"bytes", PropertyValue::Data{0, 1, 2, 255}},
        {"list",
         PropertyValue::Array{1, "two", PropertyValue::Array{}, PropertyValue::Dictionary{}}},
    };
}

TEST(Archiver, ValueTreesRoundTripBehindTheMagicTag) {
    PropertyValue::Data bytes = archivedDataWithRootObject(sampleTree());
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(bytes[0], 0xd9);
    EXPECT_EQ(bytes[1], 0xd9);
    EXPECT_EQ(bytes[2], 0xf7);
    Unarchived back = unarchiveObjectWithData(bytes);
    ASSERT_TRUE(back.value) << back.error;
    EXPECT_EQ(*back.value, sampleTree());
}

TEST(Archiver, ColoursRoundTripBitForBit) {
    for (ColorRef color : {Color::colorWithCalibratedRed(0.1f, 1e-30f, -0.0f, 0.3333333f),
                           Color::clearColor(), Color::colorWithColorSpace("Mystery", {0.5f})}) {
        UnarchivedColor back = unarchiveColor(archivedColor(color));
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_TRUE(back.color->isEqual(*color));
    }
    UnarchivedColor none = unarchiveColor(archivedColor(nullptr));
    EXPECT_TRUE(none.ok);
    EXPECT_FALSE(none.color);
}

TEST(Archiver, RefusesMalformedColours) {
    auto colourArchive = [](PropertyValue space, PropertyValue components) {
        return archivedDataWithRootObject(
            PropertyValue::Dictionary{{"space", space}, {"components", components}});
    };
    const PropertyValue::Data bad[] = {
        colourArchive(kCalibratedRGBColorSpace, PropertyValue::Array{1.0, 0.0, 0.0}),
        colourArchive(kCalibratedWhiteColorSpace, PropertyValue::Array{1.0, 0.0, 0.0, 1.0}),
        colourArchive(kCalibratedRGBColorSpace, PropertyValue::Array{1.0, "0", 0.0, 1.0}),
        colourArchive(kCalibratedRGBColorSpace, PropertyValue::Array{1.0, 0.1, 0.0, 1.0}),
        colourArchive(kCalibratedRGBColorSpace, PropertyValue::Array{1e300, 0.0, 0.0, 1.0}),
        colourArchive(7, PropertyValue::Array{1.0, 0.0}),
        colourArchive(kCalibratedRGBColorSpace, "components"),
        archivedDataWithRootObject(PropertyValue::Array{}),
        archivedDataWithRootObject("red"),
    };
    for (const auto& bytes : bad) {
        UnarchivedColor result = unarchiveColor(bytes);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.empty());
    }
}

TEST(Archiver, RefusesTruncationTrailingBytesAndLies) {
    PropertyValue::Data good = archivedDataWithRootObject(sampleTree());
    for (std::size_t length = 0; length < good.size(); ++length) {
        PropertyValue::Data cut(good.begin(), good.begin() + length);
        EXPECT_FALSE(unarchiveObjectWithData(cut).value) << "length " << length;
    }
    PropertyValue::Data trailing = good;
    trailing.push_back(0);
    EXPECT_FALSE(unarchiveObjectWithData(trailing).value);

    // An array claiming 2^32 elements, and a byte string claiming 2^32 bytes.
    PropertyValue::Data hugeArray = {0xd9, 0xd9, 0xf7, 0x9a, 0xff, 0xff, 0xff, 0xff, 0x01};
    PropertyValue::Data hugeBytes = {0xd9, 0xd9, 0xf7, 0x5a, 0xff, 0xff, 0xff, 0xff, 0x01};
    EXPECT_FALSE(unarchiveObjectWithData(hugeArray).value);
    EXPECT_FALSE(unarchiveObjectWithData(hugeBytes).value);
    // Without the magic tag, even valid CBOR is not an archive.
    EXPECT_FALSE(unarchiveObjectWithData(PropertyValue::Data{0x01}).value);
}

TEST(Archiver, RefusesNestingDeeperThanTheLimit) {
    auto nested = [](int depth) {
        PropertyValue::Data bytes = {0xd9, 0xd9, 0xf7};
        bytes.insert(bytes.end(), depth, 0x81); // arrays of one element
        bytes.push_back(0x00);
        return bytes;
    };
    EXPECT_TRUE(unarchiveObjectWithData(nested(kMaxArchiveDepth)).value);
    EXPECT_FALSE(unarchiveObjectWithData(nested(kMaxArchiveDepth + 1)).value);
    EXPECT_FALSE(unarchiveObjectWithData(nested(100000)).value);

    // Byte strings of indefinite length nested in each other: the fuzzer's
    // find, which overflowed the stack of a recursive decoder.
    PropertyValue::Data chunks = {0xd9, 0xd9, 0xf7};
    chunks.insert(chunks.end(), 200000, 0x5f);
    EXPECT_FALSE(unarchiveObjectWithData(chunks).value);
}

TEST(Archiver, SurvivesRandomlyMutatedArchives) {
    PropertyValue tree = sampleTree();
    PropertyValue::Dictionary withColours = *tree.asDictionary();
    withColours["colour"] = archivedColor(Color::redColor());
    PropertyValue::Data good = archivedDataWithRootObject(PropertyValue(withColours));
    std::mt19937 random(1234);
    int refused = 0;
    for (int round = 0; round < 500; ++round) {
        PropertyValue::Data mutated = good;
        int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            std::size_t at = random() % mutated.size();
            switch (random() % 3) {
            case 0:
                mutated[at] = static_cast<std::uint8_t>(random());
                break;
            case 1:
                mutated.erase(mutated.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            default:
                mutated.insert(mutated.begin() + static_cast<std::ptrdiff_t>(at),
                               static_cast<std::uint8_t>(random()));
            }
        }
        Unarchived result = unarchiveObjectWithData(mutated);
        if (!result.value) {
            ++refused;
            EXPECT_FALSE(result.error.empty());
        }
        unarchiveColor(mutated);
    }
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace velo
