#include "sql/grouped_rows.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "sql/scalar_bytes.h"
#include "sql/sql_type.h"

namespace jet::sql {

namespace {

// Rows go into chunks that double from a small first one (a few rows cost
// little) up to this size, so the store grows without copying.
constexpr std::size_t kFirstChunkBytes = 4096, kChunkBytes = 1024 * 1024;
// A group's own chunks, from when it holds this many bytes of rows.
constexpr std::size_t kOwnChunksFrom = 4096, kOwnChunkBytes = 64 * 1024;
constexpr std::size_t kFewestSlots = 1024;
constexpr std::size_t kFewSpellings = 16;

bool isRead(uint64_t columnsUsed, std::size_t column) {
    return (columnsUsed >> std::min<std::size_t>(column, 63)) & 1;
}

uint32_t hashOf(std::string_view bytes) {
    const uint64_t h = std::hash<std::string_view>{}(bytes);
    return static_cast<uint32_t>(h ^ (h >> 32));
}

}  // namespace

GroupedRows::GroupedRows(const TableDef& table, std::vector<int> groupColumns, uint64_t columnsUsed)
    : groupColumns_(std::move(groupColumns)) {
    keyIndex_.assign(table.columns.size(), -1);
    for (std::size_t k = 0; k < groupColumns_.size(); ++k) {
        const auto column = static_cast<std::size_t>(groupColumns_[k]);
        keyIndex_[column] = static_cast<int>(k);
        accessText_.push_back(isTextType(typeOfColumn(table.columns[column].typeCode)));
    }
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (isRead(columnsUsed, c) && keyIndex_[c] < 0)
            keptColumns_.push_back(static_cast<int>(c));
    }
    key_.resize(groupColumns_.size());
    keyScratch_.resize(groupColumns_.size());
    values_.resize(table.columns.size());
}

bool GroupedRows::keyAt(uint64_t at, std::string_view bytes) const {
    return at <= keys_.size() && bytes.size() <= keys_.size() - at &&
           std::memcmp(keys_.data() + at, bytes.data(), bytes.size()) == 0;
}

uint32_t GroupedRows::spellingOf() {
    exact_.clear();
    bool folding = false;
    for (std::size_t k = 0; k < key_.size(); ++k) {
        putScalar(exact_, key_[k]);
        folding = folding || foldsForGrouping(key_[k], accessText_[k]);
    }
    if (inOrder_) {
        if (const uint32_t s = spellingInOrder(folding); s != kNoSpelling)
            return s;
    }
    return spellingByHash(folding);
}

std::string_view GroupedRows::foldedKey(bool folding) {
    if (!folding)
        return exact_;
    folded_.clear();
    for (std::size_t k = 0; k < key_.size(); ++k)
        putGroupKey(folded_, key_[k], accessText_[k], scratch_);
    return folded_;
}

uint32_t GroupedRows::spellingInOrder(bool folding) {
    const std::string_view folded = foldedKey(folding);
    if (!groups_.empty()) {
        const auto last = static_cast<uint32_t>(groups_.size() - 1);
        const int c = compareGroupKeys(folded, std::string_view(keys_).substr(groups_[last].keyAt),
                                       groupColumns_.size());
        if (c == 0) {
            const uint32_t s = spellingIn(last);
            return s != kNoSpelling ? s : addSpelling(last, folded);
        }
        if (c < 0) {
            inOrder_ = false;
            indexKeys();
            return kNoSpelling;
        }
    }
    groups_.emplace_back();
    return addSpelling(static_cast<uint32_t>(groups_.size() - 1), folded);
}

uint32_t GroupedRows::spellingByHash(bool folding) {
    // A spelling is found by its own bytes, without folding; only a new one
    // is folded to find its group. Among a few, comparing bytes is quicker
    // than hashing them.
    if (spellings_.size() <= kFewSpellings) {
        for (uint32_t s = 0; s < spellings_.size(); ++s) {
            if (keyAt(spellings_[s].at, exact_))
                return s;
        }
    }
    const uint32_t exactTag = hashOf(exact_);
    uint32_t group = 0;
    if (const uint32_t ref = lookUp(exact_, exactTag); ref != kNoRef) {
        if (!(ref & kGroupRef))
            return ref;
        // A group whose key is these bytes (3, in a group begun by 3.0).
        group = ref & ~kGroupRef;
        if (const uint32_t s = spellingIn(group); s != kNoSpelling)
            return s;
    } else {
        const std::string_view folded = foldedKey(folding);
        const uint32_t foldedTag = folded == exact_ ? exactTag : hashOf(folded);
        const uint32_t found = folded == exact_ ? kNoRef : lookUp(folded, foldedTag);
        if (found == kNoRef) {
            groups_.emplace_back();
            group = static_cast<uint32_t>(groups_.size() - 1);
            const uint32_t s = addSpelling(group, folded);
            addRef(exactTag, s);
            if (folded != exact_)
                addRef(foldedTag, kGroupRef | group);
            return s;
        }
        group = (found & kGroupRef) ? found & ~kGroupRef : spellings_[found].group;
    }
    const uint32_t s = addSpelling(group, {});
    addRef(exactTag, s);
    return s;
}

uint32_t GroupedRows::spellingIn(uint32_t group) const {
    for (uint32_t s = groups_[group].firstSpelling; s != kNoSpelling; s = spellings_[s].next) {
        if (keyAt(spellings_[s].at, exact_))
            return s;
    }
    return kNoSpelling;
}

uint32_t GroupedRows::addSpelling(uint32_t group, std::string_view folded) {
    const auto id = static_cast<uint32_t>(spellings_.size());
    spellings_.push_back({keys_.size(), group, kNoSpelling});
    keys_ += exact_;
    Group& g = groups_[group];
    if (g.firstSpelling == kNoSpelling) {
        g.firstSpelling = id;
        g.keyAt = spellings_[id].at;
        if (folded != exact_) {
            g.keyAt = keys_.size();
            keys_ += folded;
        }
    } else {
        uint32_t last = g.firstSpelling;
        while (spellings_[last].next != kNoSpelling)
            last = spellings_[last].next;
        spellings_[last].next = id;
    }
    return id;
}

uint64_t GroupedRows::refAt(uint32_t ref) const {
    return (ref & kGroupRef) ? groups_[ref & ~kGroupRef].keyAt : spellings_[ref].at;
}

uint32_t GroupedRows::lookUp(std::string_view bytes, uint32_t tag) const {
    if (slots_.empty())
        return kNoRef;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = tag & mask;; i = (i + 1) & mask) {
        const uint64_t slot = slots_[i];
        if (slot == 0)
            return kNoRef;
        const auto ref = static_cast<uint32_t>(slot) - 1;
        if ((slot >> 32) == tag && keyAt(refAt(ref), bytes))
            return ref;
    }
}

void GroupedRows::indexKeys() {
    // Every spelling by its bytes; a group by its key where no spelling
    // holds those bytes.
    std::size_t size = kFewestSlots;
    while (size < 2 * (spellings_.size() + groups_.size() + 1))
        size *= 2;
    slots_.assign(size, 0);
    const auto add = [&](uint64_t at, uint32_t ref) {
        std::size_t end = at;
        for (std::size_t k = 0; k < groupColumns_.size(); ++k)
            skipScalar(keys_, end);
        addRef(hashOf(std::string_view(keys_).substr(at, end - at)), ref);
    };
    for (std::size_t s = 0; s < spellings_.size(); ++s)
        add(spellings_[s].at, static_cast<uint32_t>(s));
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        if (groups_[g].keyAt != spellings_[groups_[g].firstSpelling].at)
            add(groups_[g].keyAt, kGroupRef | static_cast<uint32_t>(g));
    }
}

void GroupedRows::addRef(uint32_t tag, uint32_t ref) {
    if (2 * (refs_ + 1) > slots_.size()) {
        std::vector<uint64_t> old = std::move(slots_);
        slots_.assign(std::max(kFewestSlots, 2 * old.size()), 0);
        for (const uint64_t slot : old) {
            if (slot != 0)
                addSlot(slot);
        }
    }
    addSlot((uint64_t{tag} << 32) | (uint64_t{ref} + 1));
    ++refs_;
}

void GroupedRows::addSlot(uint64_t slot) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = (slot >> 32) & mask;
    while (slots_[i] != 0)
        i = (i + 1) & mask;
    slots_[i] = slot;
}

void GroupedRows::keepRow(TableCursor& cursor, uint32_t spelling) {
    Group& g = groups_[spellings_[spelling].group];
    const uint64_t rowId = cursor.rowId();
    row_.clear();
    putNumber(row_, spelling);
    // Rows come in stored order, so a row id is mostly a small step on.
    putNumber(row_, rowId - g.lastRowId);
    g.lastRowId = rowId;
    for (const int column : keptColumns_)
        putScalar(row_, toSqlScalar(cursor.get(static_cast<std::size_t>(column)), scratch_));
    ++rows_;
    // Out of key order, a group with many rows goes on in chunks of its own,
    // which need no copying into place later.
    if (!inOrder_ && g.own == kNoOwn && g.bytes >= kOwnChunksFrom) {
        g.own = static_cast<uint32_t>(ownChunks_.size());
        ownChunks_.emplace_back();
    }
    if (g.own != kNoOwn) {
        appendRow(ownChunks_[g.own], kOwnChunkBytes);
    } else {
        appendRow(chunks_, kChunkBytes);
        g.bytes += row_.size();
    }
}

void GroupedRows::appendRow(std::vector<std::string>& chunks, std::size_t mostBytes) {
    if (chunks.empty() || chunks.back().size() + row_.size() > chunks.back().capacity()) {
        const std::size_t bytes =
            chunks.empty() ? kFirstChunkBytes : std::min(mostBytes, 2 * chunks.back().capacity());
        chunks.emplace_back().reserve(std::max(bytes, row_.size()));
    }
    chunks.back() += row_;
}

Status GroupedRows::collect(TableCursor& cursor, ScanFilter& filter) {
    cursor.rewind();
    while (cursor.next()) {
        if (!filter.admits(cursor))
            continue;
        for (std::size_t k = 0; k < groupColumns_.size(); ++k)
            key_[k] =
                toSqlScalar(cursor.get(static_cast<std::size_t>(groupColumns_[k])), keyScratch_[k]);
        if (!cursor.status().isOk())
            break;
        keepRow(cursor, spellingOf());
    }
    if (!cursor.status().isOk())
        return cursor.status();
    // Lookups end here: give their memory back before the rows are placed.
    slots_ = std::vector<uint64_t>();
    if (inOrder_) {
        for (std::string& chunk : chunks_)
            pieces_.push_back({&chunk, 0, chunk.size()});
    } else {
        placeRows();
    }
    groups_ = std::vector<Group>();
    at_ = 0;
    piece_ = 0;
    offset_ = pieces_.empty() ? 0 : pieces_.front().begin;
    spelling_ = kNoSpelling;
    if (!atEnd())
        readRow();
    return Status::ok();
}

void GroupedRows::spellingValues(uint32_t spelling, SqlScalar* out) const {
    std::size_t at = spellings_[spelling].at;
    for (std::size_t k = 0; k < groupColumns_.size(); ++k)
        out[k] = takeScalar(keys_, at);
}

std::vector<uint32_t> GroupedRows::groupsInKeyOrder() const {
    // Most comparisons end at the first column's prefix, read once here;
    // texts that all begin alike ("Company 1", "Company 2") are told apart
    // by the bytes after their common start.
    std::vector<SqlScalar> firsts(groups_.size());
    std::size_t common = SIZE_MAX;
    const SqlScalar* sample = nullptr;
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        std::size_t at = groups_[g].keyAt;
        firsts[g] = takeScalar(keys_, at);
        if (firsts[g].kind != SQLITE_TEXT && firsts[g].kind != SQLITE_BLOB)
            continue;
        if (!sample)
            sample = &firsts[g];
        const std::string_view a = sample->bytes, b = firsts[g].bytes;
        const std::size_t n = std::min({common, a.size(), b.size()});
        common = static_cast<std::size_t>(std::mismatch(a.begin(), a.begin() + n, b.begin()).first -
                                          a.begin());
    }
    struct Ranked {
        uint64_t prefix;
        uint64_t keyAt;
        uint32_t group;
    };
    std::vector<Ranked> ranked(groups_.size());
    for (std::size_t g = 0; g < groups_.size(); ++g)
        ranked[g] = {orderPrefix(firsts[g], sample ? common : 0), groups_[g].keyAt,
                     static_cast<uint32_t>(g)};
    firsts = std::vector<SqlScalar>();
    const std::string_view keys = keys_;
    const std::size_t width = groupColumns_.size();
    std::sort(ranked.begin(), ranked.end(), [&](const Ranked& x, const Ranked& y) {
        if (x.prefix != y.prefix)
            return x.prefix < y.prefix;
        return compareGroupKeys(keys.substr(x.keyAt), keys.substr(y.keyAt), width) < 0;
    });
    std::vector<uint32_t> order(ranked.size());
    for (std::size_t r = 0; r < ranked.size(); ++r)
        order[r] = ranked[r].group;
    return order;
}

std::size_t GroupedRows::rowEnd(std::string_view chunk, std::size_t at, uint32_t& spelling) const {
    spelling = static_cast<uint32_t>(takeNumber(chunk, at));
    takeNumber(chunk, at);
    for (std::size_t k = 0; k < keptColumns_.size(); ++k)
        skipScalar(chunk, at);
    return at;
}

void GroupedRows::placeRows() {
    // The rows of each group in the shared chunks go after those of the
    // groups before it, copied in one pass in stored order, so that they are
    // then read in order too; each chunk is given back once copied. A group
    // with chunks of its own goes on in them.
    std::vector<uint64_t> place(groups_.size());
    uint64_t bytes = 0;
    for (const uint32_t g : groupsInKeyOrder()) {
        place[g] = bytes;
        bytes += groups_[g].bytes;
        if (groups_[g].bytes > 0) {
            if (!pieces_.empty() && pieces_.back().store == &placed_ &&
                pieces_.back().end == place[g])
                pieces_.back().end = bytes;
            else
                pieces_.push_back({&placed_, place[g], bytes});
        }
        if (groups_[g].own != kNoOwn) {
            for (std::string& chunk : ownChunks_[groups_[g].own])
                pieces_.push_back({&chunk, 0, chunk.size()});
        }
    }
    placed_.resize(bytes);
    uint32_t spelling = 0;
    for (std::string& chunk : chunks_) {
        for (std::size_t at = 0, end = 0; at < chunk.size(); at = end) {
            end = rowEnd(chunk, at, spelling);
            uint64_t& to = place[spellings_[spelling].group];
            std::memcpy(placed_.data() + to, chunk.data() + at, end - at);
            to += end - at;
        }
        chunk = std::string();
    }
}

void GroupedRows::readRow() {
    const Piece& piece = pieces_[piece_];
    const std::string_view chunk = std::string_view(*piece.store).substr(0, piece.end);
    std::size_t at = offset_;
    const auto spelling = static_cast<uint32_t>(takeNumber(chunk, at));
    const uint64_t step = takeNumber(chunk, at);
    const bool sameGroup =
        spelling_ != kNoSpelling && spellings_[spelling].group == spellings_[spelling_].group;
    rowId_ = (sameGroup ? rowId_ : 0) + step;
    if (spelling != spelling_)
        spellingValues(spelling, key_.data());
    spelling_ = spelling;
    for (const int column : keptColumns_)
        values_[static_cast<std::size_t>(column)] = takeScalar(chunk, at);
    offset_ = at;
}

void GroupedRows::next() {
    if (atEnd())
        return;
    if (++at_ == rows_)
        return;
    if (offset_ >= pieces_[piece_].end) {
        if (pieces_[piece_].store != &placed_)
            *pieces_[piece_].store = std::string();  // read: give the memory back
        offset_ = pieces_[++piece_].begin;
    }
    readRow();
}

SqlScalar GroupedRows::value(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= values_.size())
        return {};
    if (const int k = keyIndex_[static_cast<std::size_t>(column)]; k >= 0)
        return key_[static_cast<std::size_t>(k)];
    return values_[static_cast<std::size_t>(column)];
}

}  // namespace jet::sql
