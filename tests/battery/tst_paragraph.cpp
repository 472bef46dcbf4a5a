#include "lineinparagraph.h"
#include "paragraph.h"
#include "wordinparagraph.h"

#include <QFontMetrics>
#include <QSignalSpy>
#include <QtTest>

// The touchable text shared by the word recognition and oral comprehension
// tests: how lines are split and laid out, and when a touched word is
// underlined and reported.
class TestParagraph : public QObject
{
    Q_OBJECT

private:
    static QStringList texts(const LineInParagraph *line)
    {
        QStringList result;
        for (const WordInParagraph *word : line->words())
            result << word->text();
        return result;
    }

    static void press(QWidget *w)
    {
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    }

private slots:
    void linesAreSplitAtEveryBlank();
    void wordsAndLinesAreLaidOut();
    void touchingWords_data();
    void touchingWords();
};

void TestParagraph::linesAreSplitAtEveryBlank()
{
    Paragraph paragraph;
    paragraph.addLine("y mi mamá. Fui");
    paragraph.addLine("dos  blancos");
    paragraph.addLine("¿Sí o no? ¿Por qué?");
    QCOMPARE(paragraph.lines().size(), 3);
    QCOMPARE(texts(paragraph.lines().at(0)), QStringList({"y", "mi", "mamá.", "Fui"}));
    QCOMPARE(texts(paragraph.lines().at(1)), QStringList({"dos", "", "blancos"}));
    QCOMPARE(texts(paragraph.lines().at(2)),
             QStringList({QString::fromUtf8("¿Sí"), "o", "no?", QString::fromUtf8("¿Por"), QString::fromUtf8("qué?")}));
}

void TestParagraph::wordsAndLinesAreLaidOut()
{
    QWidget holder;
    auto *paragraph = new Paragraph(&holder);
    paragraph->addLine("Hola, soy Ana.");
    paragraph->addLine("comprar el pan para tomar once");
    paragraph->layoutLines();

    int bottom = 0;
    int widest = 0;
    for (const LineInParagraph *line : paragraph->lines()) {
        QCOMPARE(line->pos(), QPoint(0, bottom));
        int x = 0;
        for (const WordInParagraph *word : line->words()) {
            QCOMPARE(word->font().pointSize(), 36);
            const QRect bounds = QFontMetrics(word->font()).boundingRect(word->text());
            QCOMPARE(word->size(), QSize(bounds.width() + 20, bounds.height()));
            QCOMPARE(word->pos(), QPoint(x, 0));
            x += word->width();
            QCOMPARE(line->height(), word->height());
        }
        QCOMPARE(line->width(), x);
        bottom += line->height() + 20;
        widest = qMax(widest, x);
    }
    QCOMPARE(paragraph->size(), QSize(widest, bottom));
}

void TestParagraph::touchingWords_data()
{
    QTest::addColumn<bool>("selectable");
    QTest::addColumn<bool>("disableFirst");
    QTest::addColumn<int>("presses");
    QTest::addColumn<bool>("underlined");
    QTest::addColumn<int>("reported");

    QTest::newRow("selectable, once") << true << false << 1 << true << 1;
    QTest::newRow("selectable, twice") << true << false << 2 << true << 1;
    // The word still underlines itself; the paragraph keeps it to itself.
    QTest::newRow("not selectable") << false << false << 1 << true << 0;
    QTest::newRow("disabled") << true << true << 1 << false << 0;
}

void TestParagraph::touchingWords()
{
    QFETCH(bool, selectable);
    QFETCH(bool, disableFirst);
    QFETCH(int, presses);
    QFETCH(bool, underlined);
    QFETCH(int, reported);

    QWidget holder;
    auto *paragraph = new Paragraph(&holder);
    paragraph->addLine("y mi mamá. Fui");
    paragraph->layoutLines();
    holder.show();
    QVERIFY(!paragraph->isSelectable());
    paragraph->setSelectableWord(selectable);
    if (disableFirst)
        paragraph->disableAllWords();
    QSignalSpy spy(paragraph, &Paragraph::clicked);

    WordInParagraph *word = paragraph->lines().first()->words().at(2);
    for (int i = 0; i < presses; ++i)
        press(word);

    QCOMPARE(word->isUnderlined(), underlined);
    QCOMPARE(word->font().underline(), underlined);
    QCOMPARE(spy.count(), reported);
    if (reported)
        QCOMPARE(spy.first().first().toString(), QString::fromUtf8("mamá."));
    QVERIFY(!paragraph->lines().first()->words().at(1)->isUnderlined());
}

QTEST_MAIN(TestParagraph)
#include "tst_paragraph.moc"
