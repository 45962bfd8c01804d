#include "host/about_addins.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmora::host {
namespace {

// Add-ins break their descriptions into lines the Windows way.
QString Lines(const std::string& text) {
  return QString::fromStdString(text).replace("\r\n", "\n");
}

}  // namespace

AboutAddinsDialog::AboutAddinsDialog(const std::vector<Addin>& addins, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle("About Add-ins");
  auto* list = new QTreeWidget(this);
  list->setObjectName("addinList");
  list->setHeaderLabels({"Add-in", "Description"});
  list->setRootIsDecorated(false);
  for (const Addin& addin : addins) {
    const QString description = addin.failure.empty()
                                    ? Lines(addin.description)
                                    : "Cannot be loaded: " + QString::fromStdString(addin.failure);
    list->addTopLevelItem(new QTreeWidgetItem({QString::fromStdString(addin.name), description}));
  }
  list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list);
  layout->addWidget(buttons);
  resize(520, 240);
}

}  // namespace velmora::host
