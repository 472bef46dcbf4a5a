#include "formwelcome.h"

#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>

// The welcome text as it reads (precomposed); what the page stores is compared with it.
class TestFormWelcome : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void paragraphs_data();
    void paragraphs();
    void paragraphsAreSeparatedByEmptyOnes();

private:
    QList<QTextBlock> blocks() const;

    FormWelcome *page = nullptr;
};

void TestFormWelcome::initTestCase()
{
    page = new FormWelcome();
}

void TestFormWelcome::cleanupTestCase()
{
    delete page;
}

QList<QTextBlock> TestFormWelcome::blocks() const
{
    QList<QTextBlock> list;
    const QTextDocument *document = page->findChild<QTextBrowser *>("textBrowser")->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        list << block;
    return list;
}

void TestFormWelcome::paragraphs_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("decomposed");
    QTest::addColumn<QStringList>("bold");

    QTest::newRow("1 individual evaluation")
        << 1
        << QString::fromUtf8("Rumbolo es un test diseñado para apoyar la evaluación de la competencia lectora en "
                             "estudiantes de Pre-Kínder a 4o Básico. Si usted desea evaluar a un niño de forma "
                             "individual, seleccione la alternativa “Evaluación Individual” e ingrese los datos que "
                             "se solicitan.")
        << true << QStringList{QString::fromUtf8("“Evaluación Individual”")};
    QTest::newRow("2 full evaluation")
        << 2
        << QString::fromUtf8("Si hay un caso que usted quiere evaluar con mayor profundidad, puede seleccionar la "
                             "opción “Evaluación Completa” para aplicar todas las pruebas de Rumbolo y no solo las "
                             "asignadas a determinado nivel escolar. Por ejemplo, si usted evalúa a un niño de 3° "
                             "Básico y en las pruebas evaluadas se indica un nivel de intervención, es decir, se "
                             "observa un rendimiento bajo lo esperado, usted puede aplicar todas las pruebas y "
                             "comparar el desempeño del evaluado con niños de otros niveles escolares.")
        << true << QStringList{QString::fromUtf8("“Evaluación Completa”")};
    QTest::newRow("3 group evaluation")
        << 3
        << QString::fromUtf8("Si usted desea evaluar a un grupo de niños y comparar entre sí sus rendimientos, "
                             "seleccione la alternativa “Evaluación Grupal” e ingrese los datos que se solicitan.")
        << true << QStringList{QString::fromUtf8("“Evaluación Grupal”")};
    QTest::newRow("4 group code")
        << 4
        << QString::fromUtf8("Para esto usted deberá asignar un código correspondiente al grupo evaluado. Por "
                             "ejemplo, 3A-2013. Asegúrese de usar el mismo código al ingresar los datos de cada niño "
                             "que usted desee que forme parte del grupo comparativo.")
        << true << QStringList();
    QTest::newRow("5 sending")
        << 5
        << QString::fromUtf8("Para calificar y obtener el reporte una vez finalizada la aplicación, usted debe "
                             "enviar los datos de la evaluación al Sistema Automático de Corrección. Para esto "
                             "seleccione la opción “Enviar al servidor”, complete los datos que se solicitan y luego "
                             "presione el botón “Enviar”.")
        << true << QStringList{QString::fromUtf8("“Enviar al servidor”"), QString::fromUtf8("“Enviar”")};
    QTest::newRow("6 manual")
        << 6 << QString::fromUtf8("Si desea más información, por favor consulte su manual.") << false
        << QStringList();
}

void TestFormWelcome::paragraphs()
{
    QFETCH(int, number);
    QFETCH(QString, text);
    QFETCH(bool, decomposed);
    QFETCH(QStringList, bold);

    const QList<QTextBlock> all = blocks();
    const int index = (number - 1) * 2;
    QVERIFY(index < all.size());
    const QTextBlock block = all.at(index);

    // Both forms read alike; the stored characters differ.
    QCOMPARE(block.text().normalized(QString::NormalizationForm_C), text);
    if (decomposed) {
        QCOMPARE(block.text(), text.normalized(QString::NormalizationForm_D));
        QVERIFY(block.text() != text);
    } else {
        QCOMPARE(block.text(), text);
    }

    QVERIFY(block.blockFormat().alignment() & Qt::AlignJustify);

    QStringList boldRuns;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        QCOMPARE(fragment.charFormat().fontPointSize(), 8.0);
        if (fragment.charFormat().fontWeight() > QFont::Normal)
            boldRuns << fragment.text().normalized(QString::NormalizationForm_C);
    }
    QCOMPARE(boldRuns, bold);
}

void TestFormWelcome::paragraphsAreSeparatedByEmptyOnes()
{
    const QList<QTextBlock> all = blocks();
    QCOMPARE(all.size(), 11);
    for (int i = 1; i < all.size(); i += 2)
        QCOMPARE(all.at(i).text(), QString());
}

QTEST_MAIN(TestFormWelcome)
#include "tst_formwelcome.moc"
