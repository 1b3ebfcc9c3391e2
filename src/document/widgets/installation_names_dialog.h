#pragma once
// The installation names dialog: the connection and location name lists, kept in the
// settings store.

#include <QDialog>

#include "common/widgets/dialog_buttons.h"
#include "document/item_names.h"

class QPushButton;
class QTableWidget;

namespace pelvoro {

class SettingsStore;

class TfrmInstallation : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmInstallation(SettingsStore& store, QWidget* parent = nullptr);

    QTableWidget* grid() const { return grid_; }
    // The grid's names (row 1 is index 0).
    InstallationNames names() const;
    void setNames(const InstallationNames& names);
    // "Load Originals": the built-in names into rows 1 to 19.
    void loadOriginals();
    // OK: every cell to the store. Cancel: back to the names the dialog was shown with.
    void okPressed();
    void cancelPressed();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    SettingsStore& store_;
    QTableWidget* grid_ = nullptr;
    OkCancelButtons okCancel_;
    QPushButton* btnLoadOrig_ = nullptr;
    InstallationNames shown_;
};

}  // namespace pelvoro
