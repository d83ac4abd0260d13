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
    salvaging_ = false;
}

void DataControl::setRecordset(std::unique_ptr<jet::Recordset> records, std::string source,
                               jet::ParameterValues parameters) {
    bound_ = std::move(records);
    source_ = std::move(source);
    parameters_ = std::move(parameters);
    salvaging_ = false;
}

// A record set bound before was read strictly; salvaging opens the source
// again with the same parameter values.
void DataControl::setSalvaging(bool salvaging) {
    salvaging_ = salvaging;
    if (salvaging_) {
        bound_.reset();
    }
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
        auto opened = salvaging_ ? database_->openSalvaged(source_, parameters_)
                                 : database_->openRecordset(source_, parameters_);
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
