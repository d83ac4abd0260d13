// The public create/delete calls: checks that give clear messages before the
// file is locked, then the change planned on the page image inside the safe
// write procedure.
#include "jet/query_writer.h"

#include <ctime>
#include <optional>

#include "database_file.h"
#include "jet/database.h"
#include "write/catalog_editor.h"
#include "write/database_verifier.h"
#include "write/file_system.h"
#include "write/query_decomposer.h"
#include "write/query_name_rules.h"
#include "write/safe_writer.h"

namespace jet {
namespace {

using namespace jet::write;

struct Job {
    bool create = true;
    std::string name;
    DecomposedQuery query;
};

// Now, local time, as an Access date (days since 1899-12-30).
double localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::time_t asUtc = timegm(&local);
    return double(asUtc) / 86400.0 + 25569.0;
}

bool endsWithNoCase(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size()) {
        return false;
    }
    for (size_t i = 0; i < tail.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i]) {
            return false;
        }
    }
    return true;
}

Status refuseFormat(const Database& db, const std::string& path) {
    if (db.format() == FileFormat::Ace || endsWithNoCase(path, ".accdb")) {
        return {ErrorCode::Unsupported,
                "Saving or deleting queries in .accdb (Access 2007 and later) files is not "
                "supported; only .mdb files can be changed."};
    }
    return Status::ok();
}

// The checks that need no lock, so common mistakes get their message at once.
Status precheck(const std::string& path, const QueryWriteOptions& options, Job& job,
                const std::string& sql) {
    auto db = Database::open(path, options.password);
    if (!db) {
        return db.status();
    }
    if (Status status = refuseFormat(**db, path); !status) {
        return status;
    }
    const bool jet3 = (*db)->format() == FileFormat::Jet3;
    if (!job.create) {
        if ((*db)->findTable(job.name)) {
            return {ErrorCode::Invalid, "'" + job.name + "' is a table, not a query."};
        }
        return (*db)->findQuery(job.name)
                   ? Status::ok()
                   : Status(ErrorCode::NotFound,
                            "There is no query named '" + job.name + "' in this database.");
    }
    if (Status status = checkQueryName(job.name, jet3); !status) {
        return status;
    }
    if ((*db)->findTable(job.name) || (*db)->findQuery(job.name)) {
        return {ErrorCode::Invalid,
                std::string((*db)->findTable(job.name) ? "A table" : "A query") + " named '" +
                    job.name + "' already exists in this database."};
    }
    auto query = decomposeSelect(sql, jet3);
    if (!query) {
        return query.status();
    }
    job.query = std::move(*query);
    return Status::ok();
}

// Everything the verification compares the written file against.
void describe(const Database& db, const Job& job, const CatalogEditor& editor, VerifyPlan& plan) {
    for (const QueryDef& query : db.queries()) {
        if (job.create || !sameObjectName(query.name, job.name)) {
            plan.untouchedQueries[query.name] =
                query.status ? query.info.sql : query.status.message();
        }
    }
    for (const TableDef& table : db.tables()) {
        // The three tables the change touches are checked row by row elsewhere.
        const bool changed =
            table.name == "MSysObjects" || table.name == "MSysQueries" || table.name == "MSysACEs";
        if (!table.isLinked() && !changed) {
            auto rows = db.countRows(table);
            if (rows) {
                plan.tableRows[table.name] = *rows;
            }
        }
    }
    plan.rowDeltas = editor.rowDeltas();
    plan.storedRowCounts = editor.storedRowCounts();
    if (job.create) {
        plan.createdName = job.name;
        plan.createdSql = job.query.rebuiltSql;
    } else {
        plan.deletedName = job.name;
    }
}

Status run(const std::string& path, const QueryWriteOptions& options, Job& job) {
    RealFileSystem real;
    FileSystem& fs = options.fileSystem ? *options.fileSystem : real;
    std::optional<PageImage> original, planned;
    VerifyPlan plan;
    SafeWriteSteps steps;
    steps.change = [&](const std::vector<uint8_t>& bytes) -> Result<std::vector<uint8_t>> {
        auto db = Database::open(path, options.password);
        if (!db) {
            return db.status();
        }
        const DatabaseFile& file = (*db)->file();
        auto image = PageImage::fromFile(bytes, file.pageSize(), file.jet3(), file.codec());
        if (!image) {
            return image.status();
        }
        original = *image;
        planned = std::move(*image);
        auto editor = CatalogEditor::open(**db, *planned);
        if (!editor) {
            return editor.status();
        }
        Status status = job.create ? (*editor)->createQuery(job.name, job.query, localNow())
                                   : (*editor)->deleteQuery(job.name);
        if (!status) {
            return status;
        }
        describe(**db, job, **editor, plan);
        return planned->encode(file.codec());
    };
    steps.verify = [&](const std::string& temp) {
        return verifyDatabase(temp, options.password, *original, *planned, plan);
    };
    return safeWrite(fs, path, steps);
}

}  // namespace

Status createQueryDef(const std::string& path, const std::string& name, const std::string& sql,
                      const QueryWriteOptions& options) {
    Job job;
    job.name = name;
    if (Status status = precheck(path, options, job, sql); !status) {
        return status;
    }
    return run(path, options, job);
}

Status deleteQueryDef(const std::string& path, const std::string& name,
                      const QueryWriteOptions& options) {
    Job job;
    job.create = false;
    job.name = name;
    if (Status status = precheck(path, options, job, {}); !status) {
        return status;
    }
    return run(path, options, job);
}

}  // namespace jet
