// The program speaks Japanese whatever the desktop's language, so Qt's texts (はい, いいえ,
// キャンセル) are loaded in Japanese too; without the translation Qt's English ones show.
#include "ui/framework/UiApplication.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/Product.h"

namespace lumicrate::ui {

void SetUpApplication(QApplication& app) {
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  auto* translator = new QTranslator(&app);
  if (translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
  QApplication::setApplicationName(QStringLiteral("lumicrate"));
  QGuiApplication::setDesktopFileName(QString::fromUtf8(kDesktopFileId));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/lumicrate.svg")));
}

} // namespace lumicrate::ui
