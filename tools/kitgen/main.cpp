// Generates the stimulus kit: every picture and prompt the tests show and play.
//   rumbolo-kitgen --content <tools/kitgen/content> --out <kit folder>
//                  [--only <path pattern>]... [--jobs <n>] [--verbose]

#include "kitgenerator.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>
#include <QThread>

namespace {
void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    // The generator needs no runtime directory; Qt's note about it is noise here.
    if (message.startsWith("QStandardPaths:"))
        return;
    QTextStream(stderr) << message << "\n";
    if (type == QtFatalMsg)
        abort();
}
}

int main(int argc, char *argv[])
{
    // Pictures are drawn off screen; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName("rumbolo-kitgen");

    QCommandLineParser parser;
    parser.setApplicationDescription("Generates the stimulus kit (images/, sounds/, manifest.txt).");
    parser.addHelpOption();
    const QCommandLineOption content("content", "Folder of the kit's content tables and texts.", "folder");
    const QCommandLineOption out("out", "Folder to write the kit into.", "folder");
    const QCommandLineOption only("only", "Make only the paths matching this wildcard pattern (repeatable).", "pattern");
    const QCommandLineOption jobs("jobs", "External programs to run at once.", "n",
                                  QString::number(qMax(2, QThread::idealThreadCount())));
    const QCommandLineOption verbose("verbose", "Tell about removed stale files.");
    parser.addOptions({content, out, only, jobs, verbose});
    parser.process(app);

    if (!parser.isSet(content) || !parser.isSet(out)) {
        QTextStream(stderr) << "kitgen: --content and --out are required\n";
        return 2;
    }
    KitGenerator::Options options;
    options.contentFolder = parser.value(content);
    options.outputFolder = parser.value(out);
    options.only = parser.values(only);
    options.parallel = qMax(1, parser.value(jobs).toInt());
    options.verbose = parser.isSet(verbose);

    KitGenerator generator(options);
    QString error;
    if (!generator.run(&error)) {
        QTextStream(stderr) << "kitgen: " << error << "\n";
        return 1;
    }
    return 0;
}
