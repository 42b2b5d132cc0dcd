// One copy per user: a second start of the program ends at once, without a
// window, while the first keeps running.
#include "ui/base/U_Host.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestInstance : public QObject {
    Q_OBJECT

private slots:
    void lockIsHeldOncePerFolder()
    {
        QTemporaryDir dir;
        TSingleInstance first(dir.path());
        TSingleInstance second(dir.path());
        QVERIFY(first.Acquire());
        QVERIFY(!second.Acquire());
        QTemporaryDir other;
        TSingleInstance elsewhere(other.path());
        QVERIFY(elsewhere.Acquire());
    }

    void secondProgramEndsSilently()
    {
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");

        QProcess first;
        first.setProcessEnvironment(env);
        first.start(RK54WIN_PATH, {});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(runtime.filePath("RK54Win.lock")), 10000);

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(RK54WIN_PATH, {});
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
