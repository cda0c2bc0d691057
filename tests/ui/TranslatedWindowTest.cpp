// The window in German, with the translators the application installs at start.
#include "ui/WindowTestSupport.h"

#include "ui/Mnemonics.h"
#include "ui/Translators.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTranslator>

namespace velo {
namespace {

// Installed for one test only: every other test reads the English texts.
class TranslatedWindowTest : public test::WindowTest {
  protected:
    TranslatedWindowTest() : translators(installTranslators(QLocale(QLocale::German))) {}
    ~TranslatedWindowTest() override {
        for (QTranslator* translator : translators) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }

    QList<QTranslator*> translators;
};

std::filesystem::path writeImage(const std::filesystem::path& path) {
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(QColor(200, 120, 40));
    image.save(QString::fromStdString(path.string()));
    return path;
}

// The menu's own texts and each submenu's, each list with its menu's title.
void collectMenus(QMenu& menu, QList<std::pair<QString, QStringList>>& menus) {
    QStringList texts;
    for (QAction* action : menu.actions()) {
        texts << action->text();
        if (action->menu()) {
            collectMenus(*action->menu(), menus);
        }
    }
    menus.append({menu.title(), texts});
}

TEST_F(TranslatedWindowTest, MenusDialogsAndTheCoresUndoNamesAreGerman) {
    ASSERT_EQ(translators.size(), 2); // Velo's own and Qt's
    DocumentMainWindow* window = open(writeImage(folder / "foto.png"));
    ASSERT_TRUE(window);

    QStringList titles;
    QList<std::pair<QString, QStringList>> menus;
    for (QAction* action : window->menuBar()->actions()) {
        titles << action->text();
        emit action->menu()->aboutToShow(); // the titles the document decides
        collectMenus(*action->menu(), menus);
    }
    EXPECT_EQ(titles, QStringList({"&Datei", "&Bearbeiten", "B&ild", "&Ansicht", "&Hilfe"}));
    EXPECT_EQ(sharedMnemonics(titles), "");
    for (const auto& [title, texts] : menus) {
        EXPECT_EQ(sharedMnemonics(texts), "") << title.toStdString();
    }
    EXPECT_EQ(window->action("toggleImage")->text(), "Original anzeigen");

    // Undo names come from the core, looked up when the edit is made.
    VeloDocument& document = window->document();
    auto adjustment = std::make_shared<ColorAdjustment>();
    document.newColorAdjustment(adjustment);
    document.undoManager()->endEvent();
    window->updateActions();
    EXPECT_EQ(window->action("undo")->text(), "Rückgängig: Neue Anpassung");
    adjustment->setReach(Reach::ball(0.2f));
    document.undoManager()->endEvent();
    document.undoManager()->undo();
    window->updateActions();
    EXPECT_EQ(window->action("redo")->text(), "Wiederherstellen: Radius ändern");

    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    // Qt's standard buttons, through Qt's own translation; desktop themes add a key.
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove('&'), "Abbrechen");
    screenshot(*window, "window-german");
}

} // namespace
} // namespace velo
