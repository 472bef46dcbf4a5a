#include "formwelcome.h"

#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

// The welcome text as it reads (precomposed); what the page stores is compared with it.
class TestFormWelcome : public QObject
{
    Q_OBJECT

private slots:
    void paragraphs()
    {
        const QStringList paragraphs{
            "Rumbolo es un test diseñado para apoyar la evaluación de la competencia lectora en estudiantes de "
            "Pre-Kínder a 4o Básico. Si usted desea evaluar a un niño de forma individual, seleccione la alternativa "
            "“Evaluación Individual” e ingrese los datos que se solicitan.",
            "Si hay un caso que usted quiere evaluar con mayor profundidad, puede seleccionar la opción “Evaluación "
            "Completa” para aplicar todas las pruebas de Rumbolo y no solo las asignadas a determinado nivel escolar. "
            "Por ejemplo, si usted evalúa a un niño de 3° Básico y en las pruebas evaluadas se indica un nivel de "
            "intervención, es decir, se observa un rendimiento bajo lo esperado, usted puede aplicar todas las pruebas "
            "y comparar el desempeño del evaluado con niños de otros niveles escolares.",
            "Si usted desea evaluar a un grupo de niños y comparar entre sí sus rendimientos, seleccione la "
            "alternativa “Evaluación Grupal” e ingrese los datos que se solicitan.",
            "Para esto usted deberá asignar un código correspondiente al grupo evaluado. Por ejemplo, 3A-2013. "
            "Asegúrese de usar el mismo código al ingresar los datos de cada niño que usted desee que forme parte del "
            "grupo comparativo.",
            "Para calificar y obtener el reporte una vez finalizada la aplicación, usted debe enviar los datos de la "
            "evaluación al Sistema Automático de Corrección. Para esto seleccione la opción “Enviar al servidor”, "
            "complete los datos que se solicitan y luego presione el botón “Enviar”.",
            "Si desea más información, por favor consulte su manual.",
        };
        const QList<QStringList> bold{{"“Evaluación Individual”"}, {"“Evaluación Completa”"},
                                      {"“Evaluación Grupal”"},     {},
                                      {"“Enviar al servidor”", "“Enviar”"}, {}};

        FormWelcome page;
        const QTextDocument *document = page.findChild<QTextBrowser *>("textBrowser")->document();
        // Separated by empty paragraphs; the first five are stored with decomposed
        // accents, the last one precomposed: both read alike.
        QStringList stored;
        for (int i = 0; i < 6; ++i)
            stored << (i < 5 ? paragraphs[i].normalized(QString::NormalizationForm_D) : paragraphs[i]);
        QCOMPARE(document->toPlainText(), stored.join("\n\n"));
        QVERIFY(stored[0] != paragraphs[0]);

        QTextBlock block = document->begin();
        for (int i = 0; i < 6; ++i, block = block.next().next()) {
            QVERIFY(block.blockFormat().alignment() & Qt::AlignJustify);
            QStringList boldRuns;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                QCOMPARE(it.fragment().charFormat().fontPointSize(), 8.0);
                if (it.fragment().charFormat().fontWeight() > QFont::Normal)
                    boldRuns << it.fragment().text().normalized(QString::NormalizationForm_C);
            }
            QCOMPARE(boldRuns, bold[i]);
        }
    }
};

QTEST_MAIN(TestFormWelcome)
#include "tst_formwelcome.moc"
