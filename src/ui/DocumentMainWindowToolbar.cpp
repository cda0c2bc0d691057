// The toolbar: the document's own items, built once, placed as configured.
#include "ui/DocumentMainWindow.h"

#include "ui/DamageBar.h"

#include "ui/ColorPanel.h"
#include "ui/ColorWell.h"
#include "ui/CustomizeToolbarDialog.h"
#include "ui/ToolbarItems.h"
#include "ui/VeloApplication.h"
#include "ui/ZoomRules.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidgetAction>
#include <algorithm>

namespace velo {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// A control with its label under it, as the toolbar's buttons show theirs.
QWidget* labelled(QWidget* control, const QString& label, QWidget* parent) {
    auto* item = new QWidget(parent);
    auto* layout = new QVBoxLayout(item);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(1);
    layout->addWidget(control, 0, Qt::AlignHCenter);
    auto* text = new QLabel(label, item);
    text->setAlignment(Qt::AlignHCenter);
    layout->addWidget(text, 0, Qt::AlignHCenter);
    return item;
}

QWidget* space(QWidget* parent, bool flexible) {
    auto* gap = new QWidget(parent);
    if (flexible) {
        gap->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    } else {
        gap->setFixedWidth(16);
    }
    return gap;
}

} // namespace

void DocumentMainWindow::buildToolbarItems() {
    toolbar_ = new QToolBar(tr("Toolbar"), this);
    toolbar_->setObjectName("VeloDocument");
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setContextMenuPolicy(Qt::DefaultContextMenu);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    // On a row of its own under the toolbar, across the whole window.
    addToolBarBreak(Qt::TopToolBarArea);
    damageBar_ = new DamageBar(this);
    addToolBar(Qt::TopToolBarArea, damageBar_);

    auto item = [this](const std::string& id) {
        auto* action = new QAction(text(toolbar::label(id)), this);
        action->setObjectName(text(id));
        action->setToolTip(text(toolbar::paletteLabel(id)));
        toolbarItems_[id] = action;
        return action;
    };
    QAction* drawer = item(toolbar::kToggleDrawer);
    connect(drawer, &QAction::triggered, dock_->toggleViewAction(), &QAction::trigger);

    QAction* image = item(toolbar::kToggleImage);
    connect(image, &QAction::triggered, this, &DocumentMainWindow::toggleSourceOrDestinationImage);

    QAction* influence = item(toolbar::kInfluence);
    influence->setCheckable(true);
    connect(influence, &QAction::triggered, this, &DocumentMainWindow::toggleInfluence);

    QAction* split = item(toolbar::kSplit);
    split->setCheckable(true);
    connect(split, &QAction::triggered, this, &DocumentMainWindow::toggleSplit);

    zoomMenu_ = new QComboBox(this);
    zoomMenu_->setObjectName("zoomMenu");
    for (const std::string& title : standardZoomTitles()) {
        zoomMenu_->addItem(text(title));
    }
    zoomMenu_->setCurrentIndex(3);
    zoomMenu_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    zoomMenu_->setToolTip(text(toolbar::paletteLabel(toolbar::kZoom)));
    connect(zoomMenu_, &QComboBox::textActivated, this, &DocumentMainWindow::zoomToTitle);
    auto* zoom = new QWidgetAction(this);
    zoom->setDefaultWidget(labelled(zoomMenu_, text(toolbar::label(toolbar::kZoom)), this));
    zoom->setText(text(toolbar::label(toolbar::kZoom)));
    toolbarItems_[toolbar::kZoom] = zoom;

    backgroundWell_ = new ColorWell(this);
    backgroundWell_->setObjectName("backgroundWell");
    connect(backgroundWell_, &ColorWell::colorChosen, this,
            &DocumentMainWindow::takeBackgroundColorFrom);
    auto* well = new QWidgetAction(this);
    well->setDefaultWidget(
        labelled(backgroundWell_, text(toolbar::label(toolbar::kBgColor)), this));
    well->setText(text(toolbar::label(toolbar::kBgColor)));
    toolbarItems_[toolbar::kBgColor] = well;

    QAction* colors = item(toolbar::kShowColors);
    colors->setIcon(QIcon::fromTheme("preferences-desktop-color",
                                     style()->standardIcon(QStyle::SP_DesktopIcon)));
    connect(colors, &QAction::triggered, this, [] { ColorPanel::shared().orderFront(); });

    QAction* print = item(toolbar::kPrint);
    print->setIcon(
        QIcon::fromTheme("document-print", style()->standardIcon(QStyle::SP_DialogSaveButton)));
    connect(print, &QAction::triggered, this, [this] { printShowingPrintPanel(true); });

    QAction* customize = item(toolbar::kCustomize);
    customize->setIcon(
        QIcon::fromTheme("configure", style()->standardIcon(QStyle::SP_FileDialogDetailedView)));
    connect(customize, &QAction::triggered, this, &DocumentMainWindow::customizeToolbar);
}

void DocumentMainWindow::applyToolbarItems() {
    // Separators and spaces belong to the toolbar; the items are kept.
    for (QAction* placed : toolbar_->actions()) {
        bool own = std::any_of(toolbarItems_.begin(), toolbarItems_.end(),
                               [placed](const auto& entry) { return entry.second == placed; });
        own ? toolbar_->removeAction(placed) : delete placed;
    }
    for (const std::string& id : application_.toolbarItems()) {
        if (id == toolbar::kSeparator) {
            toolbar_->addSeparator();
        } else if (id == toolbar::kSpace || id == toolbar::kFlexibleSpace) {
            toolbar_->addWidget(space(toolbar_, id == toolbar::kFlexibleSpace));
        } else if (auto it = toolbarItems_.find(id); it != toolbarItems_.end()) {
            toolbar_->addAction(it->second);
        }
    }
}

void DocumentMainWindow::customizeToolbar() {
    auto* dialog = new CustomizeToolbarDialog(application_.toolbarItems(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { application_.setToolbarItems(dialog->itemIdentifiers()); });
    dialog->open();
}

// The toolbar's context menu offers its customisation, as the View menu does.
QMenu* DocumentMainWindow::createPopupMenu() {
    QMenu* menu = QMainWindow::createPopupMenu();
    if (!menu) {
        menu = new QMenu(this);
    }
    menu->addSeparator();
    menu->addAction(actions_.at("customizeToolbar"));
    return menu;
}

} // namespace velo
