#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace velo {

// Arranges the document toolbar: items move between the available ones and
// the toolbar's, and are ordered there. Nothing is applied here: the caller
// reads itemIdentifiers(), which a cancelled dialog answers unchanged.
class CustomizeToolbarDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CustomizeToolbarDialog(const std::vector<std::string>& itemIdentifiers,
                                    QWidget* parent = nullptr);

    std::vector<std::string> itemIdentifiers() const { return items_; }
    void reject() override;

  private:
    QPushButton* button(const QString& text, const char* objectName,
                        void (CustomizeToolbarDialog::*clicked)());
    void addItem();
    void removeItem();
    void moveItemUp();
    void moveItemDown();
    void useDefaultSet();
    void moveItem(int from, int to);
    void showItems(int selectedToolbarRow);
    void updateButtons();

    const std::vector<std::string> original_;
    std::vector<std::string> items_;
    QListWidget* available_ = nullptr;
    QListWidget* toolbar_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* moveUp_ = nullptr;
    QPushButton* moveDown_ = nullptr;
};

} // namespace velo
