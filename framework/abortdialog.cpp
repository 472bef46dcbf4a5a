#include "abortdialog.h"

#include "hoverableclickableimage.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

AbortDialog::AbortDialog(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , skipTestButton(nullptr)
    , skipAllButton(nullptr)
    , continueButton(nullptr)
{
    setStyleSheet(QString("background-image:url(%1)").arg("images/omitir/fondo.png"));
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(338, 163);

    skipTestButton = new HoverableClickableImage("images/omitir/omitir_prueba_off.png",
                                                 "images/omitir/omitir_prueba_on.png", this);
    skipAllButton = new HoverableClickableImage("images/omitir/omitir_aplicacion_off.png",
                                                "images/omitir/omitir_aplicacion_on.png", this);
    continueButton = new HoverableClickableImage("images/omitir/continuar_off.png",
                                                 "images/omitir/continuar_on.png", this);
    skipTestButton->setActive(false);
    skipAllButton->setActive(false);
    continueButton->setActive(false);

    skipTestButton->move(38, 17);
    skipAllButton->move(38, 61);
    continueButton->move(38, 105);

    connect(skipTestButton, &ClickableImage::clicked, this, &AbortDialog::requestAbortOne);
    connect(skipAllButton, &ClickableImage::clicked, this, &AbortDialog::requestAbortAll);
    connect(continueButton, &ClickableImage::clicked, this, &AbortDialog::requestCancel);
}

void AbortDialog::requestAbortOne()
{
    hide();
    emit abortOne();
}

void AbortDialog::requestAbortAll()
{
    hide();
    emit abortAll();
}

void AbortDialog::requestCancel()
{
    hide();
}

void AbortDialog::keyPressEvent(QKeyEvent *event)
{
    // Every key is consumed here: answer keys must not reach the test behind.
    event->accept();
    if (event->key() == Qt::Key_Escape)
        requestCancel();
}

void AbortDialog::paintEvent(QPaintEvent *)
{
    // A plain QWidget subclass draws its style sheet background only this way.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void AbortDialog::hideEvent(QHideEvent *event)
{
    // The button that was under the pointer when the dialog closed must not
    // stay clickable into the next showing: all three rest inactive again.
    skipTestButton->setActive(false);
    skipAllButton->setActive(false);
    continueButton->setActive(false);
    QWidget::hideEvent(event);
}
