#pragma once
// A document window inside the main window's area: the frame around a document view,
// with the number the Window menu lists it by.

#include <QMdiSubWindow>

namespace pelvoro {

class DocumentView;

class DocumentSubWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    explicit DocumentSubWindow(QWidget* parent = nullptr) : QMdiSubWindow(parent) {}
    int tag() const { return tag_; }
    void setTag(int t) { tag_ = t; }
    bool isClosed() const { return closed_; }
    DocumentView* view() const;

  signals:
    void closed(pelvoro::DocumentSubWindow* window);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    int tag_ = 0;
    bool closed_ = false;
};

}  // namespace pelvoro
