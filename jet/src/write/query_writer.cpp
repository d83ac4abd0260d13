// The public create/delete calls: checks that give clear messages before the
// file is locked, then the change planned on the page image inside the safe
// write procedure.
#include "jet/query_writer.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

#include "database_file.h"
#include "jet/database.h"
#include "jet/sql_session.h"
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

// The file a path names, through symbolic links (the link keeps pointing at
// the changed file), refusing anything but a regular file before it is
// opened: a FIFO would block the open.
Result<std::string> resolveDatabase(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) {
        return Result<std::string>(ErrorCode::NotFound,
                                   "Cannot open '" + path + "': " + std::strerror(errno));
    }
    std::string resolved = real;
    std::free(real);
    struct stat st;
    if (::stat(resolved.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return Result<std::string>(ErrorCode::Io,
                                   "'" + path +
                                       "' is not a regular file; queries can only be "
                                       "saved into a database file.");
    }
    return resolved;
}

// The statement as it will be stored must run: parse, translate and prepare
// it as a click on the saved query will.
Status checkRuns(const Database& db, const std::string& sql) {
    auto session = SqlSession::open(db);
    if (!session) {
        return session.status();
    }
    auto parameters = (*session)->parameters(sql);
    if (!parameters) {
        return parameters.status();
    }
    ParameterValues values;
    for (const QueryParameter& parameter : *parameters) {
        values.push_back({parameter.name, ""});
    }
    auto rows = (*session)->openRecordset(sql, values);
    return rows ? Status::ok() : rows.status();
}

// The checks that need no lock, so common mistakes get their message at once.
Status precheck(const std::string& path, const QueryWriteOptions& options, Job& job,
                const std::string& sql) {
    auto db = Database::open(path, options.password);
    if (!db) {
        return db.status();
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
    return checkRuns(**db, job.query.rebuiltSql);
}

// Everything the verification compares the written file against.
void describe(const Database& db, const Job& job, const CatalogEditor& editor, VerifyPlan& plan) {
    for (const QueryDef& query : db.queries()) {
        if (job.create || !sameObjectName(query.name, job.name)) {
            plan.untouchedQueries[query.name] =
                query.status ? query.info.sql : query.status.message();
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
    FileSystem& files = options.fileSystem ? *options.fileSystem : real;
    std::unique_ptr<Database> db;  // stays open: the planned image reads its pages
    std::optional<PageImage> planned;
    VerifyPlan plan;
    SafeWriteSteps steps;
    steps.keepBackup = options.keepBackup;
    steps.change = [&](const std::string& file) -> Result<PagePatch> {
        auto opened = Database::open(file, options.password);
        if (!opened) {
            return opened.status();
        }
        db = std::move(*opened);
        const DatabaseFile& pages = db->file();
        planned = PageImage::onDemand(
            [&pages](uint32_t number, uint8_t* out) { return pages.readPage(number, out); },
            pages.pageCount(), pages.pageSize(), pages.jet3());
        auto editor = CatalogEditor::open(*db, *planned);
        if (!editor) {
            return editor.status();
        }
        Status status = job.create ? (*editor)->createQuery(job.name, job.query, localNow())
                                   : (*editor)->deleteQuery(job.name);
        if (!status) {
            return status;
        }
        describe(*db, job, **editor, plan);
        auto encoded = planned->encodedChanges(pages.codec());
        if (!encoded) {
            return encoded.status();
        }
        return PagePatch{pages.pageSize(), planned->pageCount(), std::move(*encoded)};
    };
    steps.verify = [&](const std::string& temp) {
        return verifyDatabase(temp, options.password, *planned, plan);
    };
    return safeWrite(files, path, steps);
}

// A refusal before the save starts still clears what an interrupted save left.
Status refusedEarly(const std::string& path, const QueryWriteOptions& options, Status why) {
    RealFileSystem real;
    removeStaleTemporary(options.fileSystem ? *options.fileSystem : real, path);
    return why;
}

}  // namespace

std::string queryBackupPath(const std::string& path) {
    auto file = resolveDatabase(path);
    return backupPath(file ? *file : path);
}

Status createQueryDef(const std::string& path, const std::string& name, const std::string& sql,
                      const QueryWriteOptions& options) {
    Job job;
    job.name = name;
    auto file = resolveDatabase(path);
    if (!file) {
        return file.status();
    }
    if (Status status = precheck(*file, options, job, sql); !status) {
        return refusedEarly(*file, options, status);
    }
    return run(*file, options, job);
}

Status deleteQueryDef(const std::string& path, const std::string& name,
                      const QueryWriteOptions& options) {
    Job job;
    job.create = false;
    job.name = name;
    auto file = resolveDatabase(path);
    if (!file) {
        return file.status();
    }
    if (Status status = precheck(*file, options, job, {}); !status) {
        return refusedEarly(*file, options, status);
    }
    return run(*file, options, job);
}

}  // namespace jet
