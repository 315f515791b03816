#pragma once
#include "serial/RsParaSet.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace quillon::test {

// Answers the port dialog that the next connect command opens: the port
// and speed typed in, then its connect button.
inline void AnswerPortDialog(const QString& port, const QString& baud = QStringLiteral("115200"))
{
    QTimer::singleShot(0, [port, baud] {
        auto* dialog = qobject_cast<CRsParaSet*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->findChild<QComboBox*>("port")->setEditText(port);
        dialog->findChild<QComboBox*>("baud")->setEditText(baud);
        dialog->findChild<QPushButton*>("connect")->click();
    });
}

}  // namespace quillon::test
