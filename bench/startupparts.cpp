#include "startupparts.h"

#include "abortdialog.h"
#include "adminwindow.h"
#include "databasemanager.h"
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
#include "voicerecorder.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QNetworkAccessManager>

#include <functional>
#include <memory>
#include <vector>

QList<QPair<QString, double>> StartupParts::measure()
{
    QList<QPair<QString, double>> parts;
    std::vector<std::unique_ptr<QObject>> keep;
    auto time = [&](const QString &name, const std::function<QObject *()> &make) {
        QElapsedTimer clock;
        clock.start();
        keep.emplace_back(make());
        parts << qMakePair(name, clock.nsecsElapsed() / 1e6);
    };

    auto *database = new DatabaseManager();
    time("DatabaseManager", [&] { return database; });
    // The upload page's network access manager, on its own: its first
    // construction in a process sets up Qt's network configuration.
    time("QNetworkAccessManager (first)", [] { return new QNetworkAccessManager(); });
    time("AdminWindow", [] { return new AdminWindow(); });
    time("AbortDialog", [] { return new AbortDialog(); });
    time("GameVD", [] { return new GameVD(); });
    time("GamePA1A", [] { return new GamePA1A(); });
    time("GamePA2A", [] { return new GamePA2A(); });
    time("GameCF1A", [] { return new GameCF1A(); });
    time("GameCF2A", [] { return new GameCF2A(); });
    time("GameCF2B", [] { return new GameCF2B(); });
    time("GameCF3A", [] { return new GameCF3A(); });
    time("GameCF3B", [] { return new GameCF3B(); });
    time("GameRV1A", [] { return new GameRV1A(); });
    time("GameTT1A", [] { return new GameTT1A(); });
    time("GameCO1A", [] { return new GameCO1A(); });
    time("GameFP1A", [] { return new GameFP1A(); });
    time("GameCL1A", [] { return new GameCL1A(); });
    time("GameFP2A", [] { return new GameFP2A(); });
    time("GameCL2A", [] { return new GameCL2A(); });
    time("QMessageBox", [] { return new QMessageBox(); });
    time("VoiceRecorder", [] { return new VoiceRecorder(); });
    time("SoundPlayer", [] { return new SoundPlayer(); });
    QElapsedTimer clock;
    clock.start();
    database->openDatabase();
    parts << qMakePair(QString("DatabaseManager::openDatabase (new file)"), clock.nsecsElapsed() / 1e6);
    return parts;
}
