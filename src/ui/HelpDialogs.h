#pragma once

class QMenuBar;
class QWidget;

namespace velo {

// Help ▸ About Velo: the version, the licence and the libraries Velo runs with.
void showAbout(QWidget* window);

// Help ▸ Keyboard Shortcuts: every menu command that has keys, as the menus
// hold them now, and what the clicks in the image do.
void showKeyboardShortcuts(QWidget* window, const QMenuBar& menus);

} // namespace velo
