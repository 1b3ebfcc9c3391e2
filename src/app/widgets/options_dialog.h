#pragma once
#include <QDialog>

namespace pelvoro {

// Options: certificate-type choices for the protocol reports (which this program does
// not print; the choices are kept for them).
class TfrmOptions : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmOptions(QWidget* parent = nullptr);
};

}  // namespace pelvoro
