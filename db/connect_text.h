// The connect text a database is opened with ("ODBC;UID=sa;PWD=secret;"):
// only the password matters to the engine.
#pragma once

#include <string>
#include <string_view>

namespace db {

class ConnectText {
  public:
    // The text the second open attempt passes for `password`.
    static std::string forPassword(std::string_view password);
    // The value after "PWD=" (any letter case) up to the text's end, less
    // one closing ";". The password itself may hold ";" or "=". Empty when
    // the text names no password.
    static std::string password(std::string_view connect);
};

}  // namespace db
