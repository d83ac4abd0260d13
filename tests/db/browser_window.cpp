#include "browser_window.h"

#include <QAction>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "db/database_tree.h"
#include "sheet/grid.h"
#include "ui/caption_panel.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/tab_strip.h"

BrowserWindow::BrowserWindow(const QByteArray& settings) {
    if (!settings.isNull()) {
        fs.putFile(QStringLiteral("/prog/VT.ini"), settings);
    }
    Startup::Environment env;
    env.fileSystem = &fs;
    env.programFolder = QStringLiteral("/prog");
    env.userFolder = QStringLiteral("/user");
    env.dialogs = &dialogs;
    env.desktop = &desktop;
    module_ = std::make_unique<Startup>(env);
    module_->start();
}

BrowserWindow::~BrowserWindow() = default;

bool BrowserWindow::TestFileSystem::fileExists(const QString& path) const {
    return MemoryFileSystem::fileExists(path) || QFileInfo(path).isFile();
}

bool BrowserWindow::open(const std::string& path) {
    app::MainWindow& window = w();
    const auto before = window.browser().database();
    const qsizetype asked = dialogs.asked.size();
    // The file name answers the open dialog, ahead of answers queued for
    // the prompts that follow it (the password).
    dialogs.texts.prepend(QString::fromStdString(path));
    window.menus().action(QStringLiteral("mnuOpen"))->trigger();
    if (dialogs.asked.size() > asked && dialogs.asked[asked].kind == QLatin1String("open")) {
        dialogs.asked.removeAt(asked);
    }
    return window.browser().database() && window.browser().database() != before &&
           window.files().openFileType() == app::OpenFileType::Database;
}

QTreeWidgetItem* BrowserWindow::node(const QString& key) const {
    return db::DatabaseTree::find(*w().controls().databaseTree, key);
}

namespace {

QPoint nodeCenter(QTreeWidget& tree, QTreeWidgetItem* item) {
    tree.scrollToItem(item);
    return tree.visualItemRect(item).center();
}

}  // namespace

void BrowserWindow::click(const QString& key) {
    QTreeWidgetItem* item = node(key);
    QVERIFY2(item, qPrintable(QStringLiteral("no node ") + key));
    QTreeWidget& tree = *w().controls().databaseTree;
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, nodeCenter(tree, item));
}

void BrowserWindow::doubleClick(const QString& key) {
    QTreeWidgetItem* item = node(key);
    QVERIFY2(item, qPrintable(QStringLiteral("no node ") + key));
    QTreeWidget& tree = *w().controls().databaseTree;
    const QPoint at = nodeCenter(tree, item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, at);
}

void BrowserWindow::press(const char* buttonName) {
    auto* button = w().findChild<QPushButton*>(QString::fromLatin1(buttonName));
    QVERIFY2(button, buttonName);
    button->click();
}

QString BrowserWindow::row(int r) const {
    QStringList cells;
    for (int c = 0; c < w().controls().dataSheet->cols(); ++c) {
        cells.append(w().controls().dataSheet->textMatrix(r, c));
    }
    return cells.join(QLatin1Char('|'));
}

QStringList BrowserWindow::keys() const {
    QStringList out;
    for (QTreeWidgetItemIterator it(w().controls().databaseTree); *it; ++it) {
        out.append(db::DatabaseTree::key(*it));
    }
    return out;
}

QString BrowserWindow::queryKey(const QString& name) const {
    QTreeWidgetItem* queries = node(QStringLiteral("N2"));
    for (int i = 0; queries && i < queries->childCount(); ++i) {
        if (queries->child(i)->text(0) == name) {
            return db::DatabaseTree::key(queries->child(i));
        }
    }
    return {};
}

QString BrowserWindow::lastMessage() const {
    for (auto it = dialogs.asked.crbegin(); it != dialogs.asked.crend(); ++it) {
        if (it->kind == QLatin1String("message")) {
            return it->title + QLatin1Char('|') + it->text;
        }
    }
    return {};
}

int BrowserWindow::messageCount() const {
    int n = 0;
    for (const auto& asked : dialogs.asked) {
        n += asked.kind == QLatin1String("message") ? 1 : 0;
    }
    return n;
}
