#include "attachments_command.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "attachment_file_name.h"
#include "cli_options.h"
#include "jet/database.h"
#include "jet/sql_value_text.h"

namespace cli {
namespace {

struct AttachmentOptions {
    std::string file, table, outDir, password;
    bool force = false;
};

int report(std::FILE* err, int code, const std::string& message) {
    std::fprintf(err, "tablescope-cli: %s\n", message.c_str());
    return code;
}

bool parse(const std::vector<std::string>& args, AttachmentOptions& o, std::string& error) {
    std::vector<std::string> operands;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--out" || a == "--password") && i + 1 < args.size()) {
            (a == "--out" ? o.outDir : o.password) = args[++i];
        } else if (a == "--force") {
            o.force = true;
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option or missing value '" + a + "'";
            return false;
        } else {
            operands.push_back(a);
        }
    }
    if (operands.size() != 2) {
        error = "wrong number of arguments for 'attachments'";
        return false;
    }
    o.file = operands[0];
    o.table = operands[1];
    return true;
}

// The row as a user names it: its primary key values, else its position.
std::string rowKey(const jet::TableDef& t, jet::TableCursor& cursor, uint64_t position) {
    for (const jet::IndexDef& index : t.indexes) {
        if (!index.primaryKey)
            continue;
        std::string key;
        for (const jet::IndexDef::Key& k : index.keys)
            if (k.column >= 0)
                key += (key.empty() ? "" : ",") +
                       jet::displayText(cursor.value(static_cast<size_t>(k.column)));
        return key;
    }
    return std::to_string(position);
}

// Creates `path` (never through a symbolic link); an existing file is
// refused unless `force`.
jet::Status writeFile(const std::string& path, const std::string& bytes, bool force) {
    const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (force ? O_TRUNC : O_EXCL);
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0)
        return jet::Status(jet::ErrorCode::Io,
                           errno == EEXIST
                               ? "'" + path + "' exists (use --force to replace it)"
                               : "cannot create '" + path + "': " + std::strerror(errno));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            return jet::Status(jet::ErrorCode::Io,
                               "cannot write '" + path + "': " + std::strerror(error));
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0)
        return jet::Status(jet::ErrorCode::Io, "cannot write '" + path + "'");
    return jet::Status::ok();
}

class AttachmentRun {
  public:
    AttachmentRun(const jet::Database& db, const AttachmentOptions& o, std::FILE* out)
        : db_(db), o_(o), out_(out) {}

    jet::Status one(const std::string& key, const std::string& column, const jet::Attachment& a) {
        if (o_.outDir.empty()) {
            jet::Result<uint64_t> size = db_.attachmentSize(a);
            if (!size)
                return size.status();
            std::fprintf(out_, "%s\t%s\t%s\t%s\t%llu\n", key.c_str(), column.c_str(),
                         a.name.c_str(), a.type.c_str(), static_cast<unsigned long long>(*size));
            return jet::Status::ok();
        }
        jet::Result<std::string> data = db_.attachmentData(a);
        if (!data)
            return data.status();
        const std::string path = (std::filesystem::path(o_.outDir) / names_.next(a.name)).string();
        if (jet::Status s = writeFile(path, *data, o_.force); !s)
            return s;
        std::fprintf(out_, "%s\n", path.c_str());
        return jet::Status::ok();
    }

  private:
    const jet::Database& db_;
    const AttachmentOptions& o_;
    std::FILE* out_;
    AttachmentFileNames names_;
};

int run(const jet::Database& db, const AttachmentOptions& o, std::FILE* out, std::FILE* err) {
    const jet::TableDef* front = db.findTable(o.table);
    if (!front)
        return report(err, kReadError, "no table named '" + o.table + "'");
    // A linked table's columns, keys and attachments are the back-end's.
    auto source = db.resolveTable(*front);
    if (!source)
        return report(err, kReadError, source.status().message());
    const jet::TableDef* t = source->table;
    auto cursor = source->database->openTable(*t);
    if (!cursor)
        return report(err, kReadError, cursor.status().message());
    std::error_code ec;
    if (!o.outDir.empty() && !std::filesystem::is_directory(o.outDir, ec) &&
        !std::filesystem::create_directory(o.outDir, ec))
        return report(err, kReadError, "cannot create the folder '" + o.outDir + "'");
    AttachmentRun attachments(*source->database, o, out);
    jet::TableCursor& c = **cursor;
    for (uint64_t position = 1; c.next(); ++position) {
        for (size_t i = 0; i < t->columns.size(); ++i) {
            const jet::ComplexCell* cell = c.complexCell(i);
            if (!cell || cell->kind != jet::ComplexKind::Attachment)
                continue;
            const std::string key = rowKey(*t, c, position);
            for (const jet::Attachment& a : cell->attachments)
                if (jet::Status s = attachments.one(key, t->columns[i].name, a); !s)
                    return report(err, kReadError, s.message());
        }
    }
    if (!c.status())
        return report(err, kReadError, c.status().message());
    return kOk;
}

}  // namespace

bool tryRunAttachmentsCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                              int& exitCode) {
    if (args.empty() || args[0] != "attachments")
        return false;
    AttachmentOptions o;
    std::string error;
    if (!parse(args, o, error)) {
        exitCode = report(err, kUsage, error + " (see --help)");
        return true;
    }
    auto db = jet::Database::open(o.file, o.password);
    exitCode = db ? run(**db, o, out, err) : report(err, kCannotOpen, db.status().message());
    return true;
}

}  // namespace cli
