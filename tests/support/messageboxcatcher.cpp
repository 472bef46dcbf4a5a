#include "messageboxcatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

MessageBoxCatcher::MessageBoxCatcher(QObject *parent)
    : QObject(parent)
{
    connect(&timer, &QTimer::timeout, this, &MessageBoxCatcher::poll);
    timer.start(10);
}

void MessageBoxCatcher::poll()
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (!box)
            continue;
        if (!box->isVisible()) {
            box->setProperty("caught", false); // the same box may be shown again
            continue;
        }
        if (box->property("caught").toBool())
            continue;
        box->setProperty("caught", true);
        seen << box->text();
        QPointer<QMessageBox> guard(box);
        QTimer::singleShot(0, box, [guard] {
            if (!guard)
                return;
            QAbstractButton *button = guard->defaultButton();
            if (!button && !guard->buttons().isEmpty())
                button = guard->buttons().first();
            if (button)
                button->click();
            else
                guard->done(QMessageBox::Ok);
        });
    }
}

bool MessageBoxCatcher::waitForMessages(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return seen.size() >= count; }, timeoutMs);
}
