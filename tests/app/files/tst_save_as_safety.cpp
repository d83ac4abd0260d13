// Save As on the real disk, headless: the sheet is never written over the
// open database, whatever the name it is reached by (a symbolic link, a hard
// link, a relative path), and a write that fails for want of space is
// reported and claims no success.
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/file_system_local.h"
#include "sheet/grid.h"
#include "support/small_file_system.h"
#include "ui/main_menus.h"
#include "window_fixture.h"

namespace {

const QString kTestMdb = QStringLiteral(TABLESCOPE_TESTDATA "/mdb-reader/V2003/test.mdb");

// The settings live in memory as in every window test; the files the user
// saves go to the real disk, where links and full disks are.
class DiskSaveFileSystem : public app::MemoryFileSystem {
  public:
    bool fileExists(const QString& path) const override {
        return MemoryFileSystem::fileExists(path) || disk_.fileExists(path);
    }
    jet::Status replaceFile(const QString& path, const QByteArray& data) override {
        return disk_.replaceFile(path, data);
    }

  private:
    app::LocalFileSystem disk_;
};

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class SaveAsSafetyTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void fault6_saveAsNeverOverwritesTheOpenDatabase_data();
    void fault6_saveAsNeverOverwritesTheOpenDatabase();
    void fault16_saveAsToAFullDiskIsReported_data();
    void fault16_saveAsToAFullDiskIsReported();

  private:
    app::MainWindow& w() { return run_->window(); }
    void openDatabase(const QString& path);
    void saveThroughDialog(const QString& path);
    QStringList messages() const;

    QTemporaryDir folder_;
    DiskSaveFileSystem* fs_ = nullptr;
    WindowRun* run_ = nullptr;
};

void SaveAsSafetyTest::init() {
    fs_ = new DiskSaveFileSystem;
    run_ = new WindowRun(*fs_);
}

void SaveAsSafetyTest::cleanup() {
    delete run_;
    delete fs_;
}

void SaveAsSafetyTest::openDatabase(const QString& path) {
    run_->dialogs.texts.enqueue(path);
    w().menus().action(QStringLiteral("mnuOpen"))->trigger();
    QVERIFY2(messages().isEmpty(), qPrintable(messages().join(QLatin1Char('\n'))));
    QVERIFY(w().browser().database());
}

void SaveAsSafetyTest::saveThroughDialog(const QString& path) {
    run_->dialogs.texts.enqueue(path);
    w().menus().action(QStringLiteral("mnuSaveAs"))->trigger();
}

QStringList SaveAsSafetyTest::messages() const {
    QStringList found;
    for (const auto& asked : run_->dialogs.asked) {
        if (asked.kind == QLatin1String("message")) {
            found << asked.title + QStringLiteral(": ") + asked.text;
        }
    }
    return found;
}

void SaveAsSafetyTest::fault6_saveAsNeverOverwritesTheOpenDatabase_data() {
    QTest::addColumn<QString>("link");  // how the name reaches the database
    QTest::addColumn<QString>("name");
    for (const char* form : {"prs", "csv", "txt", "jsonl", "sqlite"}) {
        const QString ending = QString::fromLatin1(form);
        QTest::newRow(qPrintable("symbolic link ." + ending))
            << QStringLiteral("symbolic") << QStringLiteral("db-link.") + ending;
        QTest::newRow(qPrintable("hard link ." + ending))
            << QStringLiteral("hard") << QStringLiteral("db-hard.") + ending;
        QTest::newRow(qPrintable("relative path to a link ." + ending))
            << QStringLiteral("relative") << QStringLiteral("db-rel.") + ending;
    }
}

void SaveAsSafetyTest::fault6_saveAsNeverOverwritesTheOpenDatabase() {
    QFETCH(QString, link);
    QFETCH(QString, name);
    QVERIFY(folder_.isValid());
    const QString database = folder_.filePath(QStringLiteral("open.mdb"));
    QFile::remove(database);
    QVERIFY(QFile::copy(kTestMdb, database));
    const QByteArray before = bytesOf(database);
    const QString linkPath = folder_.filePath(name);
    QFile::remove(linkPath);
    if (link == QLatin1String("hard")) {
        QCOMPARE(::link(QFile::encodeName(database).constData(),
                        QFile::encodeName(linkPath).constData()),
                 0);
    } else {
        QVERIFY(QFile::link(database, linkPath));
    }
    openDatabase(database);
    // The relative spelling climbs out of a sub-folder from the current one.
    QString saveName = linkPath;
    if (link == QLatin1String("relative")) {
        QVERIFY(QDir(folder_.path()).mkpath(QStringLiteral("sub")));
        saveName =
            QDir::current().relativeFilePath(folder_.filePath(QStringLiteral("sub/../")) + name);
        QVERIFY(QDir::isRelativePath(saveName));
    }
    QSignalSpy saved(&w().files(), &app::SheetFiles::saved);
    saveThroughDialog(saveName);
    const QStringList said = messages();
    QCOMPARE(said.size(), 1);
    QVERIFY2(said[0].startsWith(QStringLiteral("Save: Unable to save '")), qPrintable(said[0]));
    QVERIFY2(said[0].contains(QStringLiteral("It is the open database")), qPrintable(said[0]));
    QCOMPARE(saved.count(), 0);
    QVERIFY(bytesOf(database) == before);
    QVERIFY(QFileInfo(linkPath).exists());
    // Refused before anything changed: the flag column is still there.
    QVERIFY(w().sheetState().flagColumnPresent);
    // Another name in the same folder still saves.
    saveThroughDialog(folder_.filePath(QStringLiteral("other.") + QFileInfo(name).suffix()));
    QCOMPARE(messages().size(), 1);
    QCOMPARE(saved.count(), 1);
    QVERIFY(bytesOf(database) == before);
}

void SaveAsSafetyTest::fault16_saveAsToAFullDiskIsReported_data() {
    QTest::addColumn<QString>("place");
    QTest::newRow("device /dev/full") << QStringLiteral("device");
    QTest::newRow("full file system .prs") << QStringLiteral("out.prs");
    QTest::newRow("full file system .csv") << QStringLiteral("out.csv");
    QTest::newRow("full file system .txt") << QStringLiteral("out.txt");
    QTest::newRow("full file system .jsonl") << QStringLiteral("out.jsonl");
    QTest::newRow("full file system .sqlite") << QStringLiteral("out.sqlite");
}

void SaveAsSafetyTest::fault16_saveAsToAFullDiskIsReported() {
    QFETCH(QString, place);
    openDatabase(kTestMdb);
    QSignalSpy saved(&w().files(), &app::SheetFiles::saved);
    if (place == QLatin1String("device")) {
        // A grid file's name that leads to the full device.
        const QString name = folder_.filePath(QStringLiteral("full.csv"));
        QFile::remove(name);
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), name));
        saveThroughDialog(name);
        QCOMPARE(messages().size(), 1);
        QVERIFY2(messages()[0].contains(QStringLiteral("Unable to save")),
                 qPrintable(messages()[0]));
        QCOMPARE(saved.count(), 0);
        QVERIFY(QFileInfo(name).isSymLink());
        QVERIFY(!QFileInfo(QStringLiteral("/dev/full")).isFile());
        return;
    }
    const QString mountPoint = folder_.filePath(QStringLiteral("small"));
    QVERIFY(QDir().mkpath(mountPoint));
    testsupport::SmallFileSystem disk(QFile::encodeName(mountPoint).toStdString(), 256 * 1024);
    if (!disk.mounted()) {
        QSKIP(disk.whyNot().c_str());
    }
    QVERIFY(disk.fillLeaving(0));
    const QString target = mountPoint + QLatin1Char('/') + place;
    saveThroughDialog(target);
    const QStringList said = messages();
    QCOMPARE(said.size(), 1);
    QVERIFY2(said[0].contains(QStringLiteral("Unable to save")), qPrintable(said[0]));
    QVERIFY2(said[0].contains(QStringLiteral("No space left on device")), qPrintable(said[0]));
    QCOMPARE(saved.count(), 0);
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(QDir(mountPoint).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("filler")});
}

QTEST_MAIN(SaveAsSafetyTest)
#include "tst_save_as_safety.moc"
