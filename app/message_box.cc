#include "app/message_box.h"

#include <QMessageBox>

#include "window/qt/box_text.h"

namespace cmdgen {

void PresentInMessageBox(std::string_view caption, std::string_view text) {
  QString report = FromText(text);
  report.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  // No owner window: the box stands on its own, modal to the whole program.
  QMessageBox box(QMessageBox::Critical, FromText(caption), report, QMessageBox::Ok, nullptr);
  box.setObjectName(QStringLiteral("FatalReport"));
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace cmdgen
