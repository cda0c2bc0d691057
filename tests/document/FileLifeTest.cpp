#include "document/FileLife.h"

#include "document/DocumentSupport.h"
#include "document/FileTypes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

namespace fs = std::filesystem;
using Next = FileLife::Next;
using Step = FileLife::Step;
using Answer = FileLife::SaveAnswer;

// A document opened from its own file, with the window's part played by the
// test: it writes, reads back and reports as the window would.
class FileLifeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeElsewhere(1);
        ASSERT_TRUE(document.readFromFile(path, kVeloDocumentType).ok);
        document.setFileName(path.string());
        document.finishSetUp();
    }

    // Another program writes its own version of the file.
    void writeElsewhere(unsigned seed) {
        VeloDocument other(nullptr, 1);
        other.setSourceImage(test::randomImage(5, 4, 3, seed));
        ASSERT_FALSE(other.writeToFile(path, kVeloDocumentType));
    }

    void edit() {
        ColorAdjustment& first = *document.colorAdjustments()[0];
        first.setUsesHSB(!first.usesHSB());
    }

    Step write(const Step& step) {
        EXPECT_EQ(step.next, Next::Write);
        bool ok = !document.writeToFile(step.path, kVeloDocumentType);
        if (ok) {
            document.setFileName(step.path);
            document.markUnchanged();
        }
        return life.written(ok);
    }

    void revert(const Step& step) {
        EXPECT_EQ(step.next, Next::Revert);
        EXPECT_TRUE(document.readFromFile(path, kVeloDocumentType).ok);
        document.finishSetUp();
        life.reverted();
    }

    test::TemporaryFolder folder;
    fs::path path = folder / "work.velo";
    VeloDocument document{nullptr, 1};
    FileLife life{document};
};

TEST_F(FileLifeTest, ClosingAsksOnlyAboutUnsavedWorkAndOneQuestionAtATime) {
    EXPECT_EQ(life.closeRequested(), Step{Next::Close});
    edit();
    EXPECT_EQ(life.closeRequested(), Step{Next::AskToSave});
    EXPECT_EQ(life.closeRequested(), Step{}) << "already asking";

    EXPECT_EQ(life.answeredSaveChanges(Answer::Cancel), Step{Next::CancelQuit});
    EXPECT_EQ(life.closeRequested(), Step{Next::AskToSave}) << "asked anew";
    EXPECT_EQ(life.answeredSaveChanges(Answer::DontSave), Step{Next::Close});
    EXPECT_EQ(life.closeRequested(), Step{Next::Close}) << "the work given up";
}

TEST_F(FileLifeTest, SaveWithItsOwnFileWritesInPlaceAndClosesOnlyWhenClosing) {
    edit();
    EXPECT_EQ(life.save(), (Step{Next::Write, path.string()}));
    EXPECT_EQ(write(life.save()), Step{}) << "a plain save leaves the window open";

    edit();
    life.closeRequested();
    EXPECT_EQ(write(life.answeredSaveChanges(Answer::Save)), Step{Next::Close});
    EXPECT_EQ(life.closeRequested(), Step{Next::Close});
}

TEST_F(FileLifeTest, SaveWithoutADocumentFileAsksForANameAndACancelledNameStopsTheQuit) {
    fs::path image = folder / "photo.png";
    for (const std::string& fileName : {std::string(), image.string()}) {
        SCOPED_TRACE(fileName);
        document.setFileName(fileName);
        edit();
        EXPECT_EQ(life.save(), Step{Next::AskForName});
        EXPECT_EQ(life.nameCancelled(), Step{}) << "no close waited for the name";

        life.closeRequested();
        EXPECT_EQ(life.answeredSaveChanges(Answer::Save), Step{Next::AskForName});
        EXPECT_EQ(life.nameCancelled(), Step{Next::CancelQuit});
        EXPECT_EQ(life.nameCancelled(), Step{}) << "cancelled once";

        life.closeRequested();
        life.answeredSaveChanges(Answer::Save);
        fs::path named = folder / "named.velo";
        EXPECT_EQ(write(life.saveTo(named.string())), Step{Next::Close});
        EXPECT_FALSE(document.isDocumentEdited());
    }
}

TEST_F(FileLifeTest, AFailedWriteKeepsTheWindowOpenAndEndsTheClose) {
    edit();
    document.setFileName((folder / "missing" / "work.velo").string());
    life.closeRequested();
    EXPECT_EQ(write(life.answeredSaveChanges(Answer::Save)), Step{Next::CancelQuit});
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_EQ(write(life.saveTo(path.string())), Step{}) << "a later save does not close";
}

TEST_F(FileLifeTest, SavingOverAFileAnotherProgramChangedAsksFirstAndTheCloseWaits) {
    edit();
    writeElsewhere(2);
    std::string other = (folder / "other.velo").string();
    EXPECT_EQ(life.saveTo(other), (Step{Next::Write, other})) << "another name replaces nothing";
    Step ask{Next::AskToSaveOverChange, path.string()};
    EXPECT_EQ(life.save(), ask);
    EXPECT_EQ(life.answeredSaveOverChange(false), Step{});
    EXPECT_EQ(life.saveTo((folder.path() / "." / "work.velo").string()).next, ask.next)
        << "the same file by another spelling";
    life.answeredSaveOverChange(false);

    life.closeRequested();
    EXPECT_EQ(life.answeredSaveChanges(Answer::Save), ask);
    EXPECT_EQ(life.answeredSaveOverChange(false), Step{Next::CancelQuit});

    life.closeRequested();
    life.answeredSaveChanges(Answer::Save);
    EXPECT_EQ(write(life.answeredSaveOverChange(true)), Step{Next::Close});
    EXPECT_FALSE(document.fileChangedOnDisk());
}

TEST_F(FileLifeTest, AChangedFileIsOfferedOncePerChangeAndARemovedOneMarksTheWorkUnsaved) {
    EXPECT_EQ(life.checkFileOnDisk(), Step{});
    writeElsewhere(2);
    EXPECT_EQ(life.checkFileOnDisk(), Step{Next::OfferRevert});
    EXPECT_EQ(life.checkFileOnDisk(), Step{}) << "told already";
    writeElsewhere(3);
    EXPECT_EQ(life.checkFileOnDisk(), Step{Next::OfferRevert});

    fs::remove(path);
    EXPECT_EQ(life.checkFileOnDisk(), Step{Next::MarkEdited});
    EXPECT_EQ(life.checkFileOnDisk(), Step{});
    EXPECT_EQ(life.revertChosen(), Step{}) << "nothing left to revert to";
}

TEST_F(FileLifeTest, RevertAsksWhenThereIsAStateToGoBackToAndForgetsWhatWasTold) {
    EXPECT_EQ(life.revert(), Step{}) << "nothing to go back to";
    edit();
    EXPECT_EQ(life.revert(), Step{Next::AskToRevert});
    revert(life.revertChosen());
    EXPECT_FALSE(document.isDocumentEdited());

    // Another program keeps the version told about aside and puts it back
    // after the revert: that is a change from what the document holds.
    writeElsewhere(2);
    EXPECT_EQ(life.checkFileOnDisk(), Step{Next::OfferRevert});
    fs::path aside = folder / "aside.velo";
    fs::rename(path, aside);
    writeElsewhere(3);
    revert(life.revertChosen());
    fs::rename(aside, path);
    EXPECT_EQ(life.checkFileOnDisk(), Step{Next::OfferRevert});
}

} // namespace
} // namespace velo
