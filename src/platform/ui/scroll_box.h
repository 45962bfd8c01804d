#pragma once

#include <QScrollArea>
#include <QWidget>

namespace velmora {

// A scroll area whose controls are placed freely on its client, which always
// reaches as far as the furthest visible control, so the scroll bars show
// whenever a control extends beyond the visible area.
class ScrollBox : public QScrollArea {
  Q_OBJECT

 public:
  explicit ScrollBox(QWidget* parent);

  // The parent for the controls inside the box.
  QWidget& Client() { return client_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void UpdateRange();

  QWidget client_;
};

}  // namespace velmora
