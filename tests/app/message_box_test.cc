// The fatal error report's message box, looked at and closed by the test
// itself while it is shown.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/message_box.h"

namespace cmdgen {

class MessageBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheReportUntilOkIsClicked() {
    struct Seen {
      QString title, text;
      QMessageBox::Icon icon = QMessageBox::NoIcon;
      QList<QAbstractButton*> buttons;
      QWidget* parent = nullptr;
      Qt::WindowModality modality = Qt::NonModal;
      bool found = false;
    } seen;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      poll.stop();
      seen = {box->windowTitle(),  box->text(),           box->icon(), box->buttons(),
              box->parentWidget(), box->windowModality(), true};
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    poll.start();
    PresentInMessageBox("错误", "运行时出错!\r\n\r\n错误信息：分配 8 字节内存失败!\r\n");
    QVERIFY(seen.found);
    QCOMPARE(seen.title, QStringLiteral("错误"));
    QCOMPARE(seen.text, QStringLiteral("运行时出错!\n\n错误信息：分配 8 字节内存失败!\n"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.buttons.size(), 1);
    QCOMPARE(seen.parent, nullptr);
    QCOMPARE(seen.modality, Qt::ApplicationModal);
  }
};

}  // namespace cmdgen

QTEST_MAIN(cmdgen::MessageBoxTest)
#include "message_box_test.moc"
