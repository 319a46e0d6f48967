#include <signal.h>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/instance_lock.h"

using veltrane::InstanceLock;

namespace {

// A running copy, started for real.
class Copy {
  public:
    explicit Copy(const QString& folder) {
        process_.setProgram(QStringLiteral(INSTANCE_PROBE));
        process_.setArguments({folder});
        process_.start();
    }
    ~Copy() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    // What the copy's start-up check answered.
    bool sawAnother() {
        if (!process_.waitForReadyRead(10000)) {
            return false;
        }
        answer_ = QString::fromLatin1(process_.readLine()).trimmed();
        return answer_ == QStringLiteral("another=1");
    }
    QString answer() const { return answer_; }
    void quit() {
        process_.write("\n");
        process_.closeWriteChannel();
        QVERIFY(process_.waitForFinished(10000));
        QCOMPARE(process_.exitCode(), 0);
    }
    void killHard() {
        ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
        QVERIFY(process_.waitForFinished(10000));
    }

  private:
    QProcess process_;
    QString answer_;
};

int LockFiles(const QString& folder) {
    return static_cast<int>(QDir(folder).entryList({"instance-*.lock"}, QDir::Files).size());
}

}  // namespace

class InstanceLockTest : public QObject {
    Q_OBJECT
  private slots:
    void everyLiveCopyCounts();
    void killedCopiesClaimNothing();
    void foldersDoNotMix();
    void inProcess();
};

// 1 runs; 2 sees it; 1 ends; 3 still sees 2.
void InstanceLockTest::everyLiveCopyCounts() {
    QTemporaryDir dir;
    const QString folder = dir.filePath("instances");
    Copy first(folder);
    QVERIFY(!first.sawAnother());
    Copy second(folder);
    QVERIFY(second.sawAnother());
    first.quit();
    Copy third(folder);
    QVERIFY2(third.sawAnother(), qPrintable(third.answer()));
    second.quit();
    third.quit();
    Copy fourth(folder);
    QVERIFY(!fourth.sawAnother());
    fourth.quit();
    QCOMPARE(LockFiles(folder), 0);
}

void InstanceLockTest::killedCopiesClaimNothing() {
    QTemporaryDir dir;
    const QString folder = dir.filePath("instances");
    Copy first(folder);
    QVERIFY(!first.sawAnother());
    Copy second(folder);
    QVERIFY(second.sawAnother());
    first.killHard();
    second.killHard();
    QCOMPARE(LockFiles(folder), 2);  // left behind, but no longer locked
    Copy third(folder);
    QVERIFY(!third.sawAnother());
    QCOMPARE(LockFiles(folder), 1);  // the stale files were swept
    third.quit();
}

// Each user has a runtime folder of their own; copies of others never count.
void InstanceLockTest::foldersDoNotMix() {
    QTemporaryDir dir;
    Copy mine(dir.filePath("user-a"));
    QVERIFY(!mine.sawAnother());
    Copy theirs(dir.filePath("user-b"));
    QVERIFY(!theirs.sawAnother());
    QCOMPARE(QFile::permissions(dir.filePath("user-a")) & (QFile::ReadOther | QFile::ReadGroup),
             QFile::Permissions());
    mine.quit();
    theirs.quit();
}

void InstanceLockTest::inProcess() {
    QTemporaryDir dir;
    auto a = std::make_unique<InstanceLock>(dir.path());
    QVERIFY(!a->anotherInstanceRunning());
    QVERIFY(!a->anotherInstanceRunning());  // asking again does not count itself
    InstanceLock b(dir.path());
    QVERIFY(b.anotherInstanceRunning());
    a->release();
    a.reset();
    QVERIFY(!b.anotherInstanceRunning());
    QVERIFY(InstanceLock::DefaultFolder().endsWith("/veltrane-instances"));
}

QTEST_GUILESS_MAIN(InstanceLockTest)
#include "instance_lock_test.moc"
