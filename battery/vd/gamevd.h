#ifndef GAMEVD_H
#define GAMEVD_H

#include "gamewindow.h"

#include <QList>
#include <QStringList>

class ImageLabel;

// Naming speed ("VD1A"): the child names a row of familiar pictures as fast as
// possible. The examiner shows three example pictures, then the six test
// pictures; the test phase is recorded and timed, and the examiner's click on
// the next button ends it. Logged: "TIME" (milliseconds of the test phase), then
// "FILE" (the recording's name).
class GameVD : public GameWindow
{
    Q_OBJECT

public:
    explicit GameVD(QWidget *parent = nullptr);

    // Every picture this test shows.
    static QStringList resourcePaths();

    // The pictures, left to right, for tests that observe the screen.
    QList<ImageLabel *> getExamplePictures() const { return examplePictures; }
    QList<ImageLabel *> getTestPictures() const { return testPictures; }

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QList<ImageLabel *> examplePictures;
    QList<ImageLabel *> testPictures;
};

#endif // GAMEVD_H
