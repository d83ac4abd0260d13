#include "db/database_opening.h"

#include "db/connect_text.h"

namespace db {

namespace {

DatabaseOpening::Outcome failed(const jet::Status& status) {
    const bool password = status.code() == jet::ErrorCode::BadPassword;
    return {nullptr,
            password ? DatabaseOpening::Failure::Password : DatabaseOpening::Failure::Other,
            QString::fromStdString(status.message())};
}

}  // namespace

DatabaseOpening::Outcome DatabaseOpening::open(const std::string& path, int options,
                                               const AskPassword& askPassword) {
    auto opened = Database::open(path, options);
    for (int attempt = 1; !opened && attempt <= kPasswordTries; ++attempt) {
        if (opened.status().code() != jet::ErrorCode::BadPassword) {
            break;  // no password would help
        }
        const std::optional<QString> password = askPassword(attempt);
        if (!password) {
            break;
        }
        opened = Database::open(path, options, ConnectText::forPassword(password->toStdString()));
    }
    if (!opened) {
        return failed(opened.status());
    }
    return {std::move(opened).value(), Failure::None, {}};
}

}  // namespace db
