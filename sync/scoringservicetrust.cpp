#include "scoringservicetrust.h"

#include "scoringserviceaddress.h"

#include <QDebug>
#include <QSslCertificate>
#include <QSslConfiguration>

QString ScoringServiceTrust::extraAuthority()
{
    return QStringLiteral(RUMBOLO_SCORING_SERVICE_CA);
}

bool ScoringServiceTrust::apply()
{
    const QString path = extraAuthority();
    if (path.isEmpty())
        return true;
    // Read when the program starts: the local service makes its authority on
    // its first start, which may come after the build.
    const QList<QSslCertificate> authority = QSslCertificate::fromPath(path, QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
    if (authority.isEmpty()) {
        qDebug().noquote() << "[scoring service] no certificate authority in" << path
                           << "(start the local scoring service as scripts/run.sh does); the service will not be trusted";
        return false;
    }
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.addCaCertificates(authority);
    QSslConfiguration::setDefaultConfiguration(tls);
    return true;
}
