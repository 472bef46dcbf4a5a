#include "messageboxcatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

MessageBoxCatcher::MessageBoxCatcher(QObject *parent, int pollMs)
    : QObject(parent)
{
    connect(&timer, &QTimer::timeout, this, &MessageBoxCatcher::poll);
    timer.start(pollMs);
}

void MessageBoxCatcher::poll()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (!box || box->property("caught").toBool() == box->isVisible())
            continue;
        box->setProperty("caught", box->isVisible()); // the same box may be shown again
        if (!box->isVisible())
            continue;
        seen << box->text();
        emit appeared(box->text());
        QTimer::singleShot(0, box, [guard = QPointer<QMessageBox>(box)] {
            if (!guard)
                return;
            QAbstractButton *button = guard->defaultButton();
            if (!button && !guard->buttons().isEmpty())
                button = guard->buttons().first();
            button ? button->click() : guard->done(QMessageBox::Ok);
        });
    }
}

bool MessageBoxCatcher::waitForMessages(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return seen.size() >= count; }, timeoutMs);
}
