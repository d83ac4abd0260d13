#include "sql/query_history.h"

#include <algorithm>

namespace sql {

std::vector<QueryHistory::Entry>::iterator QueryHistory::find(const QString& database) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& e) { return e.database == database; });
}

std::vector<QueryHistory::Entry>::const_iterator QueryHistory::find(const QString& database) const {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& e) { return e.database == database; });
}

void QueryHistory::add(const QString& database, const QString& statement) {
    walking_ = false;
    if (database.isEmpty() || statement.trimmed().isEmpty()) {
        return;
    }
    Entry entry{database, {}};
    if (auto it = find(database); it != entries_.end()) {
        entry = std::move(*it);
        entries_.erase(it);
    }
    entry.statements.removeAll(statement);
    entry.statements.prepend(statement);
    while (entry.statements.size() > kMaxStatements) {
        entry.statements.removeLast();
    }
    entries_.insert(entries_.begin(), std::move(entry));
    if (int(entries_.size()) > kMaxDatabases) {
        entries_.pop_back();
    }
}

QStringList QueryHistory::statements(const QString& database) const {
    const auto it = find(database);
    return it == entries_.end() ? QStringList() : it->statements;
}

QStringList QueryHistory::databases() const {
    QStringList list;
    for (const Entry& e : entries_) {
        list.append(e.database);
    }
    return list;
}

void QueryHistory::restore(const QString& database, const QStringList& statements) {
    if (database.isEmpty() || find(database) != entries_.end() ||
        int(entries_.size()) >= kMaxDatabases) {
        return;
    }
    Entry entry{database, {}};
    for (const QString& s : statements) {
        if (!s.trimmed().isEmpty() && !entry.statements.contains(s) &&
            entry.statements.size() < kMaxStatements) {
            entry.statements.append(s);
        }
    }
    if (!entry.statements.isEmpty()) {
        entries_.push_back(std::move(entry));
    }
}

bool QueryHistory::walking(const QString& database, const QString& boxText) const {
    return walking_ && walkDatabase_ == database && boxText == shown_;
}

std::optional<QString> QueryHistory::older(const QString& database, const QString& boxText) {
    const QStringList list = statements(database);
    if (!walking(database, boxText)) {
        walking_ = true;
        walkDatabase_ = database;
        index_ = -1;
        draft_ = boxText;
        shown_ = boxText;
    }
    int next = index_ + 1;
    // The statement the box already holds is not shown again.
    if (index_ < 0 && next < list.size() && list[next] == boxText) {
        ++next;
    }
    if (next >= list.size()) {
        return std::nullopt;
    }
    index_ = next;
    shown_ = list[index_];
    return shown_;
}

std::optional<QString> QueryHistory::newer(const QString& database, const QString& boxText) {
    if (!walking(database, boxText) || index_ < 0) {
        return std::nullopt;
    }
    const QStringList list = statements(database);
    --index_;
    if (index_ >= 0 && index_ < list.size() && list[index_] == draft_) {
        --index_;
    }
    shown_ = index_ >= 0 ? list[index_] : draft_;
    return shown_;
}

}  // namespace sql
