#include "platform/ui/check_list_box.h"

#include <utility>

namespace velmora {

CheckListBox::CheckListBox(QWidget* parent) : QListWidget(parent) {}

void CheckListBox::AddItem(const QString& text, TIDStore store) {
  addItem(text);
  QListWidgetItem& added = *item(count() - 1);
  added.setFlags(added.flags() | Qt::ItemIsUserCheckable);
  added.setCheckState(Qt::Unchecked);
  stores_.push_back(std::move(store));
}

QString CheckListBox::ItemText(int index) const { return item(index)->text(); }

bool CheckListBox::Checked(int index) const { return item(index)->checkState() == Qt::Checked; }

void CheckListBox::SetChecked(int index, bool checked) {
  item(index)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

}  // namespace velmora
