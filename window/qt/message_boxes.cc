#include "window/qt/message_boxes.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "window/qt/box_text.h"

namespace cmdgen {
namespace {

QString BoxText(std::string_view text) {
  QString shown = FromText(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

// The window's language is Chinese, and the program loads no translation of
// Qt's own button texts, so the buttons are named here, with the mnemonics
// that Chinese Windows gives them.
void NameButton(QMessageBox& box, QMessageBox::StandardButton which, const char* text) {
  if (QAbstractButton* button = box.button(which)) button->setText(QString::fromUtf8(text));
}

}  // namespace

bool AskInMessageBox(QWidget* parent, std::string_view caption, std::string_view text) {
  QMessageBox box(QMessageBox::Question, FromText(caption), BoxText(text),
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setObjectName(QStringLiteral("RunQuestion"));
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  NameButton(box, QMessageBox::Yes, "是(&Y)");
  NameButton(box, QMessageBox::No, "否(&N)");
  // A slip of Enter or Esc must not start a run of millions of blocks.
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void TellInMessageBox(QWidget* parent, std::string_view caption, std::string_view text) {
  QMessageBox box(QMessageBox::Warning, FromText(caption), BoxText(text), QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("RunRefusal"));
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  NameButton(box, QMessageBox::Ok, "确定");
  box.exec();
}

MessageBoxes RealMessageBoxes() { return {&AskInMessageBox, &TellInMessageBox}; }

}  // namespace cmdgen
