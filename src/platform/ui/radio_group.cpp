#include "platform/ui/radio_group.h"

#include <QEvent>
#include <QFontMetrics>
#include <QStyle>

namespace velmora {
namespace {

// Breaks a caption at spaces so that no line is wider than `width`; a single
// word wider than that keeps a line of its own.
QString WrapCaption(const QString& caption, const QFontMetrics& metrics, int width) {
  QString wrapped;
  QString line;
  for (const QString& word : caption.split(u' ', Qt::SkipEmptyParts)) {
    const QString candidate = line.isEmpty() ? word : line + u' ' + word;
    if (line.isEmpty() || metrics.horizontalAdvance(candidate) <= width) {
      line = candidate;
      continue;
    }
    wrapped += line + u'\n';
    line = word;
  }
  return wrapped + line;
}

}  // namespace

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), items_(items) {
  for (const QString& item : items_) {
    auto& button = buttons_.emplace_back(std::make_unique<QRadioButton>(item, this));
    connect(button.get(), &QRadioButton::clicked, this, &RadioGroup::clicked);
  }
  ArrangeButtons();
}

RadioGroup::~RadioGroup() = default;

int RadioGroup::ItemIndex() const {
  for (int i = 0; i < Count(); ++i) {
    if (buttons_[i]->isChecked()) return i;
  }
  return -1;
}

void RadioGroup::SetItemIndex(int index) {
  if (index >= 0 && index < Count()) {
    buttons_[index]->setChecked(true);
    return;
  }
  // Auto-exclusive buttons refuse to clear the last checked one.
  for (auto& button : buttons_) {
    if (!button->isChecked()) continue;
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
  }
}

void RadioGroup::SetItemEnabled(int index, bool enabled) {
  buttons_.at(index)->setEnabled(enabled);
}

bool RadioGroup::IsItemEnabled(int index) const { return buttons_.at(index)->isEnabled(); }

void RadioGroup::SetMultiline(bool multiline) {
  multiline_ = multiline;
  UpdateCaptions();
  update();
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  ArrangeButtons();
}

void RadioGroup::changeEvent(QEvent* event) {
  QGroupBox::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    ArrangeButtons();
  }
}

// One column; the height below the caption line is shared evenly and the
// remainder split above and below, as the classic radio group arranges it.
void RadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  const int lineHeight = fontMetrics().height();
  const int usable = height() - lineHeight - 5;
  const int buttonHeight = usable / Count();
  const int top = lineHeight + 1 + (usable % Count()) / 2;
  const int buttonWidth = width() - 10;
  for (int i = 0; i < Count(); ++i) {
    buttons_[i]->setGeometry(4, top + i * buttonHeight, buttonWidth, buttonHeight);
  }
  UpdateCaptions();
}

void RadioGroup::UpdateCaptions() {
  const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                        style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
  for (int i = 0; i < Count(); ++i) {
    QRadioButton& button = *buttons_[i];
    button.setText(
        multiline_ ? WrapCaption(items_[i], button.fontMetrics(), button.width() - indicator - 2)
                   : items_[i]);
  }
}

}  // namespace velmora
