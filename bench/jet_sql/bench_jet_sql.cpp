// Times four Access SQL queries on bench.mdb next to the same queries on
// native SQLite tables holding the same data (same primary keys and
// indexes), checks that both give the same rows, and reports the peak
// anonymous memory while the Access side runs.
//
// usage: bench_jet_sql BENCH.MDB [NATIVE.sqlite]
// The native copy is built on first use (about a minute) and kept.
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "jet/database.h"
#include "jet/sql_session.h"

namespace {

struct QueryPair {
    const char* name;
    const char* access;
    const char* native;
};

const QueryPair kQueries[] = {
    {"like", "SELECT Count(*) FROM Big WHERE Name Like \"name-12*\"",
     "SELECT count(*) FROM Big WHERE Name LIKE 'name-12%'"},
    {"group", "SELECT Region, Count(*), Sum(Amount), Avg(Amount) FROM Orders GROUP BY Region",
     "SELECT Region, count(*), sum(Amount), avg(Amount) FROM Orders GROUP BY Region ORDER BY "
     "Region"},
    {"join",
     "SELECT c.Country, Count(*), Sum(o.Amount) FROM Orders AS o INNER JOIN Customers AS c ON "
     "o.CustomerID = "
     "c.CustomerID GROUP BY c.Country",
     "SELECT c.Country, count(*), sum(o.Amount) FROM Orders AS o INNER JOIN Customers AS c ON "
     "o.CustomerID = "
     "c.CustomerID GROUP BY c.Country ORDER BY c.Country"},
    {"top", "SELECT TOP 100 * FROM Big ORDER BY Created DESC",
     "SELECT * FROM Big ORDER BY Created DESC LIMIT 100"},
};

long rssAnonKb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("RssAnon:", 0) == 0)
            return std::stol(line.substr(8));
    }
    return -1;
}

// CPU time of this thread: fair when other programs share the machine.
double cpuNow() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Values in one comparable form: numbers to 9 significant digits (native
// SQLite sums Currency in binary floating point, the engine exactly), text as it is.
std::string normalNumber(double d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", d);
    return buf;
}

std::string normal(const jet::Value& v) {
    switch (v.type()) {
        case jet::ValueType::Null:
            return "NULL";
        case jet::ValueType::Text:
            return v.data();
        case jet::ValueType::Currency:
            return normalNumber(static_cast<double>(v.i()) / 10000.0);
        case jet::ValueType::Boolean:
            return normalNumber(v.i() ? -1 : 0);
        case jet::ValueType::Byte:
        case jet::ValueType::Integer:
        case jet::ValueType::Long:
        case jet::ValueType::BigInt:
            return normalNumber(static_cast<double>(v.i()));
        default:
            return normalNumber(v.d());
    }
}

std::string normal(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
        case SQLITE_NULL:
            return "NULL";
        case SQLITE_TEXT:
            return reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        default:
            return normalNumber(sqlite3_column_double(st, i));
    }
}

bool exec(sqlite3* db, const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "native: %s\n", err ? err : "?");
        sqlite3_free(err);
        return false;
    }
    return true;
}

bool copyTable(const jet::Database& db, sqlite3* native, const std::string& table) {
    const jet::TableDef* def = db.findTable(table);
    auto cursor = db.openTable(*def);
    if (!cursor)
        return false;
    std::string sql = "INSERT INTO " + table + " VALUES (";
    for (std::size_t i = 0; i < def->columns.size(); ++i)
        sql += i ? ",?" : "?";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(native, (sql + ")").c_str(), -1, &st, nullptr);
    while ((*cursor)->next()) {
        for (std::size_t i = 0; i < def->columns.size(); ++i) {
            const jet::ValueRef v = (*cursor)->get(i);
            const int p = static_cast<int>(i) + 1;
            switch (v.type) {
                case jet::ValueType::Null:
                    sqlite3_bind_null(st, p);
                    break;
                case jet::ValueType::Text:
                    sqlite3_bind_text(st, p, v.data.data(), static_cast<int>(v.data.size()),
                                      SQLITE_TRANSIENT);
                    break;
                case jet::ValueType::Boolean:
                    sqlite3_bind_int(st, p, v.i ? -1 : 0);
                    break;
                case jet::ValueType::Currency:
                    sqlite3_bind_double(st, p, static_cast<double>(v.i) / 10000.0);
                    break;
                case jet::ValueType::Single:
                case jet::ValueType::Double:
                case jet::ValueType::DateTime:
                    sqlite3_bind_double(st, p, v.d);
                    break;
                default:
                    sqlite3_bind_int64(st, p, v.i);
                    break;
            }
        }
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    return (*cursor)->status().isOk();
}

bool buildNative(const jet::Database& db, const std::string& path) {
    std::filesystem::remove(path);
    sqlite3* native = nullptr;
    sqlite3_open(path.c_str(), &native);
    bool ok = exec(native,
                   "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
                   "CREATE TABLE Big (ID INTEGER, Name TEXT, Amount REAL, Price REAL, Created "
                   "REAL, Flag INTEGER, Notes TEXT);"
                   "CREATE TABLE Customers (CustomerID INTEGER PRIMARY KEY, Company TEXT, City "
                   "TEXT, Country TEXT, Since REAL);"
                   "CREATE TABLE Orders (OrderID INTEGER PRIMARY KEY, CustomerID INTEGER, "
                   "OrderDate REAL, Amount REAL, Shipped INTEGER, Region TEXT);");
    for (const char* t : {"Big", "Customers", "Orders"})
        ok = ok && copyTable(db, native, t);
    ok = ok && exec(native, "CREATE INDEX OrdersCustomer ON Orders(CustomerID); COMMIT;");
    sqlite3_close(native);
    return ok;
}

struct Run {
    double seconds = 0;
    double cpu = 0;
    std::vector<std::string> rows;
};

Run runNative(sqlite3* native, const char* sql) {
    Run r;
    const auto start = std::chrono::steady_clock::now();
    const double cpu = cpuNow();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(native, sql, -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            row += normal(st, i) + "|";
        r.rows.push_back(row);
    }
    sqlite3_finalize(st);
    r.seconds = seconds(start);
    r.cpu = cpuNow() - cpu;
    return r;
}

Run runAccess(jet::SqlSession& session, const char* sql, long& peakKb) {
    Run r;
    std::atomic<bool> done{false};
    std::atomic<long> peak{rssAnonKb()};
    std::thread sampler([&] {
        while (!done) {
            peak = std::max(peak.load(), rssAnonKb());
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const double cpu = cpuNow();
    auto rs = session.openRecordset(sql);
    if (!rs) {
        std::fprintf(stderr, "access: %s\n", rs.status().message().c_str());
    } else {
        while ((*rs)->next()) {
            std::string row;
            for (const auto& v : (*rs)->row())
                row += normal(v) + "|";
            r.rows.push_back(row);
        }
    }
    r.seconds = seconds(start);
    r.cpu = cpuNow() - cpu;
    done = true;
    sampler.join();
    peakKb = peak;
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    const char* env = std::getenv("TABLESCOPE_BENCH_MDB");
    const std::string mdb = argc > 1 ? argv[1] : (env ? env : "bench.mdb");
    const std::string nativePath = argc > 2 ? argv[2] : mdb + ".native.sqlite";
    auto db = jet::Database::open(mdb);
    if (!db) {
        std::fprintf(stderr, "%s\n", db.status().message().c_str());
        return 1;
    }
    if (!std::filesystem::exists(nativePath)) {
        std::printf("building the native copy %s ...\n", nativePath.c_str());
        if (!buildNative(**db, nativePath))
            return 1;
    }
    auto session = jet::SqlSession::open(**db);
    sqlite3* native = nullptr;
    sqlite3_open_v2(nativePath.c_str(), &native, SQLITE_OPEN_READONLY, nullptr);
    std::printf("%-6s %9s %9s %6s %9s %9s %6s %11s %s\n", "query", "access s", "native s", "ratio",
                "access cpu", "native cpu", "ratio", "RssAnon MB", "same rows");
    bool allSame = true;
    for (const QueryPair& q : kQueries) {
        Run best, nat;
        long peakKb = 0;
        for (int round = 0; round < 2; ++round) {
            long kb = 0;
            Run a = runAccess(**session, q.access, kb);
            Run n = runNative(native, q.native);
            if (round == 0 || a.cpu < best.cpu)
                best = a;
            if (round == 0 || n.cpu < nat.cpu)
                nat = n;
            peakKb = std::max(peakKb, kb);
        }
        const bool same = best.rows == nat.rows && !best.rows.empty();
        allSame = allSame && same;
        std::printf("%-6s %9.3f %9.3f %6.2f %9.3f %9.3f %6.2f %11.1f %s\n", q.name, best.seconds,
                    nat.seconds, best.seconds / nat.seconds, best.cpu, nat.cpu, best.cpu / nat.cpu,
                    peakKb / 1024.0, same ? "yes" : "NO");
    }
    sqlite3_close(native);
    return allSame ? 0 : 2;
}
