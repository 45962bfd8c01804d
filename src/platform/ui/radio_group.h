#pragma once

#include <QGroupBox>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace velmora {

// A captioned group of radio buttons with one selected item or none, laid out
// in one column that shares the group's height evenly, as a classic dialog
// radio group does. Only a click of the user on an item signals `clicked`;
// setting the index in code does not.
class RadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  RadioGroup(const QString& caption, const QStringList& items, QWidget* parent);
  ~RadioGroup() override;

  int Count() const { return static_cast<int>(buttons_.size()); }
  QString ItemCaption(int index) const { return items_.at(index); }
  QRadioButton& Button(int index) const { return *buttons_.at(index); }

  // -1 when no item is selected.
  int ItemIndex() const;
  // Any index outside the items selects none.
  void SetItemIndex(int index);

  void SetItemEnabled(int index, bool enabled);
  bool IsItemEnabled(int index) const;

  // Lets a caption too long for one line wrap onto further lines, the lines
  // starting at the top of the button.
  void SetMultiline(bool multiline);

 signals:
  void clicked();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ArrangeButtons();
  void UpdateCaptions();

  QStringList items_;
  std::vector<std::unique_ptr<QRadioButton>> buttons_;
  bool multiline_ = false;
};

}  // namespace velmora
