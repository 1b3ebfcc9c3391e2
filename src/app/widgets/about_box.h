#pragma once
#include <QDialog>

namespace pelvoro {

// The brand's about box: product label, version and what the program is.
class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace pelvoro
