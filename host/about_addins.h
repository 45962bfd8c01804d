#pragma once

#include <QDialog>
#include <vector>

#include "host/addins.h"

namespace velmora::host {

// "About Add-ins": each installed add-in's name and description.
class AboutAddinsDialog : public QDialog {
 public:
  AboutAddinsDialog(const std::vector<Addin>& addins, QWidget* parent);
};

}  // namespace velmora::host
