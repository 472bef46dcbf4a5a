// The stimulus kit: every file the generator lists exists and has the size,
// frames or sound format stated; the pictures fit the screen layout that
// places them; the generator is deterministic, skips work that is up to date,
// and refuses content that would give the tests wrong pictures.

#include "kitmanifest.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <cmath>

namespace {
struct Wav {
    QString fault;  // empty when the file is a proper prompt
    double seconds = 0;
    int peak = 0;
    double rms = 0;
};

// Reads a prompt as the player does: a plain 44-byte header, then raw samples.
Wav readPrompt(const QString &path)
{
    Wav w;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        w.fault = "cannot be read";
        return w;
    }
    const QByteArray all = f.readAll();
    if (all.size() < 44) {
        w.fault = "shorter than a header";
        return w;
    }
    const char *h = all.constData();
    auto u16 = [&](int at) { return qFromLittleEndian<quint16>(h + at); };
    auto u32 = [&](int at) { return qFromLittleEndian<quint32>(h + at); };
    if (all.left(4) != "RIFF" || all.mid(8, 4) != "WAVE" || all.mid(12, 4) != "fmt " || u32(16) != 16
        || all.mid(36, 4) != "data")
        w.fault = "header is not the plain 44-byte form";
    else if (u16(20) != 1 || u16(22) != 1 || u32(24) != 44100 || u16(34) != 16 || u32(28) != 88200 || u16(32) != 2)
        w.fault = "format is not 44100 Hz mono 16-bit PCM";
    else if (u32(40) != quint32(all.size() - 44) || u32(4) != quint32(all.size() - 8))
        w.fault = "chunk sizes do not match the file";
    const int samples = (all.size() - 44) / 2;
    w.seconds = samples / 44100.0;
    double sum = 0;
    for (int i = 0; i < samples; ++i) {
        const int v = qFromLittleEndian<qint16>(h + 44 + 2 * i);
        w.peak = qMax(w.peak, qAbs(v));
        sum += double(v) * v;
    }
    w.rms = samples ? std::sqrt(sum / samples) : 0;
    return w;
}

QSize pictureSize(const QString &path)
{
    QImageReader reader(path);
    return reader.canRead() ? reader.size() : QSize();
}

bool opaqueRect(const QImage &image, const QRect &r)
{
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (qAlpha(image.pixel(x, y)) < 250)
                return false;
        }
    }
    return true;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs the generator; returns its exit code (-1 when it did not run).
int runGenerator(const QString &content, const QString &out, const QStringList &only, QString *stderrText = nullptr,
                 const QString &path = QString())
{
    QStringList args{"--content", content, "--out", out};
    for (const QString &pattern : only)
        args << "--only" << pattern;
    QProcess p;
    if (!path.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PATH", path);
        p.setProcessEnvironment(env);
    }
    p.start(KITGEN_PATH, args);
    if (!p.waitForFinished(120000))
        return -1;
    if (stderrText)
        *stderrText = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + "/" + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(file, target))
            return false;
    }
    return true;
}
}

class TestKitGen : public QObject
{
    Q_OBJECT

private:
    KitManifest manifest;
    QString kit;

    QSize sizeOf(const QString &path) { return pictureSize(kit + "/" + path); }

private slots:
    void initTestCase()
    {
        kit = KitManifest::kitDirectory();
        QVERIFY2(!kit.isEmpty(), "RUMBOLO_KIT_DIR is not set");
        QString error;
        QVERIFY2(manifest.load(kit, &error), qPrintable(error));
        QVERIFY(manifest.entries().size() > 200);
    }

    void entry_data()
    {
        QTest::addColumn<int>("index");
        const QList<KitManifest::Entry> &entries = manifest.entries();
        for (int i = 0; i < entries.size(); ++i)
            QTest::newRow(qPrintable(entries[i].path)) << i;
    }

    void entry()
    {
        QFETCH(int, index);
        const KitManifest::Entry &e = manifest.entries().at(index);
        const QString file = kit + "/" + e.path;
        QVERIFY2(QFileInfo(file).isFile(), "listed but missing");
        if (e.kind == "wav") {
            QVERIFY(e.path.startsWith("sounds/"));
            const Wav w = readPrompt(file);
            QVERIFY2(w.fault.isEmpty(), qPrintable(w.fault));
            // Shorter prompts never report their end in the player.
            QVERIFY2(w.seconds > 0.3, qPrintable(QString("lasts %1 s").arg(w.seconds)));
            QVERIFY2(w.peak > 3000 && w.rms > 100, qPrintable(QString("nearly silent: peak %1").arg(w.peak)));
            QCOMPARE(e.seconds, std::round(w.seconds * 100) / 100);
            return;
        }
        QVERIFY(e.path.startsWith("images/"));
        QVERIFY(e.kind == "png" || e.kind == "gif");
        QVERIFY(e.path.endsWith("." + e.kind));
        QImageReader reader(file);
        QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
        QCOMPARE(reader.size(), QSize(e.width, e.height));
        // A size in the file name is the size the layout relies on.
        static const QRegularExpression stated("(\\d+)x(\\d+)\\.png$");
        const QRegularExpressionMatch m = stated.match(e.path);
        if (m.hasMatch())
            QCOMPARE(reader.size(), QSize(m.captured(1).toInt(), m.captured(2).toInt()));
        if (e.kind == "gif") {
            QVERIFY2(reader.imageCount() > 1, "an animation needs several frames");
            QCOMPARE(reader.imageCount(), e.frames);
        } else {
            QCOMPARE(e.frames, 1);
        }
    }

    void nothingUnlisted()
    {
        for (const QString &tree : {QString("images"), QString("sounds")}) {
            QDirIterator it(kit + "/" + tree, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString relative = QDir(kit).relativeFilePath(it.next());
                QVERIFY2(manifest.contains(relative), qPrintable(relative + " is not in the manifest"));
            }
        }
    }

    void toolbarFitsTheStrip()
    {
        const QSize strip = sizeOf("images/barraHerramientas.png");
        QVERIFY2(strip.width() >= 1920, "the strip must span a full-HD screen");
        const int T = strip.height();
        const QSize example = sizeOf("images/boton_ejemplo.png");
        const QSize test = sizeOf("images/boton_prueba.png");
        const QSize next = sizeOf("images/boton_siguiente.png");
        // A button shows its inactive picture in the size of its active one.
        QCOMPARE(sizeOf("images/boton_play_desactivado.png"), example);
        QCOMPARE(sizeOf("images/boton_play_desactivado.png"), test);
        QCOMPARE(sizeOf("images/boton_siguiente_off.png"), next);
        for (const QSize &s : {example, test, next})
            QVERIFY(s.height() > 0 && s.height() <= T);

        // Horizontal places the test window gives the buttons and indicators.
        const int exampleX = 10, testX = example.width() + 20, nextX = example.width() + 3 * test.width() + 30;
        QVERIFY(exampleX + example.width() < testX);
        QVERIFY(testX + test.width() < nextX);
        for (const char *name : {"images/icono_grabacion.png", "images/icono_sonando.png"}) {
            const QSize icon = sizeOf(name);
            QVERIFY2(icon.height() > 0 && icon.height() <= T, name);
            QVERIFY2(nextX + next.width() < strip.width() - icon.width() - 10, name);
        }
        // The check sits 10 px above the strip's bottom: it must not stick out above it.
        const QSize check = sizeOf("images/check_verde.png");
        QVERIFY(check.height() > 0 && check.height() + 10 <= T);
    }

    void abortDialogButtonsFitTheBackground()
    {
        QCOMPARE(sizeOf("images/omitir/fondo.png"), QSize(338, 163));
        const int ys[3] = {17, 61, 105};
        const char *names[3] = {"omitir_prueba", "omitir_aplicacion", "continuar"};
        for (int i = 0; i < 3; ++i) {
            const QSize off = sizeOf(QString("images/omitir/%1_off.png").arg(names[i]));
            const QSize on = sizeOf(QString("images/omitir/%1_on.png").arg(names[i]));
            QCOMPARE(on, off);
            QVERIFY2(on.isValid() && 38 + on.width() <= 338 && ys[i] + on.height() <= 163, names[i]);
            QVERIFY2(on.height() <= 44, "buttons 44 px apart must not overlap");
        }
    }

    void speechBubbleHoldsAWord()
    {
        const QImage bubble(kit + "/images/FP1A/bocadillo.png");
        QVERIFY(!bubble.isNull());
        // A 24-point word of six letters centred on (140, 50) lies on the bubble.
        QVERIFY(bubble.rect().contains(QRect(80, 34, 121, 33)));
        QVERIFY(opaqueRect(bubble, QRect(80, 34, 121, 33)));
        QVERIFY(qGray(bubble.pixel(140, 50)) > 200);
    }

    void comprehensionPagesCoverTheAnswerAreas()
    {
        const QSize story = sizeOf("images/CL2A/cuento.png");
        QVERIFY(story.isValid());
        const int ys[3] = {493, 528, 565};
        for (int page = 1; page <= 4; ++page) {
            const QImage image(kit + QString("/images/CL2A/cl2a_p0%1.png").arg(page));
            QCOMPARE(image.size(), story);
            for (int y : ys) {
                const QRect area(130, y, 320, 35);
                QVERIFY(image.rect().contains(area));
                // The answer line is drawn where its touch area lies.
                QVERIFY(opaqueRect(image, area.adjusted(4, 6, -4, -6)));
            }
        }
    }

    void drumsticksKeepTheirPlaceWhenStriking()
    {
        // Up and down pictures share one position computed from both sizes.
        QCOMPARE(sizeOf("images/CF1A/baqueta_izq_arriba.png"), sizeOf("images/CF1A/baqueta_izq_abajo.png"));
        QCOMPARE(sizeOf("images/CF1A/baqueta_der_arriba.png"), sizeOf("images/CF1A/baqueta_der_abajo.png"));
        QVERIFY(sizeOf("images/CF1A/tambor.png").isValid());
    }

    void generatorIsDeterministicAndSkipsUpToDateWork()
    {
        const QStringList sample{"images/CF2A/goma230x230.png", "images/friends.gif", "sounds/PA2A/m.wav",
                                 "images/TT1A/cuento_900x498.png", "images/CL2A/cl2a_p01.png"};
        QTemporaryDir first, second;
        QCOMPARE(runGenerator(KITGEN_CONTENT, first.path(), sample), 0);
        QCOMPARE(runGenerator(KITGEN_CONTENT, second.path(), sample), 0);
        for (const QString &path : sample) {
            const QByteArray made = fileBytes(first.path() + "/" + path);
            QVERIFY2(!made.isEmpty(), qPrintable(path));
            QVERIFY2(made == fileBytes(second.path() + "/" + path), qPrintable(path + " differs between runs"));
            QVERIFY2(made == fileBytes(kit + "/" + path), qPrintable(path + " differs from the build's kit"));
        }
        // A second run leaves files that are up to date untouched.
        const QString sound = first.path() + "/sounds/PA2A/m.wav";
        const QString gif = first.path() + "/images/friends.gif";
        const QDateTime soundTime = QFileInfo(sound).lastModified(), gifTime = QFileInfo(gif).lastModified();
        QCOMPARE(runGenerator(KITGEN_CONTENT, first.path(), sample), 0);
        QCOMPARE(QFileInfo(sound).lastModified(), soundTime);
        QCOMPARE(QFileInfo(gif).lastModified(), gifTime);
        // Its manifest lists exactly what it was asked for.
        KitManifest partial;
        QString error;
        QVERIFY2(partial.load(first.path(), &error), qPrintable(error));
        QCOMPARE(partial.entries().size(), sample.size());
    }

    void generatorRefusesBadContent_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("only");
        QTest::addColumn<QString>("message");
        QTest::newRow("sentence item with another right picture")
            << "cl1a_items.tsv" << "👧@0.5,0.7,0.46\ta" << "👧@0.5,0.7,0.46\tc" << "images/CL1A/*" << "cl1a_items.tsv";
        QTest::newRow("recognition key that is no picture")
            << "cf_items.tsv" << "conejo\tcorona\tboleta\tcadena\tcorona" << "conejo\tcorona\tboleta\tcadena\tcorbata"
            << "images/CF2A/*" << "none of its pictures";
        QTest::newRow("option without a picture")
            << "things.tsv" << "\ngoma\t" << "\ngomita\t" << "images/CF2A/goma*" << "no picture of \"goma\"";
        QTest::newRow("emoji the font lacks")
            << "things.tsv" << "corona\t👑" << "corona\t\uE000" << "images/CF2A/corona*" << "no glyph";
        QTest::newRow("answer too long for its line")
            << "texts/cl2a_preguntas.tsv" << "En un lago." << "En un lago muy lejano, al otro lado de las montañas."
            << "images/CL2A/*" << "too long";
        QTest::newRow("scene part with an unknown flag")
            << "things.tsv" << "🪲@0.5,0.5,0.7,t#7a4a23" << "🪲@0.5,0.5,0.7,q" << "images/CF3A/pulga*" << "unknown flag";
        QTest::newRow("unknown sound effect")
            << "prompts.tsv" << "effect\tdrum" << "effect\tgong" << "sounds/CF1A/*" << "unknown sound effect";
    }

    void generatorRefusesBadContent()
    {
        QFETCH(QString, file);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, only);
        QFETCH(QString, message);
        QTemporaryDir content, out;
        QVERIFY(copyTree(KITGEN_CONTENT, content.path()));
        QFile f(content.path() + "/" + file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(f.readAll());
        f.close();
        QVERIFY2(text.contains(from), "the mutation no longer applies to the content");
        text.replace(from, to);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        f.close();

        QString stderrText;
        QCOMPARE(runGenerator(content.path(), out.path(), {only}, &stderrText), 1);
        QVERIFY2(stderrText.contains(message), qPrintable(stderrText));
        QVERIFY2(!QFile::exists(out.path() + "/manifest.txt"), "a failed run must not leave a manifest");
    }

    void generatorReportsBrokenTools_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("message");
        QTest::newRow("speech synthesiser missing") << "espeak-ng" << false << "cannot start espeak-ng";
        QTest::newRow("sound converter failing") << "sox" << true << "failed (exit 3)";
    }

    void generatorReportsBrokenTools()
    {
        QFETCH(QString, tool);
        QFETCH(bool, present);
        QFETCH(QString, message);
        // A folder of programs holding the real tools, less the broken one.
        QTemporaryDir bin, out;
        for (const QString &name : {QString("espeak-ng"), QString("sox"), QString("convert")}) {
            if (name == tool)
                continue;
            const QString real = QStandardPaths::findExecutable(name);
            QVERIFY2(!real.isEmpty(), qPrintable(name + " is not installed"));
            QVERIFY(QFile::link(real, bin.filePath(name)));
        }
        if (present) {
            QFile script(bin.filePath(tool));
            QVERIFY(script.open(QIODevice::WriteOnly));
            // It starts writing its output, then fails.
            script.write("#!/bin/sh\nfor a in \"$@\"; do case \"$a\" in *.part) echo half > \"$a\";; esac; done\n"
                         "echo broken >&2\nexit 3\n");
            script.close();
            QVERIFY(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }
        QString stderrText;
        QCOMPARE(runGenerator(KITGEN_CONTENT, out.path(), {"sounds/PA2A/*", "images/PA1A/a.png"}, &stderrText, bin.path()), 1);
        QVERIFY2(stderrText.contains(message), qPrintable(stderrText));
        QVERIFY(!QFile::exists(out.path() + "/manifest.txt"));
        // Nothing half-made is left where the prompts belong.
        QStringList left;
        QDirIterator it(out.path() + "/sounds", QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            left << it.next();
        QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
    }
};

QTEST_GUILESS_MAIN(TestKitGen)
#include "tst_kitgen.moc"
