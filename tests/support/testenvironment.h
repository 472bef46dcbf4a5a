#ifndef TESTENVIRONMENT_H
#define TESTENVIRONMENT_H

#include <QtTest>

// What a test needs from the machine (the X display, the audio server, a tool, the
// stimulus kit, a sandbox). When it is missing, the test fails and says what was
// missing: a test that checked nothing must never read as a pass. A developer who
// runs one test by hand without scripts/test.sh's services may set
// RUMBOLO_TESTS_MAY_SKIP=1 to have it skipped instead; scripts/test.sh clears it.
#define REQUIRE_ENVIRONMENT(condition, missing)                                                            \
    do {                                                                                                   \
        if (!(condition)) {                                                                                \
            const QByteArray rumboloMissing = QByteArray("missing from this machine: ") + (missing);       \
            if (qEnvironmentVariableIntValue("RUMBOLO_TESTS_MAY_SKIP") == 1)                               \
                QSKIP(rumboloMissing.constData());                                                         \
            QFAIL(rumboloMissing.constData());                                                             \
        }                                                                                                  \
    } while (false)

#endif // TESTENVIRONMENT_H
