#pragma once

#include <QListWidget>
#include <QString>
#include <string>
#include <vector>

namespace velmora {

// What a list item carries beside its text: the key of the database row it
// stands for.
struct TIDStore {
  std::string ID;
};

// A list of items, each with a check box, a text and a TIDStore. Items are
// only ever appended, in the order of the query that fills the list.
class CheckListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CheckListBox(QWidget* parent);

  // The item starts unchecked.
  void AddItem(const QString& text, TIDStore store);

  int Count() const { return count(); }
  QString ItemText(int index) const;
  const TIDStore& Store(int index) const { return stores_.at(index); }
  bool Checked(int index) const;
  void SetChecked(int index, bool checked);

 private:
  std::vector<TIDStore> stores_;
};

}  // namespace velmora
