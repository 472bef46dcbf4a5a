#ifndef ABORTDIALOG_H
#define ABORTDIALOG_H

#include <QWidget>

class HoverableClickableImage;

// The dialog the examiner opens with Escape during a test: skip this test,
// abandon the whole evaluation, or go back to the test. A frameless,
// application-modal top-level window of 338 x 163 pixels showing three picture
// buttons on its background picture. Every way out hides it; Escape hides it
// without any signal and every other key is swallowed so that it never reaches
// the test behind.
class AbortDialog : public QWidget
{
    Q_OBJECT

public:
    explicit AbortDialog(QWidget *parent = nullptr);

    HoverableClickableImage *getSkipTestButton() const { return skipTestButton; }
    HoverableClickableImage *getSkipAllButton() const { return skipAllButton; }
    HoverableClickableImage *getContinueButton() const { return continueButton; }

signals:
    void abortOne();
    void abortAll();

public slots:
    void requestAbortOne();
    void requestAbortAll();
    void requestCancel();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    HoverableClickableImage *skipTestButton;
    HoverableClickableImage *skipAllButton;
    HoverableClickableImage *continueButton;
};

#endif // ABORTDIALOG_H
