// Unsaved work kept for recovery, and files changed by other programs,
// through the real windows.
#include "ui/WindowTestSupport.h"

#include "document/FileTypes.h"
#include "ui/RecoveryKeeper.h"

#include "support/ScratchMount.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace velo {
namespace {

namespace fs = std::filesystem;

class RecoveryWindowTest : public test::WindowTest {
  protected:
    RecoveryWindowTest() {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(QColor(200, 120, 40));
        image.save(QString::fromStdString(imagePath.string()));
    }

    // The documents kept there now.
    std::vector<fs::path> keptDocuments() const {
        std::vector<fs::path> kept;
        for (const auto& entry : fs::directory_iterator(recoveryPath)) {
            if (entry.path().extension() == ".velo") {
                kept.push_back(entry.path());
            }
        }
        return kept;
    }

    static std::vector<PropertyValue> pListsOf(const VeloDocument& document) {
        std::vector<PropertyValue> out;
        for (const auto& a : document.colorAdjustments()) {
            out.push_back(a->pList());
        }
        return out;
    }

    // Clicks the button of that text in the message box shown next.
    static void answerNextBox(const QString& objectName, const QString& buttonText) {
        QTimer::singleShot(0, [=] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                if (box && box->objectName() == objectName && box->isVisible()) {
                    for (QAbstractButton* button : box->buttons()) {
                        if (button->text() == buttonText) {
                            button->click();
                        }
                    }
                }
            }
        });
    }

    fs::path imagePath = folder / "photo.png";
    fs::path recoveryPath = folder / "recovery";
};

TEST_F(RecoveryWindowTest, UnsavedWorkIsKeptUntilSavedUndoneOrGivenUp) {
    application.keepRecoveryIn(QString::fromStdString(recoveryPath.string()));
    DocumentMainWindow* window = open(imagePath);
    ASSERT_TRUE(window);
    EXPECT_TRUE(keptDocuments().empty()) << "nothing unsaved yet";

    window->newAdjustment();
    window->document().setObjectValue(Color::colorWithCalibratedRed(0.3f, 0.6f, 0.9f, 1),
                                      TableColumn::Target,
                                      window->document().numberOfRowsInTableView() - 1);
    QTRY_COMPARE_WITH_TIMEOUT(keptDocuments().size(), 1u, 10000);
    VeloDocument kept(nullptr, 1);
    ASSERT_TRUE(kept.readFromFile(keptDocuments()[0], kVeloDocumentType).ok);
    EXPECT_EQ(pListsOf(kept), pListsOf(window->document()));

    ASSERT_TRUE(window->saveToFile(QString::fromStdString((folder / "photo.velo").string())));
    QTRY_VERIFY_WITH_TIMEOUT(keptDocuments().empty(), 10000);

    window->newAdjustment();
    QTRY_COMPARE_WITH_TIMEOUT(keptDocuments().size(), 1u, 10000);
    window->undo();
    QTRY_VERIFY_WITH_TIMEOUT(keptDocuments().empty(), 10000);

    window->newAdjustment();
    QTRY_COMPARE_WITH_TIMEOUT(keptDocuments().size(), 1u, 10000);
    QPointer<DocumentMainWindow> alive = window;
    answerNextBox("saveChangesSheet", "&Don’t Save");
    window->close();
    QTRY_VERIFY(!alive);
    EXPECT_TRUE(keptDocuments().empty()) << "given up, once the window is gone";
}

TEST_F(RecoveryWindowTest, WorkLeftByAProcessThatIsGoneReopensEditedAndUntitledOrIsDiscarded) {
    // What a process that ended leaves: its entries without its lock.
    auto leaveOrphan = [&](const std::string& originalPath) {
        auto gone = RecoveryFolder::open(recoveryPath);
        VeloDocument document(nullptr, 1);
        EXPECT_TRUE(document.readFromFile(imagePath, "png").ok);
        document.colorAdjustments()[2]->setTargetColor(
            Color::colorWithCalibratedRed(0.1234567f, 1e-7f, 0.5f, 1));
        EXPECT_FALSE(gone->write(gone->newSlot(), document.archiveSnapshot(), originalPath));
        return pListsOf(document);
    };
    std::vector<PropertyValue> expected = leaveOrphan((folder / "trip.velo").string());
    application.keepRecoveryIn(QString::fromStdString(recoveryPath.string()));

    answerNextBox("recoveryAlert", "Decide &Later");
    EXPECT_EQ(application.offerRecovery(), 0);
    EXPECT_EQ(keptDocuments().size(), 1u) << "kept for the next start";

    answerNextBox("recoveryAlert", "&Reopen");
    ASSERT_EQ(application.offerRecovery(), 1);
    ASSERT_EQ(application.windows().size(), 1);
    DocumentMainWindow* window = application.windows().first();
    settle(window);
    EXPECT_EQ(window->windowTitle(), "trip.velo (recovered)[*]");
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_TRUE(window->document().isDocumentEdited());
    EXPECT_EQ(window->document().fileName(), "");
    EXPECT_EQ(pListsOf(window->document()), expected);
    EXPECT_EQ(window->document().sourceBitmap()->pixelsWide(), 64);
    std::vector<fs::path> kept = keptDocuments();
    ASSERT_EQ(kept.size(), 1u) << "kept again, now by this process";
    EXPECT_EQ(application.offerRecovery(), 0) << "this process's own work is not offered";

    leaveOrphan("");
    answerNextBox("recoveryAlert", "&Discard");
    EXPECT_EQ(application.offerRecovery(), 0);
    EXPECT_EQ(keptDocuments(), kept);
}

TEST_F(RecoveryWindowTest, AFileChangedElsewhereIsOfferedAndNeverOverwrittenUnasked) {
    fs::path path = folder / "photo.velo";
    auto writeElsewhere = [&](bool hsb) {
        VeloDocument other(nullptr, 1);
        EXPECT_TRUE(other.readFromFile(imagePath, "png").ok);
        other.colorAdjustments()[0]->setUsesHSB(hsb);
        other.colorAdjustments()[1]->setUsesHSB(hsb);
        EXPECT_FALSE(other.writeToFile(path, kVeloDocumentType));
        return pListsOf(other);
    };
    writeElsewhere(false);
    DocumentMainWindow* window = open(path);
    ASSERT_TRUE(window);
    window->checkFileOnDisk();
    EXPECT_FALSE(window->findChild<QMessageBox*>("fileChangedOnDiskSheet"));

    std::vector<PropertyValue> theirs = writeElsewhere(true);
    window->checkFileOnDisk();
    auto* offer = window->findChild<QMessageBox*>("fileChangedOnDiskSheet");
    ASSERT_TRUE(offer);
    for (QAbstractButton* button : offer->buttons()) {
        if (button->text() == "Revert") {
            button->click();
        }
    }
    QApplication::processEvents();
    EXPECT_EQ(pListsOf(window->document()), theirs);

    window->newAdjustment();
    theirs = writeElsewhere(false);
    QString target = QString::fromStdString(path.string());
    EXPECT_FALSE(window->saveToFile(target));
    auto* ask = window->findChild<QMessageBox*>("fileChangedSheet");
    ASSERT_TRUE(ask);
    ask->button(QMessageBox::Cancel)->click();
    QApplication::processEvents();
    VeloDocument onDisk(nullptr, 1);
    ASSERT_TRUE(onDisk.readFromFile(path, kVeloDocumentType).ok);
    EXPECT_EQ(pListsOf(onDisk), theirs) << "cancel writes nothing";

    EXPECT_FALSE(window->saveToFile(target));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ask = window->findChild<QMessageBox*>("fileChangedSheet");
    ASSERT_TRUE(ask);
    ask->button(QMessageBox::Save)->click();
    QApplication::processEvents();
    ASSERT_TRUE(onDisk.readFromFile(path, kVeloDocumentType).ok);
    EXPECT_EQ(pListsOf(onDisk), pListsOf(window->document()));
    EXPECT_FALSE(window->document().isDocumentEdited());

    fs::remove(path);
    window->checkFileOnDisk();
    EXPECT_TRUE(window->document().isDocumentEdited()) << "its only copy is this one";
}

// A recovery folder that refuses writes (here on a full disk) is tried again
// and again, said once, and written as soon as it can be, with no new edit.
TEST_F(RecoveryWindowTest, AFolderThatRefusesWritesIsTriedAgainAndSaidOnce) {
    test::ScratchMount mount(recoveryPath, 1 << 20);
    if (!mount.error().empty()) {
        GTEST_SKIP() << mount.error();
    }
    application.keepRecoveryIn(QString::fromStdString(recoveryPath.string()));
    mount.fill();
    DocumentMainWindow* window = open(imagePath);
    ASSERT_TRUE(window);
    auto* keeper = window->findChild<RecoveryKeeper*>();
    ASSERT_TRUE(keeper);
    keeper->setRetryInterval(50);
    testing::internal::CaptureStderr();
    window->newAdjustment();
    keeper->keepNow(); // rather than after the quiet moment
    QTest::qWait(1000);
    keeper->waitUntilKept();
    std::string said = testing::internal::GetCapturedStderr();
    std::size_t lines = 0;
    for (std::size_t at = said.find("Could not keep"); at != std::string::npos;
         at = said.find("Could not keep", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 1u) << said;
    EXPECT_NE(said.find("No space left on device"), std::string::npos) << said;
    EXPECT_TRUE(keptDocuments().empty());

    mount.unfill();
    QTRY_COMPARE_WITH_TIMEOUT(keptDocuments().size(), 1u, 5000);
}

} // namespace
} // namespace velo
