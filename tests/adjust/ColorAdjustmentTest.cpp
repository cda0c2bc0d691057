#include "adjust/ColorAdjustment.h"
#include "platform/Archiver.h"
#include "support/Bits.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velo {
namespace {

struct Undoable : ::testing::Test {
    std::shared_ptr<UndoManager> undo = std::make_shared<UndoManager>();
    std::shared_ptr<ColorAdjustment> record = std::make_shared<ColorAdjustment>();

    void SetUp() override { record->setUndoManager(undo); }
    // Closes the user step, as the front end does after each event.
    void step() { undo->endEvent(); }
};

TEST(ColorAdjustment, StartsWithAllComponentsInRgbAndNoColours) {
    ColorAdjustment fresh;
    EXPECT_EQ(fresh.componentsMask(), 15);
    EXPECT_FALSE(fresh.usesHSB());
    EXPECT_FALSE(fresh.sourceColor());
    EXPECT_FALSE(fresh.targetColor());
    EXPECT_SAME_RGBA(fresh.sourceRGBA(), 0, 0, 0, 0);
    EXPECT_SAME_HSBA(fresh.targetHSBA(), 0, 0, 0, 0);
    EXPECT_FALSE(fresh.undoManager());
}

TEST_F(Undoable, SourceColourAlsoSetsAMissingTargetInOneStep) {
    ColorRef yellow = Color::colorWithCalibratedRed(1, 1, 0, 1);
    record->setSourceColor(yellow);
    step();
    EXPECT_TRUE(record->targetColor()->isEqual(*yellow));
    EXPECT_SAME_HSBA(record->sourceHSBA(), 1.0f / 6.0f, 1, 1, 1);
    EXPECT_EQ(undo->undoActionName(), "Change color");

    undo->undo();
    EXPECT_FALSE(record->sourceColor());
    EXPECT_FALSE(record->targetColor());
    EXPECT_SAME_RGBA(record->targetRGBA(), 0, 0, 0, 0);
    EXPECT_FALSE(undo->canUndo());

    undo->redo();
    EXPECT_TRUE(record->sourceColor()->isEqual(*yellow));
    EXPECT_TRUE(record->targetColor()->isEqual(*yellow));
}

TEST_F(Undoable, EverySetterUndoesAndRedoesUnderItsName) {
    record->setSourceColor(Color::redColor());
    step();
    record->setTargetColor(Color::blueColor());
    step();
    EXPECT_EQ(undo->undoActionName(), "Change color");
    record->setUsesHSB(true);
    step();
    EXPECT_EQ(undo->undoActionName(), "Change color space");
    record->setComponentsMask(6);
    step();
    EXPECT_EQ(undo->undoActionName(), "Component on/off");

    undo->undo();
    EXPECT_EQ(record->componentsMask(), 15);
    undo->undo();
    EXPECT_FALSE(record->usesHSB());
    undo->undo();
    EXPECT_TRUE(record->targetColor()->isEqual(*Color::redColor()));
    EXPECT_SAME_RGBA(record->targetRGBA(), 1, 0, 0, 1);
    undo->redo();
    undo->redo();
    undo->redo();
    EXPECT_TRUE(record->targetColor()->isEqual(*Color::blueColor()));
    EXPECT_TRUE(record->usesHSB());
    EXPECT_EQ(record->componentsMask(), 6);
}

TEST_F(Undoable, UnchangedValuesRegisterNothing) {
    record->setSourceColor(Color::colorWithCalibratedRed(0.2f, 0.4f, 0.6f, 1));
    step();
    undo->removeAllActions();
    record->setSourceColor(Color::colorWithCalibratedRed(0.2f, 0.4f, 0.6f, 1));
    record->setTargetColor(Color::colorWithCalibratedRed(0.2f, 0.4f, 0.6f, 1));
    record->setUsesHSB(false);
    record->setComponentsMask(15);
    EXPECT_FALSE(undo->canUndo());
}

TEST(ColorAdjustment, WithoutUndoManagerSettersStillChange) {
    ColorAdjustment record;
    record.setSourceColor(Color::greenColor());
    record.setUsesHSB(true);
    record.setComponentsMask(3);
    EXPECT_TRUE(record.sourceColor()->isEqual(*Color::greenColor()));
    EXPECT_TRUE(record.usesHSB());
    EXPECT_EQ(record.componentsMask(), 3);
}

TEST(ColorAdjustment, ColoursWithoutRgbFormCacheZero) {
    ColorAdjustment record;
    record.setSourceColor(Color::colorWithColorSpace("NSPatternColorSpace", {0.3f}));
    EXPECT_TRUE(record.sourceColor());
    EXPECT_SAME_RGBA(record.sourceRGBA(), 0, 0, 0, 0);
    EXPECT_SAME_HSBA(record.sourceHSBA(), 0, 0, 0, 0);
    // White converts to calibrated RGB as (w, w, w, a).
    record.setTargetColor(Color::colorWithCalibratedWhite(0.25f, 0.5f));
    EXPECT_SAME_RGBA(record.targetRGBA(), 0.25f, 0.25f, 0.25f, 0.5f);
}

TEST(ColorAdjustment, CopiesAreEqualAndIndependent) {
    auto undo = std::make_shared<UndoManager>();
    auto record = std::make_shared<ColorAdjustment>();
    record->setSourceColor(Color::colorWithCalibratedRed(0.1f, 0.7f, 0.3f, 0.9f));
    record->setTargetColor(Color::colorWithCalibratedWhite(0.6f, 1));
    record->setUsesHSB(true);
    record->setComponentsMask(6);
    record->setUndoManager(undo);

    auto copy = record->copy();
    EXPECT_FALSE(copy->undoManager());
    EXPECT_TRUE(copy->usesHSB());
    EXPECT_EQ(copy->componentsMask(), 6);
    EXPECT_TRUE(copy->sourceColor()->isEqual(*record->sourceColor()));
    EXPECT_TRUE(copy->targetColor()->isEqual(*record->targetColor()));
    EXPECT_EQ(test::bits(copy->sourceHSBA().h), test::bits(record->sourceHSBA().h));

    record->setSourceColor(Color::blueColor());
    record->setUsesHSB(false);
    EXPECT_TRUE(copy->usesHSB());
    EXPECT_FALSE(copy->sourceColor()->isEqual(*Color::blueColor()));
}

TEST(AdjustmentDictionary, RoundTripsThroughPListAndTheArchiver) {
    ColorAdjustment record;
    record.setSourceColor(Color::colorWithCalibratedRed(0.123f, 1e-8f, 0.999f, 0.5f));
    record.setTargetColor(Color::colorWithDeviceRed(0.3f, 0.2f, 0.1f, 1));
    record.setUsesHSB(true);
    record.setComponentsMask(9);

    Unarchived archived = unarchiveObjectWithData(archivedDataWithRootObject(record.pList()));
    ASSERT_TRUE(archived.value) << archived.error;
    ColorAdjustment back(&*archived.value);
    EXPECT_TRUE(back.sourceColor()->isEqual(*record.sourceColor()));
    EXPECT_TRUE(back.targetColor()->isEqual(*record.targetColor()));
    EXPECT_TRUE(back.usesHSB());
    EXPECT_EQ(back.componentsMask(), 9);
    EXPECT_EQ(back.pList(), record.pList());
}

TEST(AdjustmentDictionary, MissingKeysKeepTheDefaults) {
    ColorAdjustment empty;
    PropertyValue plist = empty.pList();
    EXPECT_TRUE(unarchiveColor(*plist.find("sourceColorData")->asData()).ok);
    EXPECT_EQ(*plist.find("componentsMask"), PropertyValue(15));
    EXPECT_EQ(*plist.find("colorSpace"), PropertyValue("RGB"));
    ColorAdjustment fromEmpty(&plist);
    EXPECT_FALSE(fromEmpty.sourceColor());
    EXPECT_FALSE(fromEmpty.targetColor());

    PropertyValue sourceOnly = PropertyValue::Dictionary{
        {"sourceColorData", archivedColor(Color::redColor())}, {"colorSpace", "hsb"}};
    ColorAdjustment partial(&sourceOnly);
    EXPECT_TRUE(partial.targetColor()->isEqual(*Color::redColor()));
    EXPECT_EQ(partial.componentsMask(), 15);
    EXPECT_FALSE(partial.usesHSB());

    PropertyValue notADictionary = PropertyValue::Array{};
    EXPECT_EQ(ColorAdjustment(&notADictionary).componentsMask(), 15);
    EXPECT_EQ(ColorAdjustment(nullptr).componentsMask(), 15);
}

TEST(AdjustmentDictionary, ValuesOfTheWrongKindAreIgnored) {
    const PropertyValue wrongKinds[] = {
        "x", 3, 2.5, true, PropertyValue::Array{1}, PropertyValue::Data{1, 2, 3}, nullptr, 1e300};
    for (const PropertyValue& wrong : wrongKinds) {
        for (const char* key :
             {"sourceColorData", "targetColorData", "componentsMask", "colorSpace"}) {
            PropertyValue defaults = ColorAdjustment().pList();
            PropertyValue::Dictionary dict = *defaults.asDictionary();
            dict["colorSpace"] = "HSB";
            dict["componentsMask"] = 4;
            dict["targetColorData"] = archivedColor(Color::blueColor());
            dict[key] = wrong;
            PropertyValue value(dict);
            ColorAdjustment record(&value);
            SCOPED_TRACE(key);
            bool maskReadable = wrong.asInteger() || (wrong.asReal() && *wrong.asReal() < 1e10);
            if (std::string(key) == "componentsMask" && !maskReadable) {
                EXPECT_EQ(record.componentsMask(), 15);
            }
            if (std::string(key) == "colorSpace") {
                EXPECT_EQ(record.usesHSB(), false);
            } else {
                EXPECT_TRUE(record.usesHSB());
            }
            if (std::string(key) == "targetColorData") {
                EXPECT_FALSE(record.targetColor());
            }
        }
    }
}

} // namespace
} // namespace velo

namespace velo {
namespace {

TEST(AdjustmentDictionary, KeepsReachAndTheOKLabModel) {
    ColorAdjustment record;
    record.setSourceColor(Color::colorWithCalibratedRed(0.2f, 0.6f, 0.3f, 1));
    record.setColorModel(ColorModel::OKLab);
    record.setReach(Reach::ball(0.12f));
    PropertyValue plist = record.pList();
    EXPECT_EQ(*plist.find("colorSpace"), PropertyValue("oklab"));
    Unarchived archived = unarchiveObjectWithData(archivedDataWithRootObject(plist));
    ASSERT_TRUE(archived.value) << archived.error;
    ColorAdjustment back(&*archived.value);
    EXPECT_EQ(back.colorModel(), ColorModel::OKLab);
    EXPECT_EQ(back.reach(), std::optional<Reach>(Reach::ball(0.12f)));
    EXPECT_EQ(back.pList(), plist);
    // Unlimited is no key at all, so records without a reach keep their form.
    EXPECT_FALSE(ColorAdjustment().pList().find("reach"));
}

// Out of range is brought within bounds; what is no finite number is no
// reach for the lenient reader and an error for the strict one.
TEST(AdjustmentDictionary, BadReachesAreBoundedOrRefused) {
    struct Case {
        PropertyValue stored;
        std::optional<float> read;
        bool strictAccepts;
    } cases[] = {
        {-3.0, kSmallestReach, true},
        {0, kSmallestReach, true},
        {1e300, kLargestReach, true},
        {std::int64_t{5}, kLargestReach, true},
        {0.25, 0.25f, true},
        {std::nan(""), std::nullopt, false},
        {HUGE_VAL, std::nullopt, false},
        {"0.2", std::nullopt, false},
        {PropertyValue::Array{}, std::nullopt, false},
    };
    for (const Case& c : cases) {
        PropertyValue::Dictionary dict = *ColorAdjustment().pList().asDictionary();
        dict["reach"] = c.stored;
        PropertyValue value(dict);
        std::optional<Reach> read = ColorAdjustment(&value).reach();
        EXPECT_EQ(read ? std::optional<float>(read->radius()) : std::nullopt, c.read);
        EXPECT_EQ(!ColorAdjustment::checkDictionary(value).has_value(), c.strictAccepts);
    }
    ColorAdjustment record;
    record.setReach(Reach::ball(std::nanf("")));
    EXPECT_FALSE(record.reach());
    record.setReach(Reach::ball(-1.0f));
    EXPECT_EQ(record.reach(), std::optional<Reach>(Reach::ball(kSmallestReach)));
}

// A range is three finite numbers, each bounded as a radius is; anything
// else is no range for the lenient reader (a ball beside it stays) and an
// error for the strict one.
TEST(AdjustmentDictionary, BadReachRangesAreBoundedOrRefused) {
    using Array = PropertyValue::Array;
    const std::optional<Reach> ball = Reach::ball(0.25f);
    struct Case {
        PropertyValue stored;
        std::optional<Reach> read;
        bool strictAccepts;
    } cases[] = {
        {Array{0.3, 0.08, 0.12}, Reach::range(0.3f, 0.08f, 0.12f), true},
        {Array{-3.0, std::int64_t{5}, 0.0},
         Reach::range(kSmallestReach, kLargestReach, kSmallestReach), true},
        {Array{0.3, 0.08}, ball, false},
        {Array{0.3, std::nan(""), 0.12}, ball, false},
        {0.3, ball, false},
    };
    for (const Case& c : cases) {
        PropertyValue::Dictionary dict = *ColorAdjustment().pList().asDictionary();
        dict["reach"] = 0.25;
        dict["reachRange"] = c.stored;
        PropertyValue value(dict);
        EXPECT_EQ(ColorAdjustment(&value).reach(), c.read);
        EXPECT_EQ(!ColorAdjustment::checkDictionary(value).has_value(), c.strictAccepts);
    }
}

TEST(ColorAdjustment, ReachAndModelUndoUnderTheirNames) {
    auto undo = std::make_shared<UndoManager>();
    auto record = std::make_shared<ColorAdjustment>();
    record->setUndoManager(undo);
    record->setReach(Reach::ball(0.3f));
    undo->endEvent();
    EXPECT_EQ(undo->undoActionName(), "Change reach");
    record->setColorModel(ColorModel::OKLab);
    undo->endEvent();
    EXPECT_EQ(undo->undoActionName(), "Change color space");
    undo->undo();
    EXPECT_EQ(record->colorModel(), ColorModel::RGB);
    undo->undo();
    EXPECT_FALSE(record->reach());
    undo->redo();
    EXPECT_EQ(record->reach(), std::optional<Reach>(Reach::ball(0.3f)));
}

} // namespace
} // namespace velo
