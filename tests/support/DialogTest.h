#pragma once
// Helpers of the dialog tests: answering a modal dialog from the test, and finding
// a control by its object name.

#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace dialogtest {

// Answers the modal dialog of type Dialog that opens while this object lives: act
// runs on it once; whatever is still open afterwards (or a dialog of another type)
// is rejected, so a test that goes wrong fails instead of hanging.
template <class Dialog>
class ModalAnswer {
 public:
  explicit ModalAnswer(std::function<void(Dialog&)> act) : act_(std::move(act)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
  }
  int opened = 0;  // dialogs of type Dialog seen

 private:
  void poll() {
    QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (!modal) return;
    if (auto* dialog = qobject_cast<Dialog*>(modal.data()); dialog && opened == 0) {
      ++opened;
      act_(*dialog);
    }
    if (modal && modal->isVisible())
      if (auto* other = qobject_cast<QDialog*>(modal.data())) other->reject();
  }
  std::function<void(Dialog&)> act_;
  QTimer timer_;
};

template <class Widget>
Widget* child(QWidget& parent, const char* name) {
  auto* found = parent.findChild<Widget*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

}  // namespace dialogtest
