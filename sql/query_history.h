// The statements run in the SQL box, kept per database (newest first, no
// repeats) and walked with Ctrl+Up (older) and Ctrl+Down (newer). Walking
// starts from what the box holds; Ctrl+Down past the newest statement gives
// that text back. A statement the user changed starts the walk over from it.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace sql {

class QueryHistory {
  public:
    static constexpr int kMaxStatements = 20;
    static constexpr int kMaxDatabases = 8;

    // Puts `statement` first in the history of `database`, which becomes the
    // most recently used; an equal earlier entry moves up. Ends a walk.
    void add(const QString& database, const QString& statement);
    // Newest first; empty for a database without history.
    QStringList statements(const QString& database) const;
    // Databases with history, most recently used first.
    QStringList databases() const;
    // Adds a stored history behind the ones already known (newest first);
    // beyond the limits it is cut.
    void restore(const QString& database, const QStringList& statements);

    // The statement to show for Ctrl+Up / Ctrl+Down while the box holds
    // `boxText`; none when there is no older / newer one.
    std::optional<QString> older(const QString& database, const QString& boxText);
    std::optional<QString> newer(const QString& database, const QString& boxText);

  private:
    struct Entry {
        QString database;
        QStringList statements;
    };
    std::vector<Entry>::iterator find(const QString& database);
    std::vector<Entry>::const_iterator find(const QString& database) const;
    bool walking(const QString& database, const QString& boxText) const;

    std::vector<Entry> entries_;
    // The walk: where it is (-1: at the text the walk started from), that
    // text, and the statement last shown.
    bool walking_ = false;
    QString walkDatabase_;
    int index_ = -1;
    QString draft_;
    QString shown_;
};

}  // namespace sql
