#include "ui/HelpDialogs.h"

#include "imageio/LibraryVersions.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velo {

namespace {

// The texts' context, in a form lupdate reads.
struct HelpDialogs {
    Q_DECLARE_TR_FUNCTIONS(HelpDialogs)
};

// A menu text as a person reads it: no mnemonic marks, no key column.
QString plainText(const QString& text) {
    QString plain = text.section('\t', 0, 0);
    plain.replace("&&", "\x01").remove('&').replace("\x01", "&");
    return plain;
}

void collectShortcuts(const QMenu& menu, const QString& path,
                      QList<std::pair<QString, QString>>& rows) {
    for (QAction* action : menu.actions()) {
        if (action->menu()) {
            collectShortcuts(*action->menu(), path + " ▸ " + plainText(action->text()), rows);
        } else if (!action->shortcuts().isEmpty()) {
            QStringList keys;
            for (const QKeySequence& key : action->shortcuts()) {
                keys << key.toString(QKeySequence::NativeText);
            }
            rows.append({path + " ▸ " + plainText(action->text()), keys.join(", ")});
        }
    }
}

} // namespace

void showAbout(QWidget* window) {
    QStringList libraries{QStringLiteral("Qt %1").arg(qVersion())};
    for (const auto& [name, version] : imageLibraryVersions()) {
        libraries << QStringLiteral("%1 %2").arg(QString::fromStdString(name),
                                                 QString::fromStdString(version));
    }
    auto* box =
        new QMessageBox(QMessageBox::Information, HelpDialogs::tr("About Velo"),
                        HelpDialogs::tr("Velo %1").arg(VELO_VERSION), QMessageBox::Ok, window);
    box->setObjectName("aboutBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIconPixmap(QIcon(":/images/velo.svg").pixmap(64, 64));
    box->setInformativeText(
        HelpDialogs::tr(
            "Recolours images: every pixel moves toward the targets of the adjustments whose "
            "source colours it is close to, exactly and on every core.\n\n"
            "Released under the MIT licence.\n\nBuilt with %1.")
            .arg(libraries.join(", ")));
    box->open();
}

void showKeyboardShortcuts(QWidget* window, const QMenuBar& menus) {
    QList<std::pair<QString, QString>> rows;
    for (QAction* action : menus.actions()) {
        if (action->menu()) {
            collectShortcuts(*action->menu(), plainText(action->text()), rows);
        }
    }
    rows.append({HelpDialogs::tr("Click in the image"),
                 HelpDialogs::tr("New adjustment from the colour there")});
    rows.append({HelpDialogs::tr("Shift+Click in the image"),
                 HelpDialogs::tr("The same from the adjusted image")});
    rows.append({HelpDialogs::tr("Ctrl+Alt+Click in the image"),
                 HelpDialogs::tr("Protect the colour there")});
    rows.append({HelpDialogs::tr("Drag across an object"),
                 HelpDialogs::tr("New adjustment taking all its shades")});
    rows.append({HelpDialogs::tr("Ctrl+Drag across an object"),
                 HelpDialogs::tr("Add its shades to the selected adjustment")});
    rows.append({HelpDialogs::tr("Hold \\"), HelpDialogs::tr("Show the original while held")});
    rows.append({HelpDialogs::tr("Drag the line of View ▸ Split"),
                 HelpDialogs::tr("Move where the original gives way to the result")});

    auto* dialog = new QDialog(window);
    dialog->setObjectName("shortcutsDialog");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(HelpDialogs::tr("Keyboard Shortcuts"));
    auto* table = new QTableWidget(int(rows.size()), 2, dialog);
    table->setObjectName("shortcutsTable");
    table->setHorizontalHeaderLabels({HelpDialogs::tr("Command"), HelpDialogs::tr("Keys")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < rows.size(); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(rows[row].first));
        table->setItem(row, 1, new QTableWidgetItem(rows[row].second));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(table);
    layout->addWidget(buttons);
    dialog->resize(520, 520);
    dialog->open();
}

} // namespace velo
