#pragma once

#include <QTabWidget>

namespace velmora {

// A tab widget whose user can be refused a page change. Before a change the
// user makes - a click on a tab, the arrow keys on the tab bar, Ctrl+Tab and
// Ctrl+PgUp/PgDn - it signals `changing`; a slot that clears the flag keeps
// the current page, and nothing of the change is seen. After a change it
// signals `change`. A change made by the program signals neither.
class PageControl : public QTabWidget {
  Q_OBJECT

 public:
  explicit PageControl(QWidget* parent);

  // The program's own change: no question, no signal.
  void SetActivePageIndex(int index);

  // The user's change: asks `changing`, then switches and signals `change`.
  // Returns whether the page was changed.
  bool RequestPage(int index);

 signals:
  void changing(bool& allowChange);
  void change();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace velmora
