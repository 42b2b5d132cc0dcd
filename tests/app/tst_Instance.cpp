// One copy per user: a second start of the program ends at once, without a
// window, while the first keeps running.
#include "ui/base/U_Host.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestInstance : public QObject {
    Q_OBJECT

private slots:
    void secondProgramEndsSilently()
    {
        // A copy of the program in a folder of its own: what it keeps beside
        // itself (settings, the default document) goes there and no further.
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QTemporaryDir home;
        const QString program = home.filePath("RK54Win");
        QVERIFY(QFile::copy(RK54WIN_PATH, program));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("HOME", home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        const auto start = [&](QProcess& process) {
            process.setProcessEnvironment(env);
            process.setWorkingDirectory(home.path());
            process.start(program, {});
        };

        QProcess first;
        start(first);
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(runtime.filePath("RK54Win.lock")), 10000);

        QProcess second;
        start(second);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardOutput().isEmpty());
        QCOMPARE(first.state(), QProcess::Running);

        first.kill();
        first.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestInstance)
#include "tst_Instance.moc"
