// DatabaseOpening: how the window opens a database file. A password is asked
// for only when the engine says the file needs one or the one typed is wrong,
// and the user may type it up to three times; any other failure (a truncated
// file, a text file named .mdb, an unreadable file) ends at once with the
// engine's own reason, without a password prompt.
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "db/database.h"

namespace db {

class DatabaseOpening {
  public:
    static constexpr int kPasswordTries = 3;

    enum class Failure { None, Password, Other };

    struct Outcome {
        std::shared_ptr<Database> database;  // set on success
        Failure failure = Failure::None;
        QString reason;  // the engine's description of the last failure
    };

    // Asked before each password try (1, 2, 3); nullopt when the user cancels.
    using AskPassword = std::function<std::optional<QString>(int attempt)>;

    static Outcome open(const std::string& path, int options, const AskPassword& askPassword);
};

}  // namespace db
