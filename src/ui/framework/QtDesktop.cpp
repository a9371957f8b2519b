// Only web addresses and files that exist are handed to the desktop, so no other kind of
// address (a script, a custom scheme) is ever opened on the program's behalf.
#include "ui/framework/QtDesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "app/ActivityLog.h"

namespace lumicrate::ui {
namespace {

QMessageBox::Icon ToQt(BoxIcon icon) {
  switch (icon) {
  case BoxIcon::Exclamation:
    return QMessageBox::Warning;
  case BoxIcon::Question:
    return QMessageBox::Question;
  case BoxIcon::Information:
    break;
  }
  return QMessageBox::Information;
}

QString BoxText(const QString& text) {
  return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

void QtDesktop::Inform(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon) {
  QMessageBox box(ToQt(icon), caption, BoxText(text), QMessageBox::Ok, owner);
  box.exec();
}

bool QtDesktop::AskYesNo(QWidget* owner, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::Question, caption, BoxText(text), QMessageBox::Yes | QMessageBox::No, owner);
  return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDesktop::Choose(QWidget* owner, const QString& title, const QString& initialFolder) {
  const QString folder = QFileDialog::getExistingDirectory(owner, title, initialFolder);
  if (folder.isEmpty()) {
    return std::nullopt;
  }
  return folder;
}

void QtDesktop::OpenWithShell(const std::string& fileOrAddress) {
  QUrl url;
  switch (ClassifyShellTarget(fileOrAddress)) {
  case ShellTarget::WebAddress:
    url = QUrl(QString::fromStdString(fileOrAddress));
    break;
  case ShellTarget::File:
    url = QUrl::fromLocalFile(QString::fromStdString(fileOrAddress));
    break;
  case ShellTarget::Refused:
    Log().Write("開けないため開きません = \"%s\"", fileOrAddress.c_str());
    return;
  }
  QMetaObject::invokeMethod(
      qApp, [url] { QDesktopServices::openUrl(url); }, Qt::AutoConnection);
}

} // namespace lumicrate::ui
