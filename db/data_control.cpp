#include "db/data_control.h"

#include "db/database.h"

namespace db {

void DataControl::setDatabase(std::shared_ptr<Database> database) {
    bound_.reset();
    database_ = std::move(database);
}

std::string DataControl::databaseName() const {
    return database_ ? database_->name() : std::string();
}

void DataControl::setRecordSource(std::string source) {
    bound_.reset();
    source_ = std::move(source);
    parameters_.clear();
}

void DataControl::setRecordset(std::unique_ptr<jet::Recordset> records, std::string source,
                               jet::ParameterValues parameters) {
    bound_ = std::move(records);
    source_ = std::move(source);
    parameters_ = std::move(parameters);
}

RecordsetSink::Outcome DataControl::refresh() {
    if (!database_ || !database_->isOpen()) {
        return {jet::Status(jet::ErrorCode::Invalid, "No database is open."), false};
    }
    if (source_.empty() && !bound_) {
        return {jet::Status(jet::ErrorCode::Invalid, "The record source is empty."), false};
    }
    std::unique_ptr<jet::Recordset> records = std::move(bound_);
    if (!records) {
        auto opened = database_->openRecordset(source_, parameters_);
        if (!opened) {
            return {opened.status(), false};
        }
        records = std::move(opened).value();
    }
    if (!sink_) {
        return {jet::Status::ok(), false};
    }
    return sink_->load(*records, database_->estimatedRows(source_));
}

}  // namespace db
