#include "db/cell_payloads.h"

#include <utility>

#include "db/database.h"

namespace db {

namespace {

jet::Status closed() {
    return jet::Status(jet::ErrorCode::Invalid,
                       "The database this row was read from has been closed.");
}

}  // namespace

CellPayloads::CellPayloads(std::weak_ptr<const Database> database, const jet::Database* holder)
    : database_(std::move(database)), holder_(holder) {}

std::shared_ptr<const sheet::CellPayload> CellPayloads::binary(std::string_view bytes) {
    auto payload = std::make_shared<sheet::CellPayload>();
    payload->kind = sheet::CellPayload::Kind::Binary;
    payload->size = bytes.size();
    const bool whole = kept_ + bytes.size() <= kKeptBytes;
    payload->bytes.assign(whole ? bytes : bytes.substr(0, kPrefixBytes));
    kept_ += payload->bytes.size();
    return payload;
}

std::shared_ptr<const sheet::CellPayload> CellPayloads::attachments(
    const jet::ComplexCell& cell) const {
    if (cell.kind != jet::ComplexKind::Attachment || cell.attachments.empty()) {
        return nullptr;
    }
    auto payload = std::make_shared<sheet::CellPayload>();
    payload->kind = sheet::CellPayload::Kind::Attachments;
    for (const jet::Attachment& a : cell.attachments) {
        sheet::CellAttachment& file = payload->attachments.emplace_back();
        file.name = a.name;
        file.type = a.type;
        // Each reader holds its own copy of where the data is stored.
        file.size = [database = database_, holder = holder_, a]() -> jet::Result<uint64_t> {
            const auto open = database.lock();
            return open ? open->attachmentSize(holder, a) : jet::Result<uint64_t>(closed());
        };
        file.read = [database = database_, holder = holder_, a]() -> jet::Result<std::string> {
            const auto open = database.lock();
            return open ? open->attachmentData(holder, a) : jet::Result<std::string>(closed());
        };
    }
    return payload;
}

}  // namespace db
