#pragma once

#include "platform/Bitmap.h"
#include "platform/Color.h"
#include "platform/Geometry.h"

#include <memory>
#include <string>
#include <vector>

namespace velo {

// What a document asks of its window. The Qt window implements it; a
// document without a window (the command line, tests) asks nothing.
class DocumentWindow {
  public:
    virtual ~DocumentWindow() = default;

    // The image view.
    virtual void setBitmap(std::shared_ptr<Bitmap> bitmap) = 0;
    virtual std::shared_ptr<Bitmap> bitmap() const = 0;
    virtual void setViewBackgroundColor(const ColorRef& color) = 0;
    virtual void setNeedsDisplay() = 0;
    // Every line of the result is being computed anew.
    virtual void resultRestarted() = 0;
    // Every line of the influence map is being computed anew.
    virtual void influenceRestarted() {}

    // The adjustments table and its drawer.
    virtual void reloadData() = 0;
    virtual void selectRowAlone(int row) = 0; // and scroll it into view
    virtual std::vector<int> selectedRows() const = 0;
    virtual bool isRowSelected(int row) const = 0;
    virtual int numberOfRows() const = 0; // as the table shows them now
    virtual bool hasAlphaColumn() const = 0;
    virtual void setAlphaColumnShown(bool shown) = 0;
    virtual Size drawerContentSize() const = 0;
    virtual Size drawerMinContentSize() const = 0;
    virtual void setDrawerContentSize(Size size) = 0;

    // The toolbar and the colour panel.
    virtual void setToggleImageItem(const std::string& label, const std::string& iconName) = 0;
    virtual void setBackgroundWellColor(const ColorRef& color) = 0;
    virtual void setColorPanelShowsAlpha(bool showsAlpha) = 0;
    // Gives the shared colour panel this colour and brings it to the front.
    virtual void showColorPanel(const ColorRef& color) = 0;

    // The window itself.
    virtual void setTitle(const std::string& title) = 0;
    virtual void fitWindowToImage() = 0;
    virtual void showAlertSheet(const std::string& title, const std::string& message) = 0;
};

// A mouse press in the image view, as the colour pick needs it.
struct BitmapViewClick {
    Point locationInView; // view coordinates, origin at the lower left
    Size viewBounds;
    bool shiftHeld = false; // pick from the adjusted image
    bool altHeld = false;   // protect the picked colour
};

// The point of a bitmap (origin lower left) a click in the view falls on.
Point pointInBitmap(const Bitmap& bitmap, const BitmapViewClick& click);

} // namespace velo
