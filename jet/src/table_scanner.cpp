#include "table_scanner.h"

#include <algorithm>

#include "byte_reader.h"
#include "calculated_columns.h"
#include "data_page.h"
#include "date_time_extended.h"
#include "text_decoder.h"
#include "usage_map.h"

namespace jet {
namespace {

constexpr int kMaxOverflowHops = 4;
// 128 KB of 4 KB pages: the system call and the copy per page no longer
// show in a scan's profile, and a run stays well inside the CPU caches.
constexpr uint32_t kRunPages = 32;

uint32_t typeSize(const Column& c) {
    return c.type() == ColumnType::Boolean ? 0 : static_cast<uint32_t>(fixedSize(c.type()));
}

// Whether decode() takes a value of `c` straight to decodeNumber().
bool decodesAsNumber(const Column& c) {
    switch (c.type()) {
        case ColumnType::Text:
        case ColumnType::Memo:
        case ColumnType::Ole:
        case ColumnType::DateTimeExtended:
        case ColumnType::Complex:
        case ColumnType::Boolean:
            return false;
        default:
            return typeSize(c) != 0;
    }
}

}  // namespace

TableScanner::TableScanner(const DatabaseFile& file, TableDef table, ComplexStore* complex,
                           DamageReport* salvage)
    : file_(file),
      table_(std::move(table)),
      complex_(complex),
      salvage_(salvage),
      longValues_(file) {
    for (const Column& c : table_.columns)
        hasVariable_ = hasVariable_ || !c.isFixed();
    hasVariable_ = hasVariable_ || table_.varColumns > 0;
    scratch_.resize(table_.columns.size());
    // Looked up once: the per-value paths below ask for it several times.
    for (const Column& c : table_.columns) {
        typeSizes_.push_back(typeSize(c));
        Plain plain = Plain::No;  // calculated columns among them
        if (!c.isCalculated() && c.type() == ColumnType::Boolean)
            plain = Plain::Boolean;
        else if (!c.isCalculated() && c.isFixed() && decodesAsNumber(c))
            plain = Plain::Number;
        else if (!c.isCalculated() && !c.isFixed() && c.type() == ColumnType::Text)
            plain = Plain::Text;
        plain_.push_back(plain);
    }
    run_.resize(size_t{kRunPages} * file.pageSize());
    overflow_.resize(file.pageSize());
}

Status TableScanner::init() {
    Result<UsageMapPages> map = readUsageMap(file_, table_.ownedPagesMap);
    if (!map) {
        if (!salvage_)
            return Status(ErrorCode::Corrupt, "Table '" + table_.name +
                                                  "': the list of its data pages cannot be read: " +
                                                  map.status().message());
        salvage_->mapUnreadable(table_.name, map.status().message());
        scanAllPages_ = true;
        return Status::ok();
    }
    pages_ = std::move(map->inFile);
    if (map->pastEndCount == 0)
        return Status::ok();
    if (salvage_) {
        for (uint32_t page : map->pastEnd)
            salvage_->page(table_.name, page, "it lies past the end of the file.");
        return Status::ok();
    }
    std::string pages = describePages(map->pastEnd);
    if (map->pastEndCount > map->pastEnd.size())
        pages += " (" + std::to_string(map->pastEndCount) + " pages in all)";
    return Status(ErrorCode::Corrupt,
                  "Table '" + table_.name + "': its data pages " + pages +
                      " lie past the end of the file (" + std::to_string(file_.pageCount()) +
                      " pages); the file may have been truncated, and their rows cannot be read.");
}

void TableScanner::rewind() {
    readPages(0, SIZE_MAX);
}

size_t TableScanner::pageCount() const {
    // Complex columns read through a store shared with the database, and a
    // salvaging scan shares its report: both belong to one thread.
    const bool complex =
        std::any_of(table_.columns.begin(), table_.columns.end(),
                    [](const Column& c) { return c.type() == ColumnType::Complex; });
    return complex || salvage_ || scanAllPages_ ? 0 : pages_.size();
}

std::unique_ptr<TableCursor> TableScanner::twin() const {
    if (pageCount() == 0)
        return nullptr;
    auto other = std::make_unique<TableScanner>(file_, table_);
    other->pages_ = pages_;
    return other;
}

void TableScanner::readPages(size_t first, size_t end) {
    nextPage_ = first;
    endPage_ = end;
    pageLoaded_ = false;
    onRow_ = false;
    status_ = Status::ok();
}

bool TableScanner::fail(const std::string& what) {
    if (status_.isOk())
        status_ = Status(ErrorCode::Corrupt, "Table '" + table_.name + "', page " +
                                                 std::to_string(rowPage_) + ": " + what);
    onRow_ = false;
    return false;
}

bool TableScanner::skipPage(const std::string& why) {
    if (!salvage_)
        return fail(why);
    salvage_->page(table_.name, pageNumber_, why);
    return true;
}

bool TableScanner::loadNextPage() {
    const size_t total = std::min(endPage_, scanAllPages_ ? file_.pageCount() : pages_.size());
    while (nextPage_ < total) {
        pageNumber_ = scanAllPages_ ? static_cast<uint32_t>(nextPage_) : pages_[nextPage_];
        ++nextPage_;
        rowPage_ = pageNumber_;
        if (Status s = fetchPage(pageNumber_); !s) {
            if (!skipPage(s.message()))
                return false;
            continue;
        }
        const DataPage dp{page_, file_.pageSize(), file_.jet3()};
        if (page_[0] != DataPage::kType || dp.owner() != table_.tdefPage) {
            // Every page the table's list names holds its rows: anything
            // else there is damage, and skipping it would lose rows unseen.
            if (!scanAllPages_ && !skipPage(page_[0] == DataPage::kType
                                                ? "listed as one of its data pages, it belongs to "
                                                  "another table."
                                                : "listed as one of its data pages, it is not a "
                                                  "data page (type " +
                                                      std::to_string(page_[0]) + ")."))
                return false;
            continue;
        }
        slotCount_ = dp.slotCount();
        // A row count that cannot fit on the page would otherwise hide the
        // page's rows without a word.
        if (slotCount_ == 0 && le16(page_ + (file_.jet3() ? 8 : 12)) != 0) {
            if (!skipPage("its row count does not fit on the page."))
                return false;
            continue;
        }
        slot_ = 0;
        pageLoaded_ = true;
        return true;
    }
    return false;
}

Status TableScanner::fetchPage(uint32_t number) {
    if (runCount_ > 0 && number >= runFirst_ && number - runFirst_ < runCount_) {
        page_ = run_.data() + size_t{number - runFirst_} * file_.pageSize();
        return Status::ok();
    }
    // How many of the pages the scan takes next follow this one directly.
    uint32_t want = 1;
    if (scanAllPages_) {
        want = kRunPages;
    } else {
        for (size_t i = nextPage_; i < std::min(pages_.size(), endPage_) && want < kRunPages;
             ++i, ++want)
            if (pages_[i] != number + want)
                break;
    }
    runCount_ = 0;
    uint32_t read = 0;
    Status s = file_.readRun(number, want, run_.data(), read);
    if (!s)
        return s;
    runFirst_ = number;
    runCount_ = read;
    page_ = run_.data();
    return Status::ok();
}

bool TableScanner::next() {
    if (!status_.isOk())
        return false;
    onRow_ = false;
    while (true) {
        if (!pageLoaded_ && !loadNextPage())
            return false;
        if (slot_ >= slotCount_) {
            pageLoaded_ = false;
            continue;
        }
        const uint32_t slot = slot_++;
        if (enterRow(slot))
            return true;
        if (!status_.isOk())
            return false;
    }
}

bool TableScanner::skipRow(const std::string& why) {
    if (!salvage_)
        return fail(why);
    salvage_->row(table_.name, pageNumber_, rowSlot_,
                  rowPage_ == pageNumber_ ? why : "page " + std::to_string(rowPage_) + ": " + why);
    onRow_ = false;
    return false;
}

bool TableScanner::enterRow(uint32_t slot) {
    const DataPage dp{page_, file_.pageSize(), file_.jet3()};
    const uint16_t entry = dp.slotEntry(slot);
    if (entry & DataPage::kDeleted)
        return false;
    rowPage_ = pageNumber_;
    rowSlot_ = slot;
    uint32_t start = 0, end = 0;
    if (!dp.slotRange(slot, start, end))
        return skipRow("row " + std::to_string(slot) + " has offsets outside the page.");
    rowId_ = (static_cast<uint64_t>(pageNumber_) << 8) | slot;
    if (entry & DataPage::kOverflow) {
        if (!followOverflow(&page_[start], end - start))
            return false;
    } else if (!row_.parse(&page_[start], end - start, file_.jet3(), hasVariable_)) {
        return skipRow("row " + std::to_string(slot) + " is malformed.");
    }
    onRow_ = !salvage_ || rowIsSound();
    return onRow_;
}

bool TableScanner::rowIsSound() {
    for (size_t index = 0; index < table_.columns.size(); ++index) {
        const Column& c = table_.columns[index];
        if (c.type() == ColumnType::Boolean || !row_.present(c.number) ||
            (!c.isFixed() && c.varIndex >= row_.variableCount()))
            continue;
        const uint8_t* bytes = nullptr;
        uint32_t size = 0;
        std::string problem = locate(c, index, bytes, size) ? "" : unlocatable(c);
        // Calculated values carry their own length; their decoding checks it.
        const bool numeric = c.type() != ColumnType::DateTimeExtended &&
                             c.type() != ColumnType::Complex && !c.isCalculated() &&
                             typeSize(c) != 0;
        if (problem.empty() && numeric && size < typeSize(c))
            problem = "column '" + c.name + "' is too short for its type.";
        if (!problem.empty())
            return skipRow("row " + std::to_string(rowSlot_) + ": " + problem);
    }
    return true;
}

bool TableScanner::followOverflow(const uint8_t* pointerBytes, uint32_t size) {
    for (int hop = 0; hop < kMaxOverflowHops; ++hop) {
        if (size < 4)
            return skipRow("overflow pointer is too short.");
        const uint32_t pointer = le32(pointerBytes);
        rowPage_ = pointerPage(pointer);
        if (Status s = file_.readPage(rowPage_, overflow_.data()); !s)
            return skipRow(s.message());
        const DataPage dp{overflow_.data(), file_.pageSize(), file_.jet3()};
        const uint32_t slot = pointerRow(pointer);
        uint32_t start = 0, end = 0;
        if (overflow_[0] != DataPage::kType || slot >= dp.slotCount() ||
            !dp.slotRange(slot, start, end))
            return skipRow("moved row " + std::to_string(slot) + " does not exist.");
        if ((dp.slotEntry(slot) & 0xC000) == DataPage::kOverflow) {
            pointerBytes = &overflow_[start];
            size = end - start;
            continue;
        }
        if (!row_.parse(&overflow_[start], end - start, file_.jet3(), hasVariable_))
            return skipRow("moved row " + std::to_string(slot) + " is malformed.");
        return true;
    }
    return skipRow("overflow pointers form a chain that is too long.");
}

bool TableScanner::valueBytes(const Column& c, size_t index, const uint8_t*& bytes,
                              uint32_t& size) {
    return locate(c, index, bytes, size) || fail(unlocatable(c));
}

// Inline: every value a scan reads passes here.
inline bool TableScanner::locate(const Column& c, size_t index, const uint8_t*& bytes,
                                 uint32_t& size) const {
    uint32_t start = 0, end = 0;
    if (c.isFixed()) {
        start = row_.fixedStart() + c.fixedOffset;
        end = start + (typeSizes_[index] ? typeSizes_[index] : c.length);
        if (end > row_.dataEnd())
            return false;
    } else if (!row_.variableRange(c.varIndex, start, end)) {
        return false;
    }
    bytes = row_.bytes() + start;
    size = end - start;
    return true;
}

std::string TableScanner::unlocatable(const Column& c) {
    return "column '" + c.name + (c.isFixed() ? "' lies outside its row." : "' has bad offsets.");
}

ValueRef TableScanner::get(size_t index) {
    ValueRef v;
    if (!onRow_ || index >= table_.columns.size())
        return v;
    const Column& c = table_.columns[index];
    // The same steps as below, for the kinds nearly every value is of.
    switch (plain_[index]) {
        case Plain::Boolean:
            v.type = ValueType::Boolean;
            v.i = row_.present(c.number) ? 1 : 0;
            return v;
        case Plain::Number: {
            if (!row_.present(c.number))
                return v;
            const uint32_t start = row_.fixedStart() + c.fixedOffset;
            if (start + typeSizes_[index] > row_.dataEnd()) {
                fail(unlocatable(c));
                return v;
            }
            return decodeNumber(c, row_.bytes() + start, typeSizes_[index]);
        }
        case Plain::Text: {
            if (!row_.present(c.number) || c.varIndex >= row_.variableCount())
                return v;
            uint32_t start = 0, end = 0;
            if (!row_.variableRange(c.varIndex, start, end)) {
                fail(unlocatable(c));
                return v;
            }
            return decodeText(c, index, row_.bytes() + start, end - start);
        }
        case Plain::No:
            break;
    }
    return getGeneral(c, index);
}

ValueRef TableScanner::getGeneral(const Column& c, size_t index) {
    ValueRef v;
    if (c.isCalculated())
        return getCalculated(c, index);
    if (c.type() == ColumnType::Boolean) {
        v.type = ValueType::Boolean;
        v.i = row_.present(c.number) ? 1 : 0;
        return v;
    }
    if (!row_.present(c.number))
        return v;
    if (!c.isFixed() && c.varIndex >= row_.variableCount())
        return v;
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;
    if (!valueBytes(c, index, bytes, size))
        return v;
    return decode(c, index, bytes, size);
}

// A calculated column keeps its result wrapped (Memo: inside the long value)
// and even a Yes/No result in the row; an empty result is Null.
ValueRef TableScanner::getCalculated(const Column& c, size_t index) {
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;
    if (!row_.present(c.number) || (!c.isFixed() && c.varIndex >= row_.variableCount()) ||
        !valueBytes(c, index, bytes, size))
        return ValueRef{};
    if (c.isLongValue()) {
        raw_.clear();
        if (Status s = longValues_.read(bytes, size, raw_); !s) {
            fail("column '" + c.name + "': " + s.message());
            return ValueRef{};
        }
        const std::string_view inner = unwrapCalculated(raw_);
        return decodeText(c, index, reinterpret_cast<const uint8_t*>(inner.data()), inner.size());
    }
    const std::string_view inner =
        unwrapCalculated(std::string_view(reinterpret_cast<const char*>(bytes), size));
    bytes = reinterpret_cast<const uint8_t*>(inner.data());
    ValueRef v;
    if (c.type() == ColumnType::Text)
        return decodeText(c, index, bytes, inner.size());
    if (inner.empty())
        return v;
    if (c.type() == ColumnType::Boolean) {
        v.type = ValueType::Boolean;
        v.i = bytes[0] != 0 ? 1 : 0;
    } else if (c.type() == ColumnType::Decimal) {
        if (!decodeCalculatedDecimal(inner, v.dec)) {
            fail("column '" + c.name + "' holds a malformed calculated Decimal.");
            return ValueRef{};
        }
        v.type = ValueType::Decimal;
        v.dec.precision = c.precision ? c.precision : 28;
    } else {
        return decode(c, index, bytes, static_cast<uint32_t>(inner.size()));
    }
    return v;
}

ValueRef TableScanner::decode(const Column& c, size_t index, const uint8_t* bytes, uint32_t size) {
    switch (c.type()) {
        case ColumnType::Text:
            return decodeText(c, index, bytes, size);
        case ColumnType::Memo:
        case ColumnType::Ole:
            return decodeLong(c, index, bytes, size);
        case ColumnType::DateTimeExtended:
            if (const auto d = parseDateTimeExtended(bytes, size)) {
                ValueRef v;
                v.type = ValueType::DateTime;
                v.d = *d;
                return v;
            }
            [[fallthrough]];
        case ColumnType::Complex: {
            if (complex_ && c.type() == ColumnType::Complex)
                return decodeComplex(c, bytes, size);
            ValueRef v;
            v.type = ValueType::Unsupported;
            v.i = c.typeCode;
            v.data = std::string_view(reinterpret_cast<const char*>(bytes), size);
            return v;
        }
        default:
            break;
    }
    if (typeSizes_[index] == 0) {
        ValueRef v;
        v.type = ValueType::Binary;
        v.data = std::string_view(reinterpret_cast<const char*>(bytes), size);
        return v;
    }
    if (size < typeSizes_[index]) {
        fail("column '" + c.name + "' holds " + std::to_string(size) +
             " bytes, too few for its type.");
        return ValueRef{};
    }
    return decodeNumber(c, bytes, size);
}

std::string_view TableScanner::storedField(size_t index) {
    if (!onRow_ || index >= table_.columns.size())
        return {};
    const Column& c = table_.columns[index];
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;
    if (!row_.present(c.number) || (!c.isFixed() && c.varIndex >= row_.variableCount()) ||
        !valueBytes(c, index, bytes, size))
        return {};
    return std::string_view(reinterpret_cast<const char*>(bytes), size);
}

const ComplexCell* TableScanner::complexCell(size_t index) {
    if (!complex_ || index >= table_.columns.size() ||
        table_.columns[index].type() != ColumnType::Complex)
        return nullptr;
    const std::string_view field = storedField(index);
    if (field.size() < 4)
        return nullptr;
    Result<const ComplexColumnValues*> values = complex_->column(table_, table_.columns[index]);
    if (!values) {
        fail(values.status().message());
        return nullptr;
    }
    return (*values)->find(
        static_cast<int32_t>(le32(reinterpret_cast<const uint8_t*>(field.data()))));
}

// A complex column shows its values' text; a row without values is Null.
ValueRef TableScanner::decodeComplex(const Column& c, const uint8_t* bytes, uint32_t size) {
    ValueRef v;
    if (size < 4) {
        fail("column '" + c.name + "' holds " + std::to_string(size) +
             " bytes, too few for its type.");
        return v;
    }
    Result<const ComplexColumnValues*> values = complex_->column(table_, c);
    if (!values) {
        fail(values.status().message());
        return v;
    }
    if (const ComplexCell* cell = (*values)->find(static_cast<int32_t>(le32(bytes)))) {
        v.type = ValueType::Text;
        v.data = cell->text;
    }
    return v;
}

ValueRef TableScanner::decodeText(const Column&, size_t index, const uint8_t* bytes,
                                  uint32_t size) {
    std::string& out = scratch_[index];
    ValueRef v;
    v.type = ValueType::Text;
    // Plain UCS-2 that is all ASCII, nearly every value: the scratch string
    // is only a buffer here (it grows, never shrinks) and the view says how
    // much of it is the value.
    if (!file_.jet3() && !(size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)) {
        const size_t units = size / 2;
        if (out.size() < units)
            out.resize(units);
        const size_t ascii = copyAsciiUcs2le(bytes, units, out.data());
        if (ascii < units) {
            // The rest from the first other character on, after the part
            // already copied.
            out.resize(ascii);
            appendUcs2le(bytes + 2 * ascii, size - 2 * ascii, out);
            v.data = out;
            return v;
        }
        v.data = std::string_view(out.data(), units);
        return v;
    }
    out.clear();
    if (file_.jet3()) {
        file_.codePage().append(bytes, size, out);
    } else {
        appendJet4Text(bytes, size, out);
    }
    v.data = out;
    return v;
}

ValueRef TableScanner::decodeLong(const Column& c, size_t index, const uint8_t* bytes,
                                  uint32_t size) {
    const bool memo = c.type() == ColumnType::Memo;
    std::string& target = memo ? raw_ : scratch_[index];
    target.clear();
    if (Status s = longValues_.read(bytes, size, target); !s) {
        if (salvage_)
            salvage_->longValue(table_.name, static_cast<uint32_t>(rowId_ >> 8),
                                static_cast<uint32_t>(rowId_ & 0xFF), c.name, s.message());
        else
            fail("column '" + c.name + "': " + s.message());
        return ValueRef{};
    }
    if (memo)
        return decodeText(c, index, reinterpret_cast<const uint8_t*>(raw_.data()), raw_.size());
    ValueRef v;
    v.type = ValueType::Binary;
    v.data = target;
    return v;
}

ValueRef TableScanner::decodeNumber(const Column& c, const uint8_t* p, uint32_t) {
    ValueRef v;
    switch (c.type()) {
        case ColumnType::Byte:
            v.type = ValueType::Byte;
            v.i = p[0];
            break;
        case ColumnType::Integer:
            v.type = ValueType::Integer;
            v.i = static_cast<int16_t>(le16(p));
            break;
        case ColumnType::Long:
            v.type = ValueType::Long;
            v.i = static_cast<int32_t>(le32(p));
            break;
        case ColumnType::Currency:
            v.type = ValueType::Currency;
            v.i = le64s(p);
            break;
        case ColumnType::BigInt:
            v.type = ValueType::BigInt;
            v.i = le64s(p);
            break;
        case ColumnType::Single:
            v.type = ValueType::Single;
            v.d = leFloat(p);
            break;
        case ColumnType::Double:
            v.type = ValueType::Double;
            v.d = leDouble(p);
            break;
        case ColumnType::DateTime:
            v.type = ValueType::DateTime;
            v.d = leDouble(p);
            break;
        case ColumnType::Guid:
            v.type = ValueType::Guid;
            v.data = std::string_view(reinterpret_cast<const char*>(p), 16);
            break;
        case ColumnType::Decimal:
            v.type = ValueType::Decimal;
            v.dec.negative = p[0] != 0;
            v.dec.hi = (static_cast<uint64_t>(le32(p + 1)) << 32) | le32(p + 5);
            v.dec.lo = (static_cast<uint64_t>(le32(p + 9)) << 32) | le32(p + 13);
            v.dec.scale = c.scale;
            v.dec.precision = c.precision;
            break;
        default:
            break;
    }
    return v;
}

}  // namespace jet
