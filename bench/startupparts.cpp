#include "startupparts.h"

#include "abortdialog.h"
#include "adminwindow.h"
#include "databasemanager.h"
#include "formsubject.h"
#include "formsubjectingroup.h"
#include "formsync.h"
#include "formwelcome.h"
#include "gamecf1a.h"
#include "gamecf2a.h"
#include "gamecf2b.h"
#include "gamecf3a.h"
#include "gamecf3b.h"
#include "gamecl1a.h"
#include "gamecl2a.h"
#include "gameco1a.h"
#include "gamefp1a.h"
#include "gamefp2a.h"
#include "gamepa1a.h"
#include "gamepa2a.h"
#include "gamerv1a.h"
#include "gamett1a.h"
#include "gamevd.h"
#include "soundplayer.h"
#include "stimuluskit.h"
#include "voicerecorder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QNetworkAccessManager>

#include <functional>
#include <memory>
#include <vector>

QList<StartupParts::Part> StartupParts::measure()
{
    QList<Part> parts;
    std::vector<std::unique_ptr<QObject>> keep;
    auto time = [&](const QString &name, bool before, const std::function<void()> &work) {
        QElapsedTimer clock;
        clock.start();
        work();
        parts << Part{name, clock.nsecsElapsed() / 1e6, before};
    };
    auto make = [&](const QString &name, bool before, const std::function<QObject *()> &construct) {
        time(name, before, [&] { keep.emplace_back(construct()); });
    };

    // On the way to the first frame, in the constructor's order.
    time("materials check", true, [] { StimulusKit::missingIn(QDir::current()); });
    QLockFile lock(QDir::current().filePath("rumbolo.lock"));
    time("instance lock", true, [&] { lock.tryLock(0); });
    time("folders", true, [] { QDir().mkpath("grabaciones") && QDir().mkpath("envios"); });
    auto *database = new DatabaseManager();
    make("DatabaseManager::openDatabase (new file)", true, [&] {
        database->openDatabase();
        return database;
    });
    make("AdminWindow (menu, colours, logos, welcome page)", true, [] { return new AdminWindow(); });

    // Built after the first frame.
    make("FormWelcome (a second one)", false, [] { return new FormWelcome(); });
    make("FormSubject", false, [] { return new FormSubject(); });
    make("FormSubjectInGroup", false, [] { return new FormSubjectInGroup(); });
    // The upload page's network access manager, on its own: its first
    // construction in a process sets up Qt's network configuration.
    make("QNetworkAccessManager (first)", false, [] { return new QNetworkAccessManager(); });
    make("FormSync", false, [] { return new FormSync(); });
    make("AbortDialog", false, [] { return new AbortDialog(); });
    make("VoiceRecorder (input device)", false, [] { return new VoiceRecorder(); });
    make("SoundPlayer", false, [] { return new SoundPlayer(); });
    make("GameVD", false, [] { return new GameVD(); });
    make("GamePA1A", false, [] { return new GamePA1A(); });
    make("GamePA2A", false, [] { return new GamePA2A(); });
    make("GameCF1A", false, [] { return new GameCF1A(); });
    make("GameCF2A", false, [] { return new GameCF2A(); });
    make("GameCF2B", false, [] { return new GameCF2B(); });
    make("GameCF3A", false, [] { return new GameCF3A(); });
    make("GameCF3B", false, [] { return new GameCF3B(); });
    make("GameRV1A", false, [] { return new GameRV1A(); });
    make("GameTT1A", false, [] { return new GameTT1A(); });
    make("GameCO1A", false, [] { return new GameCO1A(); });
    make("GameFP1A", false, [] { return new GameFP1A(); });
    make("GameCL1A", false, [] { return new GameCL1A(); });
    make("GameFP2A", false, [] { return new GameFP2A(); });
    make("GameCL2A", false, [] { return new GameCL2A(); });

    // The database once more, as every start after the first finds it.
    keep.clear();
    make("DatabaseManager::openDatabase (existing file)", true, [] {
        auto *again = new DatabaseManager();
        again->openDatabase();
        return again;
    });
    return parts;
}
