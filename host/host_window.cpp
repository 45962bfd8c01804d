#include "host/host_window.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <exception>
#include <utility>

#include "host/about_addins.h"
#include "platform/message_box.h"

namespace velmora::host {
namespace {

QString WithoutAccelerator(QString caption) { return caption.remove('&'); }

// A menu opened with no entries has no size, and a window of no size is not
// shown; Qt then keeps the menu's window hidden when it opens again with
// entries, so an add-in installed meanwhile would stay invisible until the
// host restarts. One pixel keeps the menu a window that can be shown.
QMenu* Showable(QMenu* menu) {
  menu->setMinimumSize(1, 1);
  return menu;
}

void ShowError(const std::string& text) {
  ShowMessageBox({text, "Recorder 6", MessageIcon::Error});
}

}  // namespace

std::string MaskedConnectionString(const std::string& connectionString) {
  static const QRegularExpression password("(^|;)(\\s*(?:pwd|password)\\s*=)[^;]*",
                                           QRegularExpression::CaseInsensitiveOption);
  return QString::fromStdString(connectionString).replace(password, "\\1\\2***").toStdString();
}

HostWindow::HostWindow(std::string connectionString, std::filesystem::path addinFolder)
    : addinFolder_(std::move(addinFolder)) {
  setWindowTitle("Recorder 6 - Velmora host");
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction("E&xit", this, &QWidget::close);
  Showable(menuBar()->addMenu("&Reports"));
  QMenu* tools = menuBar()->addMenu("&Tools");
  tools->addAction("&Install Add-in...", this, &HostWindow::InstallAddinFromDialog);
  help_ = menuBar()->addMenu("&Help");
  help_->addAction("&About Add-ins...", this, &HostWindow::ShowAbout);

  auto* details = new QLabel(this);
  details->setObjectName("details");
  details->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  details->setMargin(12);
  details->setTextInteractionFlags(Qt::TextSelectableByMouse);
  details->setText("Database: " + QString::fromStdString(MaskedConnectionString(connectionString)) +
                   "\nAdd-in folder: " + QString::fromStdString(addinFolder_.string()));
  setCentralWidget(details);
  statusBar();
  resize(720, 420);
  LoadAddins();
}

QMenu& HostWindow::Menu(const QString& caption) {
  for (QAction* action : menuBar()->actions()) {
    if (action->menu() != nullptr &&
        WithoutAccelerator(action->text()).compare(caption, Qt::CaseInsensitive) == 0) {
      return *action->menu();
    }
  }
  QMenu* menu = Showable(new QMenu(caption, menuBar()));
  menuBar()->insertMenu(help_->menuAction(), menu);
  return *menu;
}

void HostWindow::LoadAddins() {
  for (QAction* action : addinActions_) delete action;
  addinActions_.clear();
  addins_ = LoadInstalledAddins();
  for (const Addin& addin : addins_) {
    if (!addin.hasMenuItem) continue;
    QMenu& menu = Menu(QString::fromStdString(addin.menuParent));
    QAction* action = menu.addAction(QString::fromStdString(addin.menuCaption));
    action->setStatusTip(QString::fromStdString(addin.menuHint));
    action->setEnabled(addin.menuEnabled && addin.action);
    IHostAction* target = addin.action.Get();
    connect(action, &QAction::triggered, this, [this, target] { Execute(target); });
    addinActions_.push_back(action);
  }
}

void HostWindow::Execute(IHostAction* action) {
  if (const std::optional<std::string> failure = ExecuteAddin(*action)) ShowError(*failure);
}

void HostWindow::InstallAddinFromDialog() {
  const QString module = QFileDialog::getOpenFileName(this, "Install Add-in",
                                                      QString::fromStdString(addinFolder_.string()),
                                                      "Add-in modules (*.so);;All files (*)");
  if (!module.isEmpty()) Install(module.toStdString());
}

void HostWindow::Install(const std::filesystem::path& module) {
  try {
    InstallAddin(module);
  } catch (const std::exception& error) {
    ShowError(error.what());
    return;
  }
  LoadAddins();
  statusBar()->showMessage("Installed " + QString::fromStdString(module.filename().string()));
}

void HostWindow::ShowAbout() {
  AboutAddinsDialog about(addins_, this);
  about.exec();
}

}  // namespace velmora::host
