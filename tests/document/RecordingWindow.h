#pragma once

#include "document/DocumentWindow.h"
#include "document/VeloDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace velo::test {

// A window that remembers what the document asked of it.
class RecordingWindow : public DocumentWindow {
  public:
    std::shared_ptr<Bitmap> shown;
    ColorRef viewBackground, wellColor;
    int redraws = 0, reloads = 0, fits = 0, restarts = 0;
    std::vector<int> selection;
    std::vector<int> rowsSelectedAlone;
    bool alphaColumn = false;
    Size drawer{200, 300};
    Size drawerMin{150, 100};
    std::string toggleLabel, toggleIcon, title;
    bool panelShowsAlpha = false;
    int rows = 0;
    std::vector<ColorRef> panelColors; // each showColorPanel

    void setBitmap(std::shared_ptr<Bitmap> bitmap) override { shown = std::move(bitmap); }
    std::shared_ptr<Bitmap> bitmap() const override { return shown; }
    void setViewBackgroundColor(const ColorRef& color) override { viewBackground = color; }
    void setNeedsDisplay() override { ++redraws; }
    void resultRestarted() override { ++restarts; }
    void reloadData() override { ++reloads; }
    void selectRowAlone(int row) override { rowsSelectedAlone.push_back(row); }
    std::vector<int> selectedRows() const override { return selection; }
    bool isRowSelected(int row) const override {
        return std::find(selection.begin(), selection.end(), row) != selection.end();
    }
    int numberOfRows() const override { return rows; }
    bool hasAlphaColumn() const override { return alphaColumn; }
    void setAlphaColumnShown(bool shown) override { alphaColumn = shown; }
    Size drawerContentSize() const override { return drawer; }
    Size drawerMinContentSize() const override { return drawerMin; }
    void setDrawerContentSize(Size size) override { drawer = size; }
    void setToggleImageItem(const std::string& label, const std::string& icon) override {
        toggleLabel = label;
        toggleIcon = icon;
    }
    void setBackgroundWellColor(const ColorRef& color) override { wellColor = color; }
    void setColorPanelShowsAlpha(bool showsAlpha) override { panelShowsAlpha = showsAlpha; }
    void showColorPanel(const ColorRef& color) override { panelColors.push_back(color); }
    void setTitle(const std::string& t) override { title = t; }
    void fitWindowToImage() override { ++fits; }
    void showAlertSheet(const std::string&, const std::string&) override {}
};

// A document of two workers with a recording window, set up as a window
// would set it up.
class WindowedDocumentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        document.setWindow(&window);
        document.finishSetUp();
    }
    // The end of one user event.
    void event() { document.undoManager()->endEvent(); }
    UndoManager& undo() { return *document.undoManager(); }

    VeloDocument document{nullptr, 2};
    RecordingWindow window;
};

} // namespace velo::test
