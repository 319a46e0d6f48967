// SPDX-License-Identifier: GPL-3.0-or-later
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
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
    void privateFolders_data();
    void privateFolders();
    void anUnsafeFolderMeansNoOtherCopy();
    void defaultFolder_data();
    void defaultFolder();
    void terminationSignalsRemoveTheLock_data();
    void terminationSignalsRemoveTheLock();
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
}

// What stands at the path before the check, and whether the check accepts it.
void InstanceLockTest::privateFolders_data() {
    QTest::addColumn<QString>("planted");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("nothing: created") << "nothing" << true;
    QTest::newRow("own folder 0700") << "folder 0700" << true;
    QTest::newRow("own folder 0777") << "folder 0777" << false;
    QTest::newRow("own folder 0750") << "folder 0750" << false;
    QTest::newRow("link to an own 0700 folder") << "link" << false;
    QTest::newRow("dangling link") << "dangling link" << false;
    QTest::newRow("file") << "file" << false;
    QTest::newRow("another user's folder") << "foreign folder" << false;
}

void InstanceLockTest::privateFolders() {
    QFETCH(QString, planted);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    const QString path = dir.filePath("instances");
    const QByteArray name = QFile::encodeName(path);
    const QByteArray real = QFile::encodeName(dir.filePath("real"));
    if (planted.startsWith("folder")) {
        QCOMPARE(::mkdir(name.constData(), 0700), 0);
        QCOMPARE(::chmod(name.constData(), planted.mid(7).toUInt(nullptr, 8)), 0);
    } else if (planted == "link") {
        QCOMPARE(::mkdir(real.constData(), 0700), 0);
        QCOMPARE(::symlink(real.constData(), name.constData()), 0);
    } else if (planted == "dangling link") {
        QCOMPARE(::symlink(real.constData(), name.constData()), 0);
    } else if (planted == "file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (planted == "foreign folder") {
        if (::geteuid() != 0) {
            QSKIP("only root can give a folder to another user");
        }
        QCOMPARE(::mkdir(name.constData(), 0700), 0);
        QCOMPARE(::chown(name.constData(), 65534, 65534), 0);
    }
    QCOMPARE(InstanceLock::PrivateFolder(path), accepted);
    if (planted == "dangling link") {
        QVERIFY(!QFileInfo::exists(dir.filePath("real")));  // not created through the link
    }
}

// Another user who could write into the folder could make every copy look
// alone, or one always see a copy: such a folder is not used at all.
void InstanceLockTest::anUnsafeFolderMeansNoOtherCopy() {
    QTemporaryDir dir;
    const QString folder = dir.filePath("instances");
    Copy first(folder);
    QVERIFY(!first.sawAnother());
    QVERIFY(QFile::setPermissions(folder, QFile::Permissions(0x7777)));  // rwx for all
    InstanceLock second(folder);
    QVERIFY(!second.anotherInstanceRunning());
    QCOMPARE(LockFiles(folder), 1);  // it took no lock there either
    first.quit();
}

void InstanceLockTest::defaultFolder_data() {
    QTest::addColumn<QString>("runtime");  // "" unset, "private" an own 0700 folder, "open" 0777
    QTest::addColumn<bool>("inRuntime");
    QTest::newRow("unset") << "" << false;
    QTest::newRow("private") << "private" << true;
    QTest::newRow("open to all") << "open" << false;
}

void InstanceLockTest::defaultFolder() {
    QFETCH(QString, runtime);
    QFETCH(bool, inRuntime);
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir dir;
    const QString folder = dir.filePath("runtime");
    QVERIFY(QDir().mkdir(folder));
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), runtime == "open" ? 0777 : 0700), 0);
    if (runtime.isEmpty()) {
        qunsetenv("XDG_RUNTIME_DIR");
    } else {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
    }
    const QString chosen = InstanceLock::DefaultFolder();
    qputenv("XDG_RUNTIME_DIR", saved);
    QCOMPARE(chosen,
             inRuntime ? folder + "/veltrane-instances"
                       : QDir::tempPath() + "/veltrane-instances-" + QString::number(::geteuid()));
}

void InstanceLockTest::terminationSignalsRemoveTheLock_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

// The real program, ended by a signal, ends as its exit actions do: status 0
// and its lock file gone.
void InstanceLockTest::terminationSignalsRemoveTheLock() {
    QFETCH(int, signal);
    QTemporaryDir runtime;
    QVERIFY(QFile::setPermissions(runtime.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(VELTRANE_PROGRAM), {});
    QVERIFY(program.waitForStarted());
    const QString folder = runtime.filePath("veltrane-instances");
    QTRY_COMPARE_WITH_TIMEOUT(LockFiles(folder), 1, 10000);
    ::kill(static_cast<pid_t>(program.processId()), signal);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(LockFiles(folder), 0);
}

QTEST_GUILESS_MAIN(InstanceLockTest)
#include "instance_lock_test.moc"
