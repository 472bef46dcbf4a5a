// The stimulus kit: every file listed exists with the size, frames or sound format stated and
// fits the layout; the generator is deterministic, skips up-to-date work, refuses bad content.

#include <QtGui>
#include <QtTest>
#include <cmath>

namespace {
QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The lines of manifest.txt: path, kind (png, gif, wav), width, height, frames, seconds, about.
QList<QStringList> manifestOf(const QString &kit)
{
    QList<QStringList> lines;
    for (const QString &line : QString::fromUtf8(fileBytes(kit + "/manifest.txt")).split('\n', Qt::SkipEmptyParts))
        if (!line.startsWith('#'))
            lines << line.split('\t');
    return lines;
}

// Runs the generator with PATH set to bin; its exit code, -1 when it did not run.
int runGenerator(const QString &content, const QString &out, const QStringList &only, QString *err = nullptr,
                 const QString &bin = qEnvironmentVariable("PATH"))
{
    QStringList args{"--content", content, "--out", out};
    for (const QString &pattern : only)
        args << "--only" << pattern;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", bin);
    p.setProcessEnvironment(env);
    p.start(KITGEN_PATH, args);
    const bool ran = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit;
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    return ran ? p.exitCode() : -1;
}
}

class TestKitGen : public QObject
{
    Q_OBJECT

    const QString kit = qEnvironmentVariable("RUMBOLO_KIT_DIR");
    QList<QStringList> manifest;

    QSize sizeOf(const QString &picture) const { return QImageReader(kit + "/images/" + picture).size(); }

private slots:
    void initTestCase()
    {
        manifest = manifestOf(kit);
        QVERIFY2(manifest.size() > 200, "no kit manifest in RUMBOLO_KIT_DIR (build the rumbolo-kit target)");
        // Every picture and prompt of the kit is listed, once.
        QSet<QString> listed;
        for (const QStringList &e : qAsConst(manifest)) {
            QVERIFY2(e.size() == 7 && !listed.contains(e[0]), qPrintable("bad or repeated line " + e.join(' ')));
            listed << e[0];
        }
        QDirIterator it(kit, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString relative = QDir(kit).relativeFilePath(it.next());
            const bool stimulus = relative.startsWith("images/") || relative.startsWith("sounds/");
            QVERIFY2(!stimulus || listed.contains(relative), qPrintable(relative + " is not listed"));
        }
    }

    void entry_data()
    {
        QTest::addColumn<QStringList>("e");
        for (const QStringList &e : qAsConst(manifest))
            QTest::newRow(qPrintable(e[0])) << e;
    }

    void entry()
    {
        QFETCH(QStringList, e);
        const QString file = kit + "/" + e[0], kind = e[1];
        QVERIFY2(QFileInfo(file).isFile(), "listed but missing");
        if (kind == "wav") {
            // A prompt as the player reads it: a plain 44-byte header, then 44100 Hz mono 16-bit samples.
            const QByteArray all = fileBytes(file);
            QVERIFY(e[0].startsWith("sounds/") && all.size() >= 44 && all.startsWith("RIFF"));
            // "WAVEfmt ", a 16-byte format (PCM, mono, 44100 Hz, 88200 bytes/s, 2-byte blocks, 16 bits), "data".
            QCOMPARE(all.mid(8, 32).toHex(' '), QByteArray::fromHex("57415645666d7420" "10000000" "01000100" "44ac0000"
                                                                   "88580100" "02001000" "64617461").toHex(' '));
            QCOMPARE(qFromLittleEndian<quint32>(all.data() + 4), all.size() - 8u); // sizes written when it was closed
            QCOMPARE(qFromLittleEndian<quint32>(all.data() + 40), all.size() - 44u);
            const int samples = (all.size() - 44) / 2;
            int peak = 0;
            double sum = 0;
            for (int i = 0; i < samples; ++i) {
                const int v = qFromLittleEndian<qint16>(all.constData() + 44 + 2 * i);
                peak = qMax(peak, qAbs(v));
                sum += double(v) * v;
            }
            // Shorter prompts never report their end in the player.
            QVERIFY2(samples > 0.3 * 44100, qPrintable(QString("%1 samples").arg(samples)));
            QVERIFY2(peak > 3000 && std::sqrt(sum / samples) > 100, qPrintable(QString("nearly silent: peak %1").arg(peak)));
            QCOMPARE(e[5].toDouble(), std::round(samples / 441.0) / 100);
            return;
        }
        QVERIFY(e[0].startsWith("images/") && (kind == "png" || kind == "gif") && e[0].endsWith("." + kind));
        QImageReader reader(file);
        QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
        QCOMPARE(reader.size(), QSize(e[2].toInt(), e[3].toInt()));
        // A size in the file name is the size the layout relies on.
        const QRegularExpressionMatch m = QRegularExpression("(\\d+)x(\\d+)\\.png$").match(e[0]);
        if (m.hasMatch())
            QCOMPARE(reader.size(), QSize(m.captured(1).toInt(), m.captured(2).toInt()));
        QVERIFY2(kind == "png" || reader.imageCount() > 1, "an animation needs several frames");
        QCOMPARE(kind == "png" ? 1 : reader.imageCount(), e[4].toInt());
    }

    // Each picture fits the room the screens give it; a picture shown in another's
    // place (a button's inactive look, a drumstick striking) has its size; where
    // a word or a touch area lies, the picture is drawn.
    void pictureFitsItsPlace_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("sameAs");
        QTest::addColumn<QSize>("room"); // the picture's size when exact
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QRect>("drawn");
        const QSize strip(1920, 64), screen(1366, 768), dialogButton(338 - 38, 44); // 44 px apart, 38 px in
        // The strip spans a full-HD screen; the dialog is centred on its picture's size.
        QTest::newRow("toolbar strip") << "barraHerramientas.png" << "" << strip << true << QRect();
        QTest::newRow("example button") << "boton_ejemplo.png" << "boton_play_desactivado.png" << strip << false << QRect();
        QTest::newRow("test button") << "boton_prueba.png" << "boton_play_desactivado.png" << strip << false << QRect();
        QTest::newRow("next button") << "boton_siguiente.png" << "boton_siguiente_off.png" << strip << false << QRect();
        QTest::newRow("recording icon") << "icono_grabacion.png" << "" << strip << false << QRect();
        QTest::newRow("sounding icon") << "icono_sonando.png" << "" << strip << false << QRect();
        QTest::newRow("check above the strip's bottom") << "check_verde.png" << "" << QSize(1920, 54) << false << QRect();
        QTest::newRow("abort dialog") << "omitir/fondo.png" << "" << QSize(338, 163) << true << QRect();
        for (const QString button : {"omitir_prueba", "omitir_aplicacion", "continuar"})
            QTest::newRow(qPrintable(button)) << "omitir/" + button + "_on.png" << "omitir/" + button + "_off.png"
                                              << dialogButton << false << QRect();
        for (const QString side : {"izq", "der"})
            QTest::newRow(qPrintable("drumstick " + side)) << "CF1A/baqueta_" + side + "_arriba.png"
                                            << "CF1A/baqueta_" + side + "_abajo.png" << screen << false << QRect();
        // A 24-point word of six letters centred on (140, 50) lies on the bubble.
        QTest::newRow("speech bubble") << "FP1A/bocadillo.png" << "" << screen << false << QRect(80, 34, 121, 33);
        for (int page = 1; page <= 4; ++page)
            for (int y : {493, 528, 565}) // the answer lines, under their touch areas
                QTest::addRow("comprehension page %d at %d", page, y) << QString("CL2A/cl2a_p0%1.png").arg(page)
                    << "CL2A/cuento.png" << screen << false << QRect(130, y, 320, 35).adjusted(4, 6, -4, -6);
    }

    void pictureFitsItsPlace()
    {
        QFETCH(QString, picture);
        QFETCH(QString, sameAs);
        QFETCH(QSize, room);
        QFETCH(bool, exact);
        QFETCH(QRect, drawn);
        const QImage image(kit + "/images/" + picture);
        QVERIFY(!image.isNull() && image.width() <= room.width() && image.height() <= room.height());
        QVERIFY(!exact || image.size() == room);
        QCOMPARE(sizeOf(sameAs.isEmpty() ? picture : sameAs), image.size());
        QVERIFY(drawn.isNull() || image.rect().contains(drawn));
        for (int y = drawn.top(); y <= drawn.bottom(); ++y)
            for (int x = drawn.left(); x <= drawn.right(); ++x)
                QVERIFY2(qAlpha(image.pixel(x, y)) >= 250, qPrintable(QString("transparent at %1,%2").arg(x).arg(y)));
        QVERIFY(!picture.contains("bocadillo") || qGray(image.pixel(140, 50)) > 200); // the word is written on white
    }

    void generatorIsDeterministicAndSkipsUpToDateWork()
    {
        const QStringList sample{"images/CF2A/goma230x230.png", "images/friends.gif", "sounds/PA2A/m.wav",
                                 "images/TT1A/cuento_900x498.png", "images/CL2A/cl2a_p01.png"};
        // A run of its own makes the very files of the build's run.
        QTemporaryDir first;
        QCOMPARE(runGenerator(KITGEN_CONTENT, first.path(), sample), 0);
        for (const QString &path : sample) {
            const QByteArray made = fileBytes(first.filePath(path));
            QVERIFY2(!made.isEmpty() && made == fileBytes(kit + "/" + path), qPrintable(path + " differs between runs"));
        }
        // A second run leaves files that are up to date untouched.
        const QString sound = first.filePath("sounds/PA2A/m.wav"), gif = first.filePath("images/friends.gif");
        const QDateTime soundTime = QFileInfo(sound).lastModified(), gifTime = QFileInfo(gif).lastModified();
        QCOMPARE(runGenerator(KITGEN_CONTENT, first.path(), sample), 0);
        QCOMPARE(QFileInfo(sound).lastModified(), soundTime);
        QCOMPARE(QFileInfo(gif).lastModified(), gifTime);
        // Its manifest lists exactly what it was asked for.
        QCOMPARE(manifestOf(first.path()).size(), sample.size());
    }

    // Content that would give the tests wrong pictures, or a speech or sound tool
    // that is missing or fails half-way: the run fails, says why, and leaves
    // neither a manifest nor a half-made prompt.
    void generatorRefuses_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("only");
        QTest::addColumn<QString>("message");
        QTest::newRow("sentence item with another right picture") << "cl1a_items.tsv" << "👧@0.5,0.7,0.46\ta"
            << "👧@0.5,0.7,0.46\tc" << "images/CL1A/*" << "cl1a_items.tsv";
        QTest::newRow("recognition key that is no picture") << "cf_items.tsv" << "conejo\tcorona\tboleta\tcadena\tcorona"
            << "conejo\tcorona\tboleta\tcadena\tcorbata" << "images/CF2A/*" << "none of its pictures";
        QTest::newRow("option without a picture") << "things.tsv" << "\ngoma\t" << "\ngomita\t" << "images/CF2A/goma*"
                                                  << "no picture of \"goma\"";
        QTest::newRow("emoji the font lacks") << "things.tsv" << "corona\t👑" << "corona\t\uE000"
                                              << "images/CF2A/corona*" << "no glyph";
        QTest::newRow("answer too long for its line") << "texts/cl2a_preguntas.tsv" << "En un lago."
            << "En un lago muy lejano, al otro lado de las montañas." << "images/CL2A/*" << "too long";
        QTest::newRow("scene part with an unknown flag") << "things.tsv" << "🪲@0.5,0.5,0.7,t#7a4a23"
            << "🪲@0.5,0.5,0.7,q" << "images/CF3A/pulga*" << "unknown flag";
        QTest::newRow("unknown sound effect") << "prompts.tsv" << "effect\tdrum" << "effect\tgong" << "sounds/CF1A/*"
                                              << "unknown sound effect";
        // The tools of a run making prompts and a picture, one of them broken.
        QTest::newRow("speech synthesiser missing") << "" << "espeak-ng" << "" << "" << "cannot start espeak-ng";
        QTest::newRow("sound converter failing") << "" << "sox" << "#!/bin/sh\nfor a in \"$@\"; do case \"$a\" in "
            "*.part) echo half > \"$a\";; esac; done\necho broken >&2\nexit 3\n" << "" << "failed (exit 3)";
    }

    void generatorRefuses()
    {
        QFETCH(QString, file);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, only);
        QFETCH(QString, message);
        QTemporaryDir content, bin, out;
        QString path = qEnvironmentVariable("PATH");
        if (!file.isEmpty()) {
            QCOMPARE(QProcess::execute("cp", {"-r", KITGEN_CONTENT "/.", content.path()}), 0);
            QString text = QString::fromUtf8(fileBytes(content.filePath(file)));
            QVERIFY2(text.contains(from), "the mutation no longer applies to the content");
            QFile f(content.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.replace(from, to).toUtf8()) > 0);
        } else {
            // A folder of programs holding the real tools but the broken one, which is
            // missing, or (to) a script that starts writing its output, then fails.
            for (const QString name : {"espeak-ng", "sox", "convert"}) {
                const QString real = QStandardPaths::findExecutable(name);
                QVERIFY2(!real.isEmpty(), qPrintable(name + " is not installed"));
                QVERIFY(name == from || QFile::link(real, bin.filePath(name)));
            }
            QFile script(bin.filePath(from));
            QVERIFY(to.isEmpty() || (script.open(QIODevice::WriteOnly) && script.write(to.toUtf8()) > 0
                                     && script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner)));
            script.close();
            path = bin.path();
        }
        QString err;
        const QStringList patterns = only.isEmpty() ? QStringList{"sounds/PA2A/*", "images/PA1A/a.png"} : QStringList{only};
        QCOMPARE(runGenerator(file.isEmpty() ? KITGEN_CONTENT : content.path(), out.path(), patterns, &err, path), 1);
        QVERIFY2(err.contains(message), qPrintable(err));
        QVERIFY2(!QFile::exists(out.filePath("manifest.txt")), "a failed run must not leave a manifest");
        QDirIterator left(out.filePath("sounds"), QDir::Files, QDirIterator::Subdirectories);
        QVERIFY2(!left.hasNext(), qPrintable((left.hasNext() ? left.next() : "") + " is left where the prompts belong"));
    }
};

QTEST_GUILESS_MAIN(TestKitGen)
#include "tst_kitgen.moc"
